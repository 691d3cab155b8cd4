#include "RenderCycle.h"

#include "Denormals.h"

#include <algorithm>
#include <cmath>

namespace {

// Exactly `buffers` buffers, each with data for `frames` floats.
bool listCovers(const AudioBufferList* list, std::size_t buffers, AUAudioFrameCount frames) {
    if (!list || list->mNumberBuffers != buffers)
        return false;
    for (std::uint32_t k = 0; k < list->mNumberBuffers; ++k) {
        const AudioBuffer& buffer = list->mBuffers[k];
        if (!buffer.mData || buffer.mDataByteSize < std::uint64_t(frames) * sizeof(float))
            return false;
    }
    return true;
}

} // namespace

AUAudioUnitStatus checkRenderResourceFormats(double sampleRate, AUAudioChannelCount inputChannels,
                                             AUAudioChannelCount outputChannels,
                                             AUAudioFrameCount maximumFrames) {
    const bool rateOk = std::isfinite(sampleRate) && sampleRate >= RenderCycle::kMinSampleRate &&
                        sampleRate <= RenderCycle::kMaxSampleRate;
    auto channelsOk = [](AUAudioChannelCount n) {
        return n >= 1 && n <= RenderCycle::kMaxChannels;
    };
    if (!rateOk || !channelsOk(inputChannels) || !channelsOk(outputChannels) ||
        maximumFrames > RenderCycle::kMaxFramesLimit)
        return kAudioUnitErr_FormatNotSupported;
    return noErr;
}

RenderCycle::RenderCycle(DSPKernel& kernel, BufferedInputBus& inputBus, AUProcessHelper& helper)
    : kernel(kernel), inputBus(inputBus), helper(helper), requestedMaxFrames(kernel.maxFrames) {}

AUAudioUnitStatus
RenderCycle::allocateRenderResources(const std::shared_ptr<AVAudioFormat>& inputFormat,
                                     const std::shared_ptr<AVAudioFormat>& outputFormat,
                                     AUHostMusicalContextBlock musicalContextBlock) {
    if (!inputFormat || !outputFormat)
        return kAudioUnitErr_FormatNotSupported;
    const AUAudioChannelCount inputs = inputFormat->channelCount();
    const AUAudioChannelCount outputs = outputFormat->channelCount();
    const AUAudioUnitStatus status =
        checkRenderResourceFormats(outputFormat->sampleRate(), inputs, outputs, requestedMaxFrames);
    if (status != noErr ||
        checkRenderResourceFormats(inputFormat->sampleRate(), inputs, outputs, 0) != noErr)
        return kAudioUnitErr_FormatNotSupported;

    allocated.store(false, std::memory_order_release);
    kernel.maxFrames = requestedMaxFrames; // initialize sizes the block buffers
    inputBus.init(inputFormat, "Main");
    inputBus.allocateRenderResources(kernel.maxFrames);
    kernel.initialize(outputFormat->sampleRate());
    kernel.channelCount = std::max(inputs, outputs);
    kernel.allocateDelayLines();
    kernel.reset();
    kernel.buildModelProcessors();
    kernel.musicalContextBlock = std::move(musicalContextBlock);
    helper.inputChannelCount = inputs;
    helper.resizeInputBufferPointers(inputs);
    helper.resizeOutputBufferPointers(outputs);
    allocated.store(true, std::memory_order_release);
    return noErr;
}

void RenderCycle::deallocateRenderResources() {
    allocated.store(false, std::memory_order_release);
    kernel.deInitialize();
    kernel.musicalContextBlock = nullptr;
}

void RenderCycle::setMaximumFramesToRender(AUAudioFrameCount frames) {
    requestedMaxFrames = frames;
    // A count above the limit is only remembered: allocation refuses it, so sizing the
    // kernel's block buffers for it (up to 4 x 16 GB) would buy nothing.
    if (!renderResourcesAllocated() && frames <= kMaxFramesLimit) {
        kernel.maxFrames = frames;
        kernel.setMaxFramesToRender();
    }
}

AUAudioUnitStatus RenderCycle::render(AudioUnitRenderActionFlags* actionFlags,
                                      const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
                                      NSInteger outputBusNumber, AudioBufferList* outputData,
                                      const AURenderEvent* realtimeEventListHead,
                                      const AURenderPullInputBlock& pullInputBlock) {
    const ScopedDenormalFlush flushDenormals;
    if (!allocated.load(std::memory_order_acquire))
        return kAudioUnitErr_Uninitialized;
    if (frameCount > kernel.maxFrames)
        return kAudioUnitErr_TooManyFramesToProcess;
    if (!pullInputBlock)
        return kAudioUnitErr_NoConnection;

    inputBus.prepareInputBufferList(frameCount);
    AudioUnitRenderActionFlags pullFlags = 0;
    const AUAudioUnitStatus pulled =
        pullInputBlock(&pullFlags, timestamp, frameCount, 0, inputBus.mutableAudioBufferList);
    if (pulled != noErr)
        return pulled;

    if (!listCovers(outputData, helper.outputPointers.size(), frameCount) ||
        !listCovers(inputBus.mutableAudioBufferList, helper.inputChannelCount, frameCount))
        return kAudioUnitErr_InvalidProperty;

    helper.processWithEvents(inputBus.mutableAudioBufferList, outputData, timestamp, frameCount,
                             realtimeEventListHead);
    return noErr;
}

AUInternalRenderBlock RenderCycle::renderBlock() {
    return
        [this](AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp,
               AUAudioFrameCount frameCount, NSInteger outputBusNumber, AudioBufferList* outputData,
               const AURenderEvent* events, const AURenderPullInputBlock& pullInputBlock) {
            return render(actionFlags, timestamp, frameCount, outputBusNumber, outputData, events,
                          pullInputBlock);
        };
}
