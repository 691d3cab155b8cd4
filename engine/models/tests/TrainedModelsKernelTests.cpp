// The trained models inside the delay kernel: a runaway at 150 % feedback stays finite
// and bounded.
#include "DSPKernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

TEST(TrainedModelsInTheKernel, ARunawayAt150PercentFeedbackStaysFiniteAndBounded) {
    constexpr int kRate = 44100;
    constexpr std::uint32_t kBlock = 512;
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    std::vector<float> input(kRate * 4, 0.0f);
    std::generate_n(input.begin(), kRate / 10, [&] { return noise(rng); });
    for (int model = 0; model < DSPKernel::kModelCount; ++model) {
        SCOPED_TRACE(model);
        auto kernel = std::make_unique<DSPKernel>();
        for (auto [address, value] : {std::pair{DSPKernel::delayTypeAddress, 1.0f},
                                      {DSPKernel::delayMsAddress, 50.0f},
                                      {DSPKernel::mixAddress, 50.0f},
                                      {DSPKernel::feedbackAddress, 150.0f},
                                      {DSPKernel::modelAddress, float(model)}})
            kernel->setParameter(address, value);
        kernel->channelCount = 1;
        kernel->initialize(kRate);
        std::vector<float> output(input.size());
        float peak = 0.0f;
        bool finite = true;
        for (std::size_t done = 0; done < input.size(); done += kBlock) {
            const float* in[] = {input.data() + done};
            float* out[] = {output.data() + done};
            const auto frames = std::uint32_t(std::min<std::size_t>(kBlock, input.size() - done));
            kernel->process(in, 1, out, 1, frames);
            for (std::uint32_t i = 0; i < frames; ++i) {
                finite = finite && std::isfinite(out[0][i]);
                if (done > std::size_t(kRate) * 3)
                    peak = std::max(peak, std::fabs(out[0][i]));
            }
        }
        EXPECT_TRUE(finite);
        EXPECT_LT(peak, DSPKernel::kLineLimit);
        for (float s : kernel->delayLines[0])
            ASSERT_LE(std::fabs(s), DSPKernel::kLineLimit);
    }
}

} // namespace
