#pragma once
// What the audio unit holds for rendering, put together for the render tests:
// the kernel, the input bus, the process helper and the render cycle, allocated
// with identity models, plus a host side (a pull block serving a signal, an output
// list and a chain of render events).

#include "KernelFixture.h"
#include "RenderCycle.h"

#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderEvents.h"

#include <vector>

namespace kerneltest {

struct RenderUnit {
    DSPKernel kernel;
    BufferedInputBus inputBus;
    AUProcessHelper helper{kernel, inputBus};
    RenderCycle cycle{kernel, inputBus, helper};
    AUInternalRenderBlock block = cycle.renderBlock(); // what the host calls

    // Configures the kernel, then allocates in/out channels at 44.1 kHz.
    AUAudioUnitStatus allocate(Parameters parameters, AUAudioChannelCount inputs = 2,
                               AUAudioChannelCount outputs = 2, AUAudioFrameCount maxFrames = 512,
                               AUHostMusicalContextBlock context = {});
};

// The host: its input signal (one vector per channel), served by pull().
struct Host {
    explicit Host(AUAudioChannelCount channels, std::size_t frames, float value = 0.25f);
    Host(const Host&) = delete; // the pull block refers to this object
    Host& operator=(const Host&) = delete;
    AURenderPullInputBlock pull();
    AUAudioUnitStatus render(RenderUnit& unit, AudioBufferList* output, AUAudioFrameCount frames,
                             const AURenderEvent* events = nullptr);

    Channels signal;
    double sampleTime = 0;
    AUAudioUnitStatus pullResult = noErr;
    AURenderPullInputBlock block; // pull(), made once
};

// A parameter event (or another type) for a chain; link with `next`.
AURenderEvent parameterEvent(AUEventSampleTime at, AUParameterAddress address, float value,
                             AURenderEventType type = AURenderEventParameter);
void link(std::vector<AURenderEvent>& events);

} // namespace kerneltest
