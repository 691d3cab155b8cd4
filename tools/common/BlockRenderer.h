#pragma once
// Renders blocks through an audio unit's host-facing render block as a host does.
// Main thread (the test's), or whichever thread plays the host's render thread.

#include "AudioToolbox/AUAudioUnit.h"
#include "AudioToolbox/AudioTypes.h"

#include <cstdint>
#include <vector>

// Renders blocks through a unit's host-facing render block: a pull block that
// serves `input` (silence past its end) and an owned output list.
class BlockRenderer {
  public:
    BlockRenderer(AUAudioUnit& unit, AUAudioChannelCount channels, AUAudioFrameCount maxFrames);
    // One block of `frames` at the running sample time; returns the status.
    AUAudioUnitStatus render(AUAudioFrameCount frames);
    // The output channel of the last block.
    const float* output(std::uint32_t channel) { return outputs.channel(channel); }
    std::vector<std::vector<float>> input;
    double sampleTime = 0;

  private:
    AURenderBlock block;
    AURenderPullInputBlock pull;
    OwnedAudioBufferList outputs;
    AUAudioChannelCount channels;
};
