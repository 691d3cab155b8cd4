#pragma once
// Small value types of the parameter model: who originates a write, its gesture
// phase, how a continuous control maps its travel onto a range, and the unit
// suffixes the editor and the host show. Thread: any.

#include "AudioToolbox/AUParameters.h"

#include <optional>
#include <string>

// Who originates a write.
enum class ParameterEditor : int {
    parameterObserver = 0, // the parameter tree: the host, automation, or an echo
    ui = 1,                // a control of the editor
};

// The gesture phase of a write; its raw value is the automation event type.
enum class ParameterEditorState : int {
    change = 0,           // value
    beginInteractive = 1, // touch
    endInteractive = 2,   // release
};

inline AUParameterAutomationEventType automationEventType(ParameterEditorState state) {
    return static_cast<AUParameterAutomationEventType>(static_cast<int>(state));
}

// How a continuous control maps its travel onto the range.
struct ValueIncrement {
    enum class Kind { linear, logarithmic };

    static ValueIncrement linear() { return {Kind::linear, std::nullopt}; }
    // With a midpoint, the control's centre lands on it.
    static ValueIncrement logarithmic(std::optional<float> midpoint = std::nullopt) {
        return {Kind::logarithmic, midpoint};
    }

    Kind kind = Kind::linear;
    std::optional<float> midpoint; // only for logarithmic

    // Two linear are equal; two logarithmic when both midpoints are absent or both
    // present and equal as floats (a NaN midpoint equals nothing).
    bool operator==(const ValueIncrement& other) const {
        if (kind != other.kind)
            return false;
        return kind == Kind::linear || midpoint == other.midpoint;
    }
};

// Closed range of a parameter's values; lower not above upper, both finite.
struct ValueRange {
    float lowerBound = 0;
    float upperBound = 0;
    bool operator==(const ValueRange&) const = default;
};

// The suffix shown after a value: "%", "Hz", "dB", "MS"; empty for other units.
std::string displayableSuffix(AudioUnitParameterUnit unit);
