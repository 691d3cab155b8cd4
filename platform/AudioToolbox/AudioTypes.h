#pragma once
// Scalar types, status codes, time stamps and buffer lists of the audio
// platform, as the render path sees them. Plain data: usable on any thread and
// real-time safe, except OwnedAudioBufferList's construction (it allocates).

#include <cstddef>
#include <cstdint>
#include <memory>

using OSStatus = std::int32_t;
using AUAudioUnitStatus = OSStatus;
using AUAudioFrameCount = std::uint32_t;
using AUAudioChannelCount = std::uint32_t;
using AUEventSampleTime = std::int64_t;
using AUParameterAddress = std::uint64_t;
using AUValue = float;
using NSInteger = std::int64_t;
using AudioUnitRenderActionFlags = std::uint32_t;

// Status codes of the audio-unit calls.
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus kAudioUnitErr_Uninitialized = -10867;
inline constexpr OSStatus kAudioUnitErr_FormatNotSupported = -10868;
inline constexpr OSStatus kAudioUnitErr_TooManyFramesToProcess = -10874;
inline constexpr OSStatus kAudioUnitErr_NoConnection = -10876;
inline constexpr OSStatus kAudioUnitErr_InvalidProperty = -10879;

// Render action flags (bits of AudioUnitRenderActionFlags).
inline constexpr AudioUnitRenderActionFlags kAudioUnitRenderAction_PreRender = 1u << 2;
inline constexpr AudioUnitRenderActionFlags kAudioUnitRenderAction_PostRender = 1u << 3;
inline constexpr AudioUnitRenderActionFlags kAudioUnitRenderAction_OutputIsSilence = 1u << 4;

// Which fields of an AudioTimeStamp are valid (bits of mFlags).
inline constexpr std::uint32_t kAudioTimeStampSampleTimeValid = 1u << 0;
inline constexpr std::uint32_t kAudioTimeStampHostTimeValid = 1u << 1;
inline constexpr std::uint32_t kAudioTimeStampRateScalarValid = 1u << 2;

struct AudioTimeStamp {
    double mSampleTime = 0.0; // frames since the host's time line started
    std::uint64_t mHostTime = 0;
    double mRateScalar = 1.0;
    std::uint32_t mFlags = 0;
};

// One buffer of (here always non-interleaved, so one-channel) audio data.
struct AudioBuffer {
    std::uint32_t mNumberChannels = 0;
    std::uint32_t mDataByteSize = 0;
    void* mData = nullptr;
};

// A variable-length list: mNumberBuffers entries follow in mBuffers, the
// storage extended past the declared single entry (see OwnedAudioBufferList).
struct AudioBufferList {
    std::uint32_t mNumberBuffers = 0;
    AudioBuffer mBuffers[1];
};

// Bytes an AudioBufferList of `buffers` entries occupies.
constexpr std::size_t audioBufferListSize(std::uint32_t buffers) {
    return offsetof(AudioBufferList, mBuffers) + sizeof(AudioBuffer) * (buffers > 0 ? buffers : 1);
}

// An AudioBufferList of N buffers that owns its storage: the list itself and,
// when framesPerBuffer > 0, one zeroed one-channel float buffer per entry.
// Thread: construction allocates (set-up); access is real-time safe.
class OwnedAudioBufferList {
  public:
    explicit OwnedAudioBufferList(std::uint32_t buffers, std::uint32_t framesPerBuffer = 0);

    AudioBufferList* get() { return list.get(); }
    const AudioBufferList* get() const { return list.get(); }
    AudioBufferList* operator->() { return list.get(); }
    AudioBuffer& operator[](std::uint32_t index) { return list->mBuffers[index]; }
    // The float data of buffer `index` as allocated here (null when none was).
    float* channel(std::uint32_t index) {
        return data ? data.get() + std::size_t(index) * frames : nullptr;
    }

  private:
    struct Free {
        void operator()(AudioBufferList* p) const;
    };
    std::unique_ptr<AudioBufferList, Free> list;
    std::unique_ptr<float[]> data;
    std::uint32_t frames = 0;
};
