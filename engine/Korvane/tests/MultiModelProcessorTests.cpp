// The bank of models: selection, crossfades, resumed fades and the fade-out list.
#include "TestSupport.h"

#include "Korvane/MultiModelProcessor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Korvane {
namespace {

constexpr float kIn = 0.5f; // loud enough that no gate closes, quiet enough for the guard

// Model k returns x + 0.1 (k + 1); with the input kIn its output is value(k).
float value(int k) {
    return kIn + 0.1f * float(k + 1);
}

std::shared_ptr<const ModelWeights> constantModel(int k) {
    testing::DocumentArrays a = testing::zeroArrays();
    a.outB = 0.1f * float(k + 1);
    return testing::parse(testing::writeDocument(a));
}

struct Bank {
    explicit Bank(int models) : bank(models, 1) {
        bank.setupProcessing(44100.0, 64);
        for (int k = 0; k < models; ++k)
            bank.loadModel(k, constantModel(k));
    }
    float run(int samples) {
        float out = 0.0f;
        for (int i = 0; i < samples; ++i)
            out = bank.processSample(kIn);
        return out;
    }
    MultiModelProcessor bank;
};

TEST(MultiModelProcessor, DryBeforeAnySelectionAndFullGainOnTheFirst) {
    Bank b(4);
    EXPECT_EQ(b.bank.processSample(0.3f), 0.3f);
    EXPECT_EQ(b.bank.processSample(-2.0f), -2.0f);
    b.bank.setActiveModel(2, 2048);
    EXPECT_EQ(b.bank.fadeInRemainingSamples(), 0);
    EXPECT_FLOAT_EQ(b.bank.processSample(kIn), value(2));
    EXPECT_EQ(b.bank.fadeOutCount(), 0);
    b.bank.setActiveModel(2, 2048); // the same model: nothing restarts
    EXPECT_EQ(b.bank.fadeOutCount(), 0);
}

TEST(MultiModelProcessor, CrossfadesLinearlyAndRetiresTheOldModel) {
    Bank b(4);
    b.bank.setActiveModel(0, 2048);
    b.run(10);
    b.bank.setActiveModel(1, 2048);
    ASSERT_EQ(b.bank.fadeOutCount(), 1);
    for (int i = 0; i < 2048; ++i) {
        const float t = float(i) / 2048.0f;
        ASSERT_NEAR(b.bank.processSample(kIn), value(0) * (1 - t) + value(1) * t, 1e-6f) << i;
    }
    EXPECT_EQ(b.bank.fadeOutCount(), 0);
    EXPECT_FALSE(b.bank.processor(0).isEnabled());
    EXPECT_TRUE(b.bank.processor(1).isEnabled());
    EXPECT_FLOAT_EQ(b.bank.processSample(kIn), value(1));
}

TEST(MultiModelProcessor, SwitchingBackResumesTheFadingModelWithoutReset) {
    // Model 0 has recurrent state; a shadow processor with the same weights that is never
    // reset shows what model 0 must still produce after the round trip.
    const auto weights = testing::parse(testing::writeDocument(testing::randomArrays(21, 0.2f)));
    MultiModelProcessor bank(2, 1);
    bank.setupProcessing(44100.0, 64);
    bank.loadModel(0, weights);
    bank.loadModel(1, constantModel(1));
    ModelProcessor shadow(1);
    shadow.setupProcessing(44100.0, 64);
    shadow.loadModel(weights);
    const auto input = [](int i) { return 0.5f + 0.3f * std::sin(0.01f * float(i)); };
    int i = 0;
    bank.setActiveModel(0, 2048);
    for (; i < 3000; ++i)
        EXPECT_EQ(bank.processSample(input(i)), shadow.processSample(input(i)));
    bank.setActiveModel(1, 2048);
    for (int j = 0; j < 1024; ++j, ++i) {
        bank.processSample(input(i));
        shadow.processSample(input(i));
    }
    bank.setActiveModel(0, 2048);
    EXPECT_EQ(bank.fadeInRemainingSamples(), 1024);
    ASSERT_EQ(bank.fadeOutCount(), 1);
    EXPECT_EQ(bank.fadeOutModel(0), 1);
    for (int j = 0; j < 1024; ++j, ++i) {
        const float x = input(i);
        const float g0 = 1.0f - float(1024 - j) / 2048.0f;
        const float g1 = 0.5f * float(2048 - j) / 2048.0f;
        ASSERT_NEAR(bank.processSample(x), shadow.processSample(x) * g0 + (x + 0.2f) * g1, 2e-6f)
            << j;
    }
}

TEST(MultiModelProcessor, AFifthOverlappingSwitchReplacesTheQuietestFade) {
    Bank b(6);
    b.bank.setActiveModel(0, 2048);
    for (int k = 1; k <= 4; ++k) {
        b.bank.setActiveModel(k, 2048);
        b.run(100);
    }
    ASSERT_EQ(b.bank.fadeOutCount(), 4); // models 0 1 2 3; model 1 is the quietest
    b.bank.setActiveModel(5, 2048);
    EXPECT_EQ(b.bank.fadeOutCount(), 4);
    EXPECT_EQ(b.bank.fadeOutModel(1), 4);
    EXPECT_FALSE(b.bank.processor(1).isEnabled()); // stopped at once
    float expected = 0.0f;                         // the new model starts at gain 0
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(b.bank.fadeOutModel(i), 1);
        expected += b.bank.fadeOutGain(i) * value(b.bank.fadeOutModel(i));
    }
    EXPECT_NEAR(b.bank.processSample(kIn), expected, 1e-6f);
}

