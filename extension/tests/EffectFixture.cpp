#include "EffectFixture.h"

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
            for (AUAudioFrameCount i = 0; i < frames; ++i)
                samples[i] = source && start + i < source->size() ? (*source)[start + i] : 0.0f;
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

void EffectFixture::SetUp() {
    scope = std::make_unique<RunLoopTestScope>();
    controller = make<AudioUnitViewController>();
    AUError error;
    unit = std::dynamic_pointer_cast<EmberfallAudioUnit>(
        controller->createAudioUnit(emberfallDescription, &error));
    ASSERT_TRUE(unit) << error.message;
    drainMainQueue();
}

void EffectFixture::TearDown() {
    if (unit && unit->renderResourcesAllocated())
        unit->deallocateRenderResources();
    unit.reset();
    controller.reset();
    scope.reset();
}

void EffectFixture::allocate(double sampleRate, AUAudioChannelCount channels,
                             AUAudioFrameCount maxFrames) {
    auto format = AVAudioFormat::standardFormat(sampleRate, channels);
    ASSERT_TRUE((*unit->inputBusses())[0]->setFormat(format));
    ASSERT_TRUE((*unit->outputBusses())[0]->setFormat(format));
    unit->setMaximumFramesToRender(maxFrames);
    std::optional<AUError> error = unit->allocateRenderResources();
    ASSERT_FALSE(error) << error->message;
}
