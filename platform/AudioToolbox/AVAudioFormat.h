#pragma once
// An audio format: here always the standard one (32-bit float, non-interleaved)
// at a sample rate with a channel count. Immutable; any thread.

#include "AudioToolbox/AudioTypes.h"
#include "Runtime/Runtime.h"

#include <memory>

class AVAudioFormat : public NSObject {
  public:
    // The standard format; null when the rate is not a positive finite number or
    // the channel count is 0 (the platform's nil). Thread: any (allocates).
    static std::shared_ptr<AVAudioFormat> standardFormat(double sampleRate,
                                                         AUAudioChannelCount channels);

    double sampleRate() const { return rate; }
    AUAudioChannelCount channelCount() const { return channels; }
    bool isInterleaved() const { return false; }
    bool isStandard() const { return true; }
    bool isEqual(const AVAudioFormat& other) const {
        return rate == other.rate && channels == other.channels;
    }

  protected:
    AVAudioFormat(double sampleRate, AUAudioChannelCount channelCount)
        : rate(sampleRate), channels(channelCount) {}

  private:
    double rate;
    AUAudioChannelCount channels;
};