TEST(MultiModelProcessor, OfTwoEquallyQuietFadesTheFirstIsReplaced) {
    Bank b(6);
    b.bank.setActiveModel(0, 2048);
    b.bank.setActiveModel(1, 2048);
    b.run(1024);
    b.bank.setActiveModel(2, 1024); // model 0 at 1024 of 2048, model 1 at 0.5: both fall
    b.run(512);                     // by 1/2048 a sample from here
    b.bank.setActiveModel(3, 1024);
    b.run(300);
    b.bank.setActiveModel(4, 1024);
    b.run(200);
    ASSERT_EQ(b.bank.fadeOutCount(), 4); // models 0 to 3, the first two equally quiet
    ASSERT_EQ(b.bank.fadeOutGain(0), b.bank.fadeOutGain(1));
    b.bank.setActiveModel(5, 1024);
    EXPECT_EQ(b.bank.fadeOutModel(0), 4);
    EXPECT_EQ(b.bank.fadeOutModel(1), 1);
    EXPECT_FALSE(b.bank.processor(0).isEnabled());
    EXPECT_TRUE(b.bank.processor(1).isEnabled());
}

TEST(MultiModelProcessor, AResumedFadeInStartsFromTheRoundedFadingGain) {
    Bank b(2);
    b.bank.setActiveModel(0, 2048);
    b.bank.setActiveModel(1, 2048);
    b.run(700); // model 0 fades at 1348 / 2048
    b.bank.setActiveModel(0, 1000);
    EXPECT_EQ(b.bank.fadeInRemainingSamples(), 342); // 700 / 2048 of 1000 is 341.8
}

TEST(MultiModelProcessor, AModelLeftBeforeItWasAudibleDoesNotFade) {
    Bank b(3);
    b.bank.setActiveModel(0, 2048);
    b.bank.setActiveModel(1, 2048);
    b.bank.setActiveModel(2, 2048); // model 1 still at gain 0
    ASSERT_EQ(b.bank.fadeOutCount(), 1);
    EXPECT_EQ(b.bank.fadeOutModel(0), 0);
    EXPECT_FALSE(b.bank.processor(1).isEnabled());
}

TEST(MultiModelProcessor, NoModelFadesOutThenPlaysDry) {
    Bank b(2);
    b.bank.setActiveModel(0, 2048);
    b.run(5);
    b.bank.setActiveModel(-1, 100);
    for (int i = 0; i < 100; ++i)
        ASSERT_NEAR(b.bank.processSample(kIn), value(0) * float(100 - i) / 100.0f, 1e-6f) << i;
    EXPECT_EQ(b.bank.fadeOutCount(), 0);
    EXPECT_EQ(b.bank.processSample(0.3f), 0.3f);
    b.bank.setActiveModel(7, 100); // not a model: also dry
    EXPECT_EQ(b.bank.processSample(0.3f), 0.3f);
}

TEST(MultiModelProcessor, FadesOfZeroAndOneSwitchWithinOneSample) {
    struct Case {
        int fade;
        float first, second; // the two samples after the switch
    };
    // Fade 1: one sample of the old model, then the new. Fade 0: the new model at once,
    // never both at full gain together.
    for (const Case& c : {Case{1, value(0), value(1)}, Case{0, value(1), value(1)}}) {
        SCOPED_TRACE(c.fade);
        Bank b(2);
        b.bank.setActiveModel(0, 2048);
        b.run(3);
        b.bank.setActiveModel(1, c.fade);
        EXPECT_FLOAT_EQ(b.bank.processSample(kIn), c.first);
        EXPECT_FLOAT_EQ(b.bank.processSample(kIn), c.second);
        EXPECT_EQ(b.bank.fadeOutCount(), 0);
        EXPECT_FALSE(b.bank.processor(0).isEnabled());
    }
}

