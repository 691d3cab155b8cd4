#include "DSPKernel.h"
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

    // A peak equal to the hold starts the second again; a count that runs out exactly at
    // the end of a call drops the hold in that call.
    block[7] = 0.25f;
    meter.update(block.data(), 512);
    meter.update(block.data(), 100);
    block[7] = 0.0f;
    meter.update(block.data(), 100);
    EXPECT_EQ(meter.holdSamplesLeft, 44000);
    const std::vector<float> quiet(44000, 0.0f);
    meter.update(quiet.data(), 44000);
    EXPECT_EQ(meter.hold, 0.0f);
}

TEST(KernelMeters, EachMeterPublishesItsOwnLevelAndHold) {
    DSPKernel kernel;
    LevelMeter* meters[4] = {&kernel.inputLeftMeter, &kernel.inputRightMeter,
                             &kernel.outputLeftMeter, &kernel.outputRightMeter};
    for (int m = 0; m < 4; ++m) {
        meters[m]->level = 0.1f * float(m + 1);
        meters[m]->hold = 0.05f * float(m + 1);
    }
    kernel.publishMeters();
    const Relaxed<float>* levels[4] = {&kernel.inLevelDb[0], &kernel.inLevelDb[1],
                                       &kernel.outLevelDb[0], &kernel.outLevelDb[1]};
    const Relaxed<float>* holds[4] = {&kernel.inHoldDb[0], &kernel.inHoldDb[1],
                                      &kernel.outHoldDb[0], &kernel.outHoldDb[1]};
    for (int m = 0; m < 4; ++m) {
        EXPECT_NEAR(levels[m]->load(), 20 * std::log10(0.1f * float(m + 1)), 1e-4f) << m;
        EXPECT_NEAR(holds[m]->load(), 20 * std::log10(0.05f * float(m + 1)), 1e-4f) << m;
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
