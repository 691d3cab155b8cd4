#pragma once
// The host's render events: a singly linked list of records, each starting with
// the same header, handed to the render block for one cycle. Plain C data (no
// default member values, so the union stays trivial): zero-initialise with {}.
// The host builds the list and the render block reads it on the render thread, for
// that cycle only.

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
    AURenderEvent* next;
    AUEventSampleTime eventSampleTime; // absolute sample time
    AURenderEventType eventType;
    std::uint8_t reserved;
};

// A parameter value (type 1) or a ramp toward it (type 2).
struct AUParameterEvent {
    AURenderEvent* next;
    AUEventSampleTime eventSampleTime;
    AURenderEventType eventType;
    std::uint8_t reserved[3];
    AUAudioFrameCount rampDurationSampleFrames;
    AUParameterAddress parameterAddress;
    AUValue value;
};

struct AUMIDIEvent {
    AURenderEvent* next;
    AUEventSampleTime eventSampleTime;
    AURenderEventType eventType;
    std::uint8_t reserved;
    std::uint16_t length;
    std::uint8_t cable;
    std::uint8_t data[3];
};

union AURenderEvent {
    AURenderEventHeader head;
    AUParameterEvent parameter;
    AUMIDIEvent MIDI;
};
