// The editor's playback renders the looped clip through the effect without touching
// the heap once it plays. Its own binary: it replaces the global operator new.

#include "AllocationCounting.h"
#include "EditorPlayback.h"
#include "EffectLoader.h"

#include "AudioToolbox/AVAudioFormat.h"
#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(EditorPlayback, LoopsTheClipThroughTheEffectWithoutAllocating) {
    std::string error;
    std::optional<LoadedEffect> effect = loadEffect(EMBERFALL_APPEX_PATH, error);
    ASSERT_TRUE(effect) << error;
    AudioClip clip;
    clip.sampleRate = 48000;
    clip.channels.assign(2, std::vector<float>(3000)); // shorter than a second: it loops
    for (size_t i = 0; i < clip.channels[0].size(); ++i)
        clip.channels[0][i] = clip.channels[1][i] = 0.3f * std::sin(0.02f * float(i));
    auto format = AVAudioFormat::standardFormat(clip.sampleRate, 2);
    ASSERT_TRUE((*effect->unit->inputBusses())[0]->setFormat(format));
    ASSERT_TRUE((*effect->unit->outputBusses())[0]->setFormat(format));
    effect->unit->setMaximumFramesToRender(EditorPlayback::blockFrames);
    ASSERT_FALSE(effect->unit->allocateRenderResources());

    EditorPlayback playback(*effect->unit, clip);
    playback.renderFor(0.05);
    const long before = AllocationCounting::threadAllocations;
    playback.renderFor(1.0);
    EXPECT_EQ(AllocationCounting::threadAllocations - before, 0);
    EXPECT_GE(playback.framesRendered(), std::uint64_t(48000));

    effect->unit->deallocateRenderResources();
    RunLoop::main().runUntilIdle();
}

} // namespace
