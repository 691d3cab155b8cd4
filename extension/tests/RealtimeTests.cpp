// The unit's render path, with scheduled events, their echo and a model switch,
// allocates nothing once render resources are allocated; no maximum block size a
// host sets makes the unit allocate without bound.
#include "EffectFixture.h"

#include "AllocationCounting.h"

#include <cmath>

using AllocationCounting::allocations;
using AllocationCounting::counting;
using AllocationCounting::sizeLimit;

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

// A maximum the unit can render is sized at once; one above what allocation takes is
// remembered and refused there, without sizing anything for it first. One allocation
// of more than 1 MB throws here, so a unit that sized its buffers for the count would
// fail this test instead of exhausting the machine.
TEST_F(RealtimeTest, AMaximumBeyondTheLimitIsRefusedWithoutAllocatingForIt) {
    struct Case {
        const char* what;
        AUAudioFrameCount frames;
        std::size_t blockBuffer; // the kernel's per-frame buffers afterwards
        bool allocates;
    };
    const Case cases[] = {
        {"the largest block", 16384, 16384, true},
        {"one frame more", 16385, 4096, false},
        {"the largest count there is", 0xFFFFFFFFu, 4096, false},
        {"a million", 1u << 20, 4096, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unit->setMaximumFramesToRender(4096);
        sizeLimit = std::size_t{1} << 20;
        EXPECT_NO_THROW(unit->setMaximumFramesToRender(c.frames));
        sizeLimit = ~std::size_t{0};
        EXPECT_EQ(unit->maximumFramesToRender(), c.frames);
        EXPECT_EQ(unit->dspKernel().inputLeftBuffer.size(), c.blockBuffer);
        EXPECT_EQ(unit->dspKernel().outputRightBuffer.size(), c.blockBuffer);

        std::optional<AUError> error = unit->allocateRenderResources();
        EXPECT_EQ(!error, c.allocates);
        if (error) {
            EXPECT_EQ(error->code, kAudioUnitErr_FormatNotSupported);
            EXPECT_FALSE(unit->renderResourcesAllocated());
            continue;
        }
        BlockRenderer renderer(*unit, 2, c.frames + 1);
        EXPECT_EQ(renderer.render(c.frames), noErr);
        EXPECT_EQ(renderer.render(c.frames + 1), kAudioUnitErr_TooManyFramesToProcess);
        unit->deallocateRenderResources();
    }
}

} // namespace
