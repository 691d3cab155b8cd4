#pragma once
// The identity of an audio component (type, subtype, manufacturer as four-letter
// codes), instantiation options and the error value a failing audio-unit call
// hands back. Plain values; any thread.

#include "AudioToolbox/AudioTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

using OSType = std::uint32_t;

// A four-letter code, first letter in the high byte: fourCharCode("aufx").
constexpr OSType fourCharCode(std::string_view code) {
    OSType value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(i < code.size() ? code[i] : ' ');
    return value;
}
std::string fourCharString(OSType code);

inline constexpr OSType kAudioUnitType_Effect = fourCharCode("aufx");
inline constexpr OSType kAudioUnitType_MusicEffect = fourCharCode("aumf");

struct AudioComponentDescription {
    OSType componentType = 0;
    OSType componentSubType = 0;
    OSType componentManufacturer = 0;
    std::uint32_t componentFlags = 0;
    std::uint32_t componentFlagsMask = 0;

    // Type, subtype and manufacturer equal (the flags do not name a component).
    bool sameComponent(const AudioComponentDescription& other) const {
        return componentType == other.componentType && componentSubType == other.componentSubType &&
               componentManufacturer == other.componentManufacturer;
    }
};

using AudioComponentInstantiationOptions = std::uint32_t;
inline constexpr AudioComponentInstantiationOptions kAudioComponentInstantiation_LoadOutOfProcess =
    1;
inline constexpr AudioComponentInstantiationOptions kAudioComponentInstantiation_LoadInProcess = 2;

inline constexpr OSStatus kAudioComponentErr_InstanceInvalidated = -66749;
inline constexpr OSStatus kAudioUnitErr_InvalidPropertyValue = -10851;
inline constexpr OSStatus kAudioUnitErr_FailedInitialization = -10875;

// What a failing call reports: a status code and a readable reason.
struct AUError {
    OSStatus code = 0;
    std::string message;
};
