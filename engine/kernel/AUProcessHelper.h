#pragma once
// Cuts one render cycle into stretches at the sample times of the host's render
// events, applies plain parameter events to the kernel at their sample and runs
// the kernel on each stretch. The resize calls: main thread while nothing renders;
// processWithEvents: render thread, real-time safe.

#include "BufferedInputBus.h"
#include "DSPKernel.h"

#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderEvents.h"

#include <cstddef>
#include <vector>

class AUProcessHelper {
  public:
    AUProcessHelper(DSPKernel& kernel, BufferedInputBus& inputBus)
        : kernel(kernel), inputBus(inputBus) {}

    void resizeInputBufferPointers(std::size_t count) { inputPointers.resize(count, nullptr); }
    void resizeOutputBufferPointers(std::size_t count) { outputPointers.resize(count, nullptr); }

    // Renders `frames` frames from inBufferList into outBufferList. An event at or
    // before the cycle's start applies before the first frame; one at or past its
    // end applies after the last frame.
    void processWithEvents(const AudioBufferList* inBufferList, AudioBufferList* outBufferList,
                           const AudioTimeStamp* timestamp, AUAudioFrameCount frames,
                           const AURenderEvent* events);

    DSPKernel& kernel;
    BufferedInputBus& inputBus;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
    std::uint32_t inputChannelCount = 0;

  private:
    // Applies `first` and every next event stamped at or before `now` (all of them
    // when `all`); returns the first event not applied.
    const AURenderEvent* handleEvents(AUEventSampleTime now, const AURenderEvent* first, bool all);
    void pointAt(const AudioBufferList* in, AudioBufferList* out, AUAudioFrameCount offset);
    void processSegment(AUAudioFrameCount frames);

    std::uint32_t pointedInputs = 0;
    std::uint32_t pointedOutputs = 0;
};
