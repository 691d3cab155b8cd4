#pragma once
// The body of the unit's render block and the render-resource life cycle around
// it: the checks that refuse a cycle (in order: not allocated, too many frames,
// no pull block, the pull's own error, a bad buffer list), the pull of the input
// and the event-split rendering of the kernel.
//
// The audio unit owns the kernel, the input bus and the process helper; this
// object refers to them. allocate / deallocate / setMaximumFramesToRender: main
// thread, never while a render call runs. render: render thread, real-time safe.

#include "AUProcessHelper.h"
#include "BufferedInputBus.h"
#include "DSPKernel.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "AudioToolbox/AudioTypes.h"
#include "AudioToolbox/RenderBlocks.h"

#include <atomic>
#include <memory>

// What render-resource allocation accepts: 8 kHz...384 kHz, 1...8 channels on each
// side and at most 16384 frames per cycle; kAudioUnitErr_FormatNotSupported else.
AUAudioUnitStatus checkRenderResourceFormats(double sampleRate, AUAudioChannelCount inputChannels,
                                             AUAudioChannelCount outputChannels,
                                             AUAudioFrameCount maximumFrames);

class RenderCycle {
  public:
    static constexpr double kMinSampleRate = 8000.0;
    static constexpr double kMaxSampleRate = 384000.0;
    static constexpr AUAudioChannelCount kMaxChannels = DSPKernel::kMaxChannels;
    static constexpr AUAudioFrameCount kMaxFramesLimit = 16384;

    RenderCycle(DSPKernel& kernel, BufferedInputBus& inputBus, AUProcessHelper& helper);

    // Main thread. Checks the formats, then sets up the input bus, the kernel (rate
    // of the output, channels of the wider side, models), the host's musical
    // context and the helper's pointer lists. Nothing changes when refused.
    AUAudioUnitStatus allocateRenderResources(const std::shared_ptr<AVAudioFormat>& inputFormat,
                                              const std::shared_ptr<AVAudioFormat>& outputFormat,
                                              AUHostMusicalContextBlock musicalContextBlock);
    void deallocateRenderResources();
    bool renderResourcesAllocated() const { return allocated.load(std::memory_order_acquire); }

    // Main thread. Applies at once while not allocated, else at the next allocation
    // (the render path's buffers are never resized under it). A count above
    // kMaxFramesLimit sizes nothing: it is answered by maximumFramesToRender and
    // refused by the next allocation.
    void setMaximumFramesToRender(AUAudioFrameCount frames);
    AUAudioFrameCount maximumFramesToRender() const { return requestedMaxFrames; }

    // Render thread, real-time safe: one cycle (flush-to-zero on for its duration).
    AUAudioUnitStatus render(AudioUnitRenderActionFlags* actionFlags,
                             const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                             NSInteger outputBusNumber, AudioBufferList* outputData,
                             const AURenderEvent* realtimeEventListHead,
                             const AURenderPullInputBlock& pullInputBlock);

    // Main thread: a render block that calls render on this object (which must
    // outlive it). Calling it allocates nothing.
    AUInternalRenderBlock renderBlock();

  private:
    DSPKernel& kernel;
    BufferedInputBus& inputBus;
    AUProcessHelper& helper;
    AUAudioFrameCount requestedMaxFrames;
    std::atomic<bool> allocated{false};
};
