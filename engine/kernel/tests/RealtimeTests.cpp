// Proves the render path allocates nothing: every operator new of this test
// binary is counted while `counting` is set.
#include "RenderUnit.h"

#include <gtest/gtest.h>

#include "AllocationCounting.h"

using AllocationCounting::allocations;
using AllocationCounting::counting;

using namespace kerneltest;

namespace {

TEST(RenderRealtime, CyclesWithEventsModelSwitchesAndBypassAllocateNothing) {
    RenderUnit unit;
    ASSERT_EQ(unit.allocate({{DSPKernel::delayTypeAddress, 0},
                             {DSPKernel::feedbackAddress, 90},
                             {DSPKernel::modDepthAddress, 20},
                             {DSPKernel::lfoTypeAddress, 3},
                             {DSPKernel::lowCutAddress, 300},
                             {DSPKernel::highCutAddress, 3000},
                             {DSPKernel::dirtAddress, 40}},
                            2, 2, 512,
                            [](double* tempo, double*, NSInteger*, double*, NSInteger*, double*) {
                                *tempo = 97;
                                return true;
                            }),
              noErr);
    int echoes = 0;
    unit.kernel.parameterCallbackContext = &echoes;
    unit.kernel.parameterCallback = [](void* context, AUParameterAddress, AUValue) {
        ++*static_cast<int*>(context);
    };
    Host host(2, 512 * 64);
    for (std::size_t i = 0; i < host.signal[0].size(); ++i)
        host.signal[0][i] = host.signal[1][i] = (i % 300 == 0) ? 0.5f : 0.0f;
    OwnedAudioBufferList out(2, 512);
    std::vector<AURenderEvent> events(4);

    counting = true;
    for (int cycle = 0; cycle < 64; ++cycle) {
        const auto now = AUEventSampleTime(host.sampleTime);
        events[0] = parameterEvent(now, DSPKernel::modelAddress, float(cycle % 4));
        events[1] = parameterEvent(now + 100, DSPKernel::delayNoteAddress, float(cycle % 15));
        events[2] =
            parameterEvent(now + 200, DSPKernel::mixAddress, 30, AURenderEventParameterRamp);
        events[3] = parameterEvent(now + 300, DSPKernel::lfoTypeAddress, float(cycle % 4));
        link(events);
        unit.kernel.setParameter(DSPKernel::modelAddress, float((cycle + 1) % 5)); // main thread
        unit.kernel.bypass = cycle % 16 == 15;
        ASSERT_EQ(host.render(unit, out.get(), cycle % 3 == 0 ? 512 : 301, events.data()), noErr);
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(echoes, 64 * 3);
    EXPECT_EQ(unit.kernel.model, 3); // the last cycle's first event

    counting = true; // the counter sees what the render path would have allocated
    auto* probe = new int(1);
    counting = false;
    delete probe;
    EXPECT_EQ(allocations.load(), 1);
}

} // namespace
