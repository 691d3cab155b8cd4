#pragma once
// Renders blocks through an audio unit's host-facing render block as a host does.
// Made on the main thread; render() on whichever thread plays the host's render
// thread, real-time safe (its buffers are made with it).

#include "AudioToolbox/AUAudioUnit.h"
#include "AudioToolbox/AudioTypes.h"

#include <cstdint>
#include <vector>

// Renders blocks through a unit's host-facing render block: a pull block that
// serves `input` (silence past its end, or from its start again when it loops) and
// an owned output list.
class BlockRenderer {
  public:
    BlockRenderer(AUAudioUnit& unit, AUAudioChannelCount channels, AUAudioFrameCount maxFrames);
    // One block of `frames` at the running sample time; returns the status.
    AUAudioUnitStatus render(AUAudioFrameCount frames);
    // The output channel of the last block.
    const float* output(std::uint32_t channel) { return outputs.channel(channel); }
    std::vector<std::vector<float>> input;
    bool loops = false;
    double sampleTime = 0;

  private:
    AURenderBlock block;
    AURenderPullInputBlock pull;
    OwnedAudioBufferList outputs;
    AUAudioChannelCount channels;
};
