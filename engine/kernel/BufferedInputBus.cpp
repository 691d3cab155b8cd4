#include "BufferedInputBus.h"

#include <algorithm>

void BufferedInputBus::init(std::shared_ptr<AVAudioFormat> format, std::string name) {
    pcmBuffer.reset();
    audioBufferList = nullptr;
    mutableAudioBufferList = nullptr;
    maxFrames = 0;
    bus = AUAudioUnitBus::create(std::move(format));
    if (bus)
        bus->setName(std::move(name));
}

void BufferedInputBus::allocateRenderResources(AUAudioFrameCount frameCapacity) {
    maxFrames = frameCapacity;
    pcmBuffer = bus ? AVAudioPCMBuffer::create(bus->format(), frameCapacity) : nullptr;
    audioBufferList = pcmBuffer ? pcmBuffer->audioBufferList() : nullptr;
    mutableAudioBufferList = pcmBuffer ? pcmBuffer->mutableAudioBufferList() : nullptr;
}

void BufferedInputBus::prepareInputBufferList(AUAudioFrameCount frames) {
    if (!audioBufferList || !mutableAudioBufferList)
        return;
    const AUAudioFrameCount n = std::min(maxFrames, frames);
    mutableAudioBufferList->mNumberBuffers = audioBufferList->mNumberBuffers;
    for (std::uint32_t k = 0; k < audioBufferList->mNumberBuffers; ++k) {
        mutableAudioBufferList->mBuffers[k].mNumberChannels =
            audioBufferList->mBuffers[k].mNumberChannels;
        mutableAudioBufferList->mBuffers[k].mData = audioBufferList->mBuffers[k].mData;
        mutableAudioBufferList->mBuffers[k].mDataByteSize = n * sizeof(float);
    }
}
