#pragma once
// The host's render events: a singly linked list of records, each starting with
// the same header, handed to the render block for one cycle. Plain data.

#include "AudioToolbox/AudioTypes.h"

enum AURenderEventType : std::uint8_t {
    AURenderEventParameter = 1,
    AURenderEventParameterRamp = 2,
    AURenderEventMIDI = 8,
    AURenderEventMIDISysEx = 9,
    AURenderEventMIDIEventList = 10,
};

union AURenderEvent;

struct AURenderEventHeader {
    AURenderEvent* next = nullptr;
    AUEventSampleTime eventSampleTime = 0; // absolute sample time
    AURenderEventType eventType = AURenderEventParameter;
    std::uint8_t reserved = 0;
};

// A parameter value (type 1) or a ramp toward it (type 2).
struct AUParameterEvent {
    AURenderEvent* next = nullptr;
    AUEventSampleTime eventSampleTime = 0;
    AURenderEventType eventType = AURenderEventParameter;
    std::uint8_t reserved[3] = {};
    AUAudioFrameCount rampDurationSampleFrames = 0;
    AUParameterAddress parameterAddress = 0;
    AUValue value = 0.0f;
};

struct AUMIDIEvent {
    AURenderEvent* next = nullptr;
    AUEventSampleTime eventSampleTime = 0;
    AURenderEventType eventType = AURenderEventMIDI;
    std::uint8_t reserved = 0;
    std::uint16_t length = 0;
    std::uint8_t cable = 0;
    std::uint8_t data[3] = {};
};

union AURenderEvent {
    AURenderEventHeader head;
    AUParameterEvent parameter;
    AUMIDIEvent MIDI;
};
