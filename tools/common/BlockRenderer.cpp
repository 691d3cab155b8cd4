#include "BlockRenderer.h"

#include <algorithm>

BlockRenderer::BlockRenderer(AUAudioUnit& unit, AUAudioChannelCount channels,
                             AUAudioFrameCount maxFrames)
    : block(unit.renderBlock()), outputs(channels, maxFrames), channels(channels) {
    pull = [this](AudioUnitRenderActionFlags*, const AudioTimeStamp* timestamp,
                  AUAudioFrameCount frames, NSInteger, AudioBufferList* data) -> AUAudioUnitStatus {
        const auto start = static_cast<std::size_t>(timestamp->mSampleTime);
        for (std::uint32_t k = 0; k < data->mNumberBuffers; ++k) {
            auto* samples = static_cast<float*>(data->mBuffers[k].mData);
            const auto* source =
                input.empty() ? nullptr : &input[std::min<std::size_t>(k, input.size() - 1)];
            const std::size_t length = source ? source->size() : 0;
            for (AUAudioFrameCount i = 0; i < frames; ++i) {
                // x[n] = input[n], or input[n mod length] when looping; 0 past the end.
                const std::size_t n = start + i;
                samples[i] = length == 0  ? 0.0f
                             : loops      ? (*source)[n % length]
                             : n < length ? (*source)[n]
                                          : 0.0f;
            }
        }
        return noErr;
    };
}

AUAudioUnitStatus BlockRenderer::render(AUAudioFrameCount frames) {
    for (std::uint32_t k = 0; k < channels; ++k) {
        outputs[k].mData = outputs.channel(k);
        outputs[k].mDataByteSize = frames * sizeof(float);
    }
    AudioTimeStamp timestamp{};
    timestamp.mSampleTime = sampleTime;
    timestamp.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;
    const AUAudioUnitStatus status = block(&flags, &timestamp, frames, 0, outputs.get(), pull);
    sampleTime += frames;
    return status;
}
