#pragma once
// The effect's parameters on the host's command line: reading "--set IDENTIFIER=VALUE"
// against the unit's parameter tree, and showing a value as the editor's dial shows
// it. Main thread.

#include "AudioToolbox/AUParameters.h"

#include <optional>
#include <string>

// The whole text as a finite decimal number ("12.5", "-3", "1e3"); false for anything
// else: white space or other text around it, hexadecimal ("0x40"), "inf", "nan", or a
// value too large to be finite.
bool parseNumber(const std::string& text, double& value);

struct ParameterSetting {
    std::string identifier;
    AUValue value;
};

// "feedback=80", "model=PT 2", "model=pt2": a number within the parameter's range, or
// one of its value strings, with case and spaces ignored. On a mistake, none and one
// line in `error` that says what the parameter takes.
std::optional<ParameterSetting> parseSetting(const AUParameterTree& tree, const std::string& text,
                                             std::string& error);

// A value as the editor's dial shows it: "0.30 Hz", "1.5 MS", "45 %", "PT 2".
std::string editorText(const AUParameter& parameter, AUValue value);
