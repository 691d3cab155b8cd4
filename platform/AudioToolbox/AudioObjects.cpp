#include "AudioToolbox/AUAudioUnitBus.h"
#include "AudioToolbox/AVAudioFormat.h"
#include "AudioToolbox/AVAudioPCMBuffer.h"

#include <cmath>

std::shared_ptr<AVAudioFormat> AVAudioFormat::standardFormat(double sampleRate,
                                                             AUAudioChannelCount channels) {
    if (!(std::isfinite(sampleRate) && sampleRate > 0.0) || channels == 0)
        return nullptr;
    return make<AVAudioFormat>(sampleRate, channels);
}

std::shared_ptr<AVAudioPCMBuffer> AVAudioPCMBuffer::create(std::shared_ptr<AVAudioFormat> format,
                                                           AUAudioFrameCount frameCapacity) {
    if (!format)
        return nullptr;
    return make<AVAudioPCMBuffer>(std::move(format), frameCapacity);
}

AVAudioPCMBuffer::AVAudioPCMBuffer(std::shared_ptr<AVAudioFormat> format,
                                   AUAudioFrameCount frameCapacity)
    : pcmFormat(std::move(format)), capacity(frameCapacity),
      readOnlyList(pcmFormat->channelCount(), frameCapacity),
      mutableList(pcmFormat->channelCount(), 0) {
    const AUAudioChannelCount channels = pcmFormat->channelCount();
    channelPointers.resize(channels);
    for (AUAudioChannelCount c = 0; c < channels; ++c) {
        channelPointers[c] = readOnlyList.channel(c);
        mutableList[c].mData = channelPointers[c];
    }
    setFrameLength(0);
}

void AVAudioPCMBuffer::setFrameLength(AUAudioFrameCount frames) {
    length = frames < capacity ? frames : capacity;
    for (AUAudioChannelCount c = 0; c < pcmFormat->channelCount(); ++c) {
        readOnlyList[c].mDataByteSize = length * sizeof(float);
        mutableList[c].mDataByteSize = length * sizeof(float);
    }
}

std::shared_ptr<AUAudioUnitBus> AUAudioUnitBus::create(std::shared_ptr<AVAudioFormat> format) {
    if (!format)
        return nullptr;
    return make<AUAudioUnitBus>(std::move(format));
}

bool AUAudioUnitBus::setFormat(std::shared_ptr<AVAudioFormat> format) {
    if (!format)
        return false;
    busFormat = std::move(format);
    return true;
}