// Two banks (a stereo kernel's channels) stepped in pairs through crossfades, on every
// kernel path: each channel follows its own double-precision networks mixed with the
// fade gains, and matches bit for bit what its bank gives stepped alone. Model 2 is
// selected in one bank only for a while, so the banks also play different models side
// by side.
class StereoBanksOnPath : public ::testing::TestWithParam<KernelPath> {
  protected:
    testing::ScopedKernelPath path{GetParam()};
};

TEST_P(StereoBanksOnPath, CrossfadesInPairsFollowTheDoublePrecisionNetworks) {
    constexpr int kModels = 3, kFade = 300, kLength = 2400;
    std::vector<testing::DocumentArrays> arrays;
    std::vector<std::shared_ptr<const ModelWeights>> weights;
    for (int k = 0; k < kModels; ++k) {
        arrays.push_back(testing::randomArrays(30 + unsigned(k), 0.25f));
        weights.push_back(testing::parse(testing::writeDocument(arrays.back())));
    }
    // Left and right of a pair, and two single banks that see the same calls.
    MultiModelProcessor left(kModels, 1), right(kModels, 1), aloneLeft(kModels, 1),
        aloneRight(kModels, 1);
    for (MultiModelProcessor* bank : {&left, &right, &aloneLeft, &aloneRight}) {
        bank->setupProcessing(44100.0, 64);
        for (int k = 0; k < kModels; ++k)
            bank->loadModel(k, weights[std::size_t(k)]);
    }
    // Per channel and model, a double-precision network that runs while the model is
    // heard (a model that starts over is reset, as the bank resets it).
    std::vector<testing::DoubleNetwork> reference[2];
    for (auto& channel : reference)
        for (int k = 0; k < kModels; ++k)
            channel.emplace_back(arrays[std::size_t(k)]);

    struct Switch {
        int at, leftModel, rightModel;
    };
    const Switch switches[] = {{0, 0, 0}, {500, 1, 1}, {650, 0, 0}, {1200, 2, 1}, {1700, 1, 2}};
    double worst = 0.0;
    for (int i = 0; i < kLength; ++i) {
        for (const Switch& s : switches) {
            if (s.at != i)
                continue;
            left.setActiveModel(s.leftModel, kFade);
            aloneLeft.setActiveModel(s.leftModel, kFade);
            right.setActiveModel(s.rightModel, kFade);
            aloneRight.setActiveModel(s.rightModel, kFade);
        }
        // Expected: sum over heard models of gain * (x + net(x)), the gain before this
        // sample's step; a model that becomes active afresh (not resumed) starts from rest.
        // Inputs that never come near 0, so no processor's gate (which starts closed
        // after a reset) attenuates beyond its first sample's rise.
        const float x[2] = {0.5f + 0.2f * std::sin(0.03f * float(i)),
                            -0.45f - 0.15f * std::sin(0.071f * float(i))};
        MultiModelProcessor* banks[2] = {&left, &right};
        double expected[2] = {0.0, 0.0};
        for (int c = 0; c < 2; ++c) {
            const MultiModelProcessor& bank = *banks[c];
            const auto heard = [&](int model, double gain) {
                expected[c] += gain * (x[c] + reference[c][std::size_t(model)].step(x[c]));
            };
            if (bank.activeModel() >= 0) {
                const int length = kFade;
                heard(bank.activeModel(),
                      1.0 - double(bank.fadeInRemainingSamples()) / double(length));
            }
            for (int f = 0; f < bank.fadeOutCount(); ++f)
                heard(bank.fadeOutModel(f), bank.fadeOutGain(f));
        }
        float yl, yr;
        MultiModelProcessor::processSamplePair(left, x[0], right, x[1], yl, yr);
        ASSERT_EQ(yl, aloneLeft.processSample(x[0])) << i;
        ASSERT_EQ(yr, aloneRight.processSample(x[1])) << i;
        worst = std::max({worst, std::fabs(yl - expected[0]), std::fabs(yr - expected[1])});
        // A model no longer heard in a channel starts from rest when it comes back.
        for (int c = 0; c < 2; ++c) {
            const MultiModelProcessor& bank = *banks[c];
            for (int k = 0; k < kModels; ++k) {
                bool playing = bank.activeModel() == k;
                for (int f = 0; f < bank.fadeOutCount(); ++f)
                    playing = playing || bank.fadeOutModel(f) == k;
                if (!playing)
                    reference[c][std::size_t(k)] = testing::DoubleNetwork(arrays[std::size_t(k)]);
            }
        }
    }
    EXPECT_LT(worst, 5e-5);
}

