#pragma once
// Plays a clip in a loop through the effect while its editor is open: on the sound
// device (SDL2 audio) when one opens, otherwise rendered in real time to nowhere, so
// that the meters move either way. The render block is called on the audio thread
// (the device's callback or a thread of our own, paced by a steady clock), which
// serves the looped clip through the pull-input block and writes into buffers made
// before playing starts: nothing there allocates, locks or waits.
// Thread: construction, start and stop on the main thread; the unit's render
// resources must stay allocated from start to stop.

#include "AudioFile.h"
#include "BlockRenderer.h"

#include "AudioToolbox/AUAudioUnit.h"
#include "AudioToolbox/AudioTypes.h"

#include <atomic>
#include <cstdint>
#include <thread>

class EditorPlayback {
  public:
    enum class Output { soundDevice, nowhere };
    static constexpr AUAudioFrameCount blockFrames = 512;

    // `unit` is allocated at the clip's rate and channel count, for at least
    // blockFrames frames per call.
    EditorPlayback(AUAudioUnit& unit, AudioClip clip);
    ~EditorPlayback();
    EditorPlayback(const EditorPlayback&) = delete;
    EditorPlayback& operator=(const EditorPlayback&) = delete;

    // Starts playing; where to depends on whether a sound device opens.
    Output start();
    void stop();
    // Renders `seconds` of the loop at once on the calling thread (before start).
    void renderFor(double seconds);
    // Frames rendered so far. Thread: any.
    std::uint64_t framesRendered() const { return rendered.load(std::memory_order_relaxed); }

  private:
    // One block of the loop through the effect. Audio thread; real-time safe.
    AUAudioUnitStatus renderBlock(AUAudioFrameCount frames);
    // The device's callback: blocks interleaved into the device's buffer.
    static void deviceCallback(void* self, std::uint8_t* stream, int bytes);
    void renderNowhere();

    double sampleRate;
    std::uint32_t channels;
    BlockRenderer renderer; // audio thread only, once playing
    std::atomic<std::uint64_t> rendered{0};
    std::uint32_t device = 0;
    bool audioSubsystem = false;
    std::thread pacer;
    std::atomic<bool> running{false};
};
