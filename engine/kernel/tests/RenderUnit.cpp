#include "RenderUnit.h"

#include <algorithm>
#include <cstring>

namespace kerneltest {

AUAudioUnitStatus RenderUnit::allocate(Parameters parameters, AUAudioChannelCount inputs,
                                       AUAudioChannelCount outputs, AUAudioFrameCount maxFrames,
                                       AUHostMusicalContextBlock context) {
    configure(kernel, parameters);
    kernel.setModelWeights(identityModels());
    cycle.setMaximumFramesToRender(maxFrames);
    return cycle.allocateRenderResources(AVAudioFormat::standardFormat(44100, inputs),
                                         AVAudioFormat::standardFormat(44100, outputs),
                                         std::move(context));
}

Host::Host(AUAudioChannelCount channels, std::size_t frames, float value)
    : signal(silence(channels, frames)) {
    for (auto& channel : signal)
        std::fill(channel.begin(), channel.end(), value);
    block = pull();
}

AURenderPullInputBlock Host::pull() {
    return [this](AudioUnitRenderActionFlags*, const AudioTimeStamp* timestamp,
                  AUAudioFrameCount frames, NSInteger,
                  AudioBufferList* input) -> AUAudioUnitStatus {
        if (pullResult != noErr)
            return pullResult;
        const auto start = std::size_t(timestamp->mSampleTime);
        for (std::uint32_t c = 0; c < input->mNumberBuffers && c < signal.size(); ++c)
            std::memcpy(input->mBuffers[c].mData, signal[c].data() + start, frames * sizeof(float));
        return noErr;
    };
}

AUAudioUnitStatus Host::render(RenderUnit& unit, AudioBufferList* output, AUAudioFrameCount frames,
                               const AURenderEvent* events) {
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp timestamp;
    timestamp.mSampleTime = sampleTime;
    timestamp.mFlags = kAudioTimeStampSampleTimeValid;
    const AUAudioUnitStatus status =
        unit.block(&flags, &timestamp, frames, 0, output, events, block);
    sampleTime += frames;
    return status;
}

AURenderEvent parameterEvent(AUEventSampleTime at, AUParameterAddress address, float value,
                             AURenderEventType type) {
    AURenderEvent event{};
    event.parameter = AUParameterEvent{nullptr, at, type, {}, 0, address, value};
    return event;
}

void link(std::vector<AURenderEvent>& events) {
    for (std::size_t i = 0; i + 1 < events.size(); ++i)
        events[i].head.next = &events[i + 1];
}

} // namespace kerneltest
