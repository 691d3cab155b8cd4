// The bank of models: selection, crossfades, resumed fades and the fade-out list.
#include "TestSupport.h"

#include "Korvane/MultiModelProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
} // namespace Korvane
