#include "EffectFixture.h"

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
