// Nothing on the render path allocates once the processors are set up and loaded.
#include "TestSupport.h"

#include "Korvane/MultiModelProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Korvane {
namespace {

TEST(RenderPath, AllocatesNothingAfterSetUp) {
    const auto weights = testing::parse(testing::writeDocument(testing::randomArrays(2, 0.2f)));
    for (KernelPath path : testing::supportedPaths()) {
        for (double rate : {44100.0, 48000.0, 96000.0}) {
            SCOPED_TRACE(::testing::Message() << kernelPathName(path) << " " << rate);
            testing::ScopedKernelPath scoped(path);
            MultiModelProcessor bank(4, 1), partner(4, 1); // two channels, stepped as a pair
            for (MultiModelProcessor* b : {&bank, &partner}) {
                b->setupProcessing(rate, 512);
                for (int k = 0; k < 4; ++k)
                    b->loadModel(k, weights);
            }
            ModelProcessor stereo(2);
            stereo.setupProcessing(rate, 512);
            stereo.loadModel(weights);
            std::vector<float> left(512), right(512), outL(512), outR(512);
            for (int i = 0; i < 512; ++i) {
                left[std::size_t(i)] = 1.5f * std::sin(0.03f * float(i));
                right[std::size_t(i)] = 0.2f * std::cos(0.07f * float(i));
            }
            const float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {outL.data(), outR.data()};

            const long before = testing::allocations();
            int i = 0;
            float left0 = 0.0f, right0 = 0.0f;
            for (int model : {2, 0, 1, 3, 2, -1, 1}) {
                bank.setActiveModel(model, 300);
                partner.setActiveModel(model == 3 ? 0 : model, 300);
                for (int j = 0; j < 200; ++j, ++i) {
                    const float x = 0.8f * std::sin(0.01f * float(i));
                    MultiModelProcessor::processSamplePair(bank, x, partner, -x, left0, right0);
                    bank.processSample(x);
                }
                MultiModelProcessor::processBlockPair(bank, left.data(), partner, right.data(),
                                                      outL.data(), outR.data(),
                                                      MultiModelProcessor::kMaxBlock);
                bank.processBlock(right.data(), outR.data(), 17);
            }
            for (int frames : {1, 17, 512, 3})
                stereo.processStereo(inputs, outputs, frames);
            stereo.setEnabled(false);
            stereo.processStereo(inputs, outputs, 512);
            stereo.setEnabled(true);
            stereo.reset();
            stereo.processSample(0.5f);
            EXPECT_EQ(testing::allocations() - before, 0);
        }
    }
}

} // namespace
} // namespace Korvane
