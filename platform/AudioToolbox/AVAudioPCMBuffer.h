#pragma once
// A buffer of non-interleaved float audio in one format: one channel array per
// channel of frameCapacity frames, described by two buffer lists (a read-only
// one and a mutable one a pull block may rewrite). Created at set-up (allocates);
// its accessors are real-time safe.

#include "AudioToolbox/AVAudioFormat.h"
#include "AudioToolbox/AudioTypes.h"
#include "Runtime/Runtime.h"

#include <memory>
#include <vector>

class AVAudioPCMBuffer : public NSObject {
  public:
    // Null when the format is null (the platform's nil). Thread: any but render.
    static std::shared_ptr<AVAudioPCMBuffer> create(std::shared_ptr<AVAudioFormat> format,
                                                    AUAudioFrameCount frameCapacity);

    const std::shared_ptr<AVAudioFormat>& format() const { return pcmFormat; }
    AUAudioFrameCount frameCapacity() const { return capacity; }
    AUAudioFrameCount frameLength() const { return length; }
    // Clamped to the capacity; sets every list buffer's byte size to match.
    void setFrameLength(AUAudioFrameCount frames);

    // One pointer per channel.
    float* const* floatChannelData() const { return channelPointers.data(); }
    AUAudioChannelCount stride() const { return 1; }

    const AudioBufferList* audioBufferList() const { return readOnlyList.get(); }
    AudioBufferList* mutableAudioBufferList() { return mutableList.get(); }

  protected:
    AVAudioPCMBuffer(std::shared_ptr<AVAudioFormat> format, AUAudioFrameCount frameCapacity);

  private:
    std::shared_ptr<AVAudioFormat> pcmFormat;
    AUAudioFrameCount capacity;
    AUAudioFrameCount length = 0;
    OwnedAudioBufferList readOnlyList;
    OwnedAudioBufferList mutableList;
    std::vector<float*> channelPointers;
};
