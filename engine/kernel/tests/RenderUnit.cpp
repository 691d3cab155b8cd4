#include "RenderUnit.h"

#include <algorithm>

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
    return
        [this](AudioUnitRenderActionFlags*, const AudioTimeStamp* timestamp,
               AUAudioFrameCount frames, NSInteger, AudioBufferList* input) -> AUAudioUnitStatus {
            if (pullResult != noErr)
                return pullResult;
            // The host's clock runs on after a failed render, so a request may reach past
            // the end of the signal: what lies beyond it is silence.
            const auto start = std::size_t(timestamp->mSampleTime);
            for (std::uint32_t c = 0; c < input->mNumberBuffers && c < signal.size(); ++c) {
                auto* samples = static_cast<float*>(input->mBuffers[c].mData);
                const std::size_t from = std::min(start, signal[c].size());
                const std::size_t count = std::min<std::size_t>(frames, signal[c].size() - from);
                std::copy_n(signal[c].data() + from, count, samples);
                std::fill(samples + count, samples + frames, 0.0f);
            }
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
