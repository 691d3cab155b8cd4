#include "AudioToolbox/AudioTypes.h"

#include <new>

OwnedAudioBufferList::OwnedAudioBufferList(std::uint32_t buffers, std::uint32_t framesPerBuffer)
    : frames(framesPerBuffer) {
    void* raw =
        ::operator new (audioBufferListSize(buffers), std::align_val_t{alignof(AudioBufferList)});
    list.reset(new (raw) AudioBufferList{});
    list->mNumberBuffers = buffers;
    if (framesPerBuffer > 0 && buffers > 0)
        data = std::make_unique<float[]>(std::size_t(buffers) * framesPerBuffer);
    for (std::uint32_t k = 0; k < buffers; ++k) {
        AudioBuffer& buffer = list->mBuffers[k];
        buffer.mNumberChannels = 1;
        buffer.mDataByteSize = framesPerBuffer * sizeof(float);
        buffer.mData = channel(k);
    }
}

void OwnedAudioBufferList::Free::operator()(AudioBufferList* p) const {
    p->~AudioBufferList();
    ::operator delete (p, std::align_val_t{alignof(AudioBufferList)});
}
