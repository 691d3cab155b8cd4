// The unit's render path, with scheduled events, their echo and a model switch,
// allocates nothing once render resources are allocated.
#include "EffectFixture.h"

#include "AllocationCounting.h"

#include <cmath>

using AllocationCounting::allocations;
using AllocationCounting::counting;

namespace {

using RealtimeTest = EffectFixture;

TEST_F(RealtimeTest, RenderingWithEventsAllocatesNothing) {
    allocate(48000, 2, 512);
    BlockRenderer renderer(*unit, 2, 512);
    renderer.input.assign(2, std::vector<float>(48000, 0.25f));
    auto schedule = unit->scheduleParameterBlock();
    ASSERT_EQ(renderer.render(512), noErr); // warm-up outside the window

    counting = true;
    AUAudioUnitStatus worst = noErr;
    for (int cycle = 0; cycle < 40; ++cycle) {
        const auto start = static_cast<AUEventSampleTime>(renderer.sampleTime);
        schedule(start + 17, 0, ParameterAddress::feedback, float(cycle % 100));
        schedule(start + 300, 0, ParameterAddress::delayMs, 100.0f + float(cycle));
        schedule(start + 100, 64, ParameterAddress::mix, 50.0f); // a ramp: skipped
        if (cycle % 10 == 5)
            schedule(start, 0, ParameterAddress::model, float((cycle / 10) % 4));
        const AUAudioUnitStatus status = renderer.render(cycle % 2 ? 512 : 333);
        if (status != noErr)
            worst = status;
    }
    counting = false;
    EXPECT_EQ(worst, noErr);
    EXPECT_EQ(allocations.load(), 0);
    for (std::uint32_t c = 0; c < 2; ++c)
        for (int i = 0; i < 512; ++i)
            ASSERT_TRUE(std::isfinite(renderer.output(c)[i]));
}

} // namespace