// Banks run in blocks of ragged sizes (each model through all its samples in turn)
// give bit for bit what they give sample by sample: through crossfades whose fades end
// inside a block, three models fading out at once, a bank playing dry, and the two
// banks of a pair playing different models; for a pair and for a bank alone.
TEST_P(StereoBanksOnPath, BlocksGiveWhatSampleBySampleGives) {
    constexpr int kModels = 4, kLength = 3000;
    std::vector<std::shared_ptr<const ModelWeights>> weights;
    for (int k = 0; k < kModels; ++k)
        weights.push_back(
            testing::parse(testing::writeDocument(testing::randomArrays(40 + unsigned(k), 0.25f))));
    // In blocks: left and right as a pair, solo alone; sample by sample: the rest.
    MultiModelProcessor left(kModels, 1), right(kModels, 1), solo(kModels, 1),
        leftBySample(kModels, 1), rightBySample(kModels, 1), soloBySample(kModels, 1);
    MultiModelProcessor* const lefts[] = {&left, &solo, &leftBySample, &soloBySample};
    MultiModelProcessor* const rights[] = {&right, &rightBySample};
    for (MultiModelProcessor* bank :
         {&left, &right, &solo, &leftBySample, &rightBySample, &soloBySample}) {
        bank->setupProcessing(48000.0, 64);
        for (int k = 0; k < kModels; ++k)
            bank->loadModel(k, weights[std::size_t(k)]);
    }
    struct Switch {
        int at, leftModel, rightModel, fade;
    };
    const Switch switches[] = {{0, 0, 0, 0},     {300, 1, 1, 90},  {340, 2, 2, 90},
                               {370, 3, 1, 90},  {900, 0, 3, 200}, {1400, -1, 2, 50},
                               {1800, 2, 2, 61}, {1830, 0, 0, 61}, {2500, 1, 3, 1}};
    const int sizes[] = {64, 1, 13, 64, 40, 7, 64, 3, 29, 64};
    std::vector<float> xl(kLength), xr(kLength);
    for (int i = 0; i < kLength; ++i) {
        xl[std::size_t(i)] = 0.5f + 0.2f * std::sin(0.03f * float(i));
        xr[std::size_t(i)] = -0.45f - 0.15f * std::sin(0.071f * float(i));
    }
    int done = 0;
    for (int b = 0; done < kLength; ++b) {
        int frames =
            std::min({sizes[b % std::size(sizes)], kLength - done, MultiModelProcessor::kMaxBlock});
        for (const Switch& s : switches) {
            if (s.at == done) {
                for (MultiModelProcessor* bank : lefts)
                    bank->setActiveModel(s.leftModel, s.fade);
                for (MultiModelProcessor* bank : rights)
                    bank->setActiveModel(s.rightModel, s.fade);
            } else if (s.at > done && s.at < done + frames) {
                frames = s.at - done; // every switch falls on a block's start
            }
        }
        float yl[MultiModelProcessor::kMaxBlock], yr[MultiModelProcessor::kMaxBlock],
            ys[MultiModelProcessor::kMaxBlock];
        MultiModelProcessor::processBlockPair(left, &xl[std::size_t(done)], right,
                                              &xr[std::size_t(done)], yl, yr, frames);
        solo.processBlock(&xl[std::size_t(done)], ys, frames);
        for (int i = 0; i < frames; ++i) {
            const float x0 = xl[std::size_t(done + i)], x1 = xr[std::size_t(done + i)];
            ASSERT_EQ(yl[i], leftBySample.processSample(x0)) << done + i;
            ASSERT_EQ(yr[i], rightBySample.processSample(x1)) << done + i;
            ASSERT_EQ(ys[i], soloBySample.processSample(x0)) << done + i;
        }
        done += frames;
        ASSERT_EQ(left.fadeOutCount(), leftBySample.fadeOutCount()) << done;
        ASSERT_EQ(right.fadeOutCount(), rightBySample.fadeOutCount()) << done;
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, StereoBanksOnPath, ::testing::ValuesIn(testing::supportedPaths()),
                         [](const auto& info) { return kernelPathName(info.param); });

} // namespace
} // namespace Korvane
