#include "DSPKernel.h"
#include "KernelFixture.h"
#include "LevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(KernelMeters, HoldLastsOneSecondOfWholeCallsAndLevelFallsPerCall) {
    LevelMeter meter;
    std::vector<float> block(512, 0.0f);
    block[100] = -0.5f;
    meter.update(block.data(), 512);
    EXPECT_EQ(meter.level, 0.5f);
    EXPECT_EQ(meter.hold, 0.5f);
    EXPECT_EQ(meter.holdSamplesLeft, 44100);

    std::fill(block.begin(), block.end(), 0.0f);
    float expectedLevel = 0.5f;
    for (int call = 1; call <= 86; ++call) { // 86 * 512 = 44032 frames: still held
        meter.update(block.data(), 512);
        expectedLevel *= 0.9f;
        ASSERT_EQ(meter.hold, 0.5f) << call;
        ASSERT_FLOAT_EQ(meter.level, expectedLevel) << call;
    }
    EXPECT_EQ(meter.holdSamplesLeft, 68);
    meter.update(block.data(), 512); // the remaining 68 run out within this call
    EXPECT_EQ(meter.hold, 0.0f);
    EXPECT_EQ(meter.holdSamplesLeft, 0);

    meter.update(block.data(), 0); // an empty call is a peak of 0
    EXPECT_EQ(meter.hold, 0.0f);
}

TEST(KernelMeters, AnEqualPeakRenewsTheHoldWhichEndsInTheCallItRunsOutIn) {
    LevelMeter meter;
    std::vector<float> block(441, 0.0f);
    block[7] = 0.5f;
    meter.update(block.data(), 441);
    std::vector<float> quiet(441, 0.0f);
    for (int call = 0; call < 50; ++call)
        meter.update(quiet.data(), 441);
    meter.update(block.data(), 441); // as loud as the held peak: held for a second again
    EXPECT_EQ(meter.holdSamplesLeft, 44100);
    for (int call = 1; call < 100; ++call)
        meter.update(quiet.data(), 441);
    EXPECT_EQ(meter.hold, 0.5f);
    EXPECT_EQ(meter.holdSamplesLeft, 441);
    meter.update(quiet.data(), 441); // the last 441 frames of the second
    EXPECT_EQ(meter.hold, 0.0f);
}

// Left at -6 dB and right at -12 dB, through a 100 ms echo, then silence: each meter
// holds its own channel's peak while its level falls.
TEST(KernelMeters, EachChannelIsMeteredFromItsOwnInputAndOutput) {
    DSPKernel kernel;
    kerneltest::prepare(kernel, {});
    kerneltest::Channels in = kerneltest::silence(2, 20000);
    std::fill(in[0].begin(), in[0].begin() + 8820, 0.5f);
    std::fill(in[1].begin(), in[1].begin() + 8820, 0.25f);
    kerneltest::render(kernel, in, 2);
    kernel.publishMeters();
    const float left = -6.0206f, right = -12.0412f;
    for (const auto* held : {kernel.inHoldDb, kernel.outHoldDb}) {
        EXPECT_NEAR(held[0], left, 1e-3f);
        EXPECT_NEAR(held[1], right, 1e-3f);
    }
    for (const auto* level : {kernel.inLevelDb, kernel.outLevelDb}) {
        EXPECT_LT(level[0], left - 1);
        EXPECT_NEAR(level[0] - level[1], left - right, 1e-3f);
    }
}

TEST(KernelMeters, PublishedInDecibelsWithAFloorAndAFlag) {
    struct Case {
        float level, db;
    };
    const Case cases[] = {{1.0f, 0.0f},   {0.5f, -6.0206f},   {1e-5f, -60.0f},
                          {0.0f, -60.0f}, {2e-5f, -93.9794f}, {2.0f, 6.0206f}};
    for (const Case c : cases) {
        DSPKernel kernel;
        kernel.outputRightMeter.level = c.level;
        kernel.inputLeftMeter.hold = c.level;
        kernel.isStereo = false;
        EXPECT_EQ(kernel.metersUpdated.load(), 0u);
        kernel.publishMeters();
        EXPECT_NEAR(kernel.outLevelDb[1], c.db, 1e-3f) << c.level;
        EXPECT_NEAR(kernel.inHoldDb[0], c.db, 1e-3f) << c.level;
        EXPECT_EQ(kernel.inLevelDb[0], -60.0f);
        EXPECT_EQ(kernel.meterIsStereo, 0u);
        EXPECT_EQ(kernel.metersUpdated.exchange(0, std::memory_order_acquire), 1u);
    }
}

} // namespace
