#pragma once
// The text a host shows for a parameter's value, and the value of a text the
// host's user typed. Thread: any; pure.

#include "AudioToolbox/AUParameters.h"

#include <optional>
#include <string>
#include <vector>

// No value, or NaN: "-". Else the value string at the value truncated toward
// zero, when the parameter has value strings and that is a valid index. Else the
// value with no decimals ("%.f": 2.5 gives "2", 2.7 gives "3"; infinities give
// "inf" and "-inf").
std::string parameterText(const std::optional<std::vector<std::string>>& valueStrings,
                          const AUValue* valueOrNull);

// The whole text read as a number in the C locale (an optional sign, decimal
// digits, a fraction and an exponent; no surrounding white space). Text that is
// not a number, or whose number is not finite in single precision ("nan", "inf",
// "1e40"), gives 0: such a value never reaches the kernel.
AUValue parameterValue(const std::string& text);

// The same reading, with none in place of 0 for text that is not a finite number
// (the dials' value entry refuses such text rather than setting 0).
std::optional<AUValue> finiteValue(const std::string& text);
