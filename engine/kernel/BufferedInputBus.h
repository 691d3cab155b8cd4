#pragma once
// The unit's input as the render block pulls it: a bus and a PCM buffer of the
// bus's format sized for the largest block, with the list handed to the host's
// pull block. init and allocateRenderResources: main thread, while nothing
// renders (they allocate); prepareInputBufferList: render thread, real-time safe.

#include "AudioToolbox/AUAudioUnitBus.h"
#include "AudioToolbox/AVAudioFormat.h"
#include "AudioToolbox/AVAudioPCMBuffer.h"
#include "AudioToolbox/AudioTypes.h"

#include <memory>
#include <string>

class BufferedInputBus {
  public:
    std::shared_ptr<AUAudioUnitBus> bus;
    AUAudioFrameCount maxFrames = 0;
    std::shared_ptr<AVAudioPCMBuffer> pcmBuffer;
    const AudioBufferList* audioBufferList = nullptr;
    AudioBufferList* mutableAudioBufferList = nullptr;

    // Drops any buffer, then makes the bus in this format with this name.
    void init(std::shared_ptr<AVAudioFormat> format, std::string name);
    // A buffer of frameCapacity frames in the bus's format.
    void allocateRenderResources(AUAudioFrameCount frameCapacity);
    // Restores the mutable list from the buffer's own (the previous pull may have
    // replaced pointers or sizes) with min(maxFrames, frames) frames per buffer.
    void prepareInputBufferList(AUAudioFrameCount frames);
};
