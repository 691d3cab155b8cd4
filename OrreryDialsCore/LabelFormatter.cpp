#include "LabelFormatter.h"

#include "Parameters/AudioParameter.h"
#include "Parameters/ParameterText.h"
#include "Runtime/Runtime.h"
#include "Utilities/Utilities.h"

#include <charconv>
#include <cmath>
#include <cstdio>

DefaultLabelFormatter::DefaultLabelFormatter(const AudioParameter& param, int decimalPlaces)
    : decimalPlaces(decimalPlaces), saveScaleFactor(param.saveScaleFactor()) {}

std::string DefaultLabelFormatter::format(float value) const {
    const int places = std::max(decimalPlaces, 0);
    const std::string pattern = places == 0 ? "%.0f" : "%0." + std::to_string(places) + "lf";
    const double scaled = value * saveScaleFactor; // single-precision product
    const int length = std::snprintf(nullptr, 0, pattern.c_str(), scaled);
    std::string text(std::size_t(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern.c_str(), scaled);
    return text;
}

std::optional<float> DefaultLabelFormatter::value(const std::string& text) const {
    return finiteValue(text);
}

LabelNameFormatter::LabelNameFormatter(const AudioParameter& param)
    : valueStrings(param.valueStrings.value_or(std::vector<std::string>{})) {}

namespace {
// The shortest decimal text that reads back as the same float, with ".0" for whole
// numbers (7.0, 0.4, 1e+20, nan).
std::string shortestText(float value) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, ec == std::errc() ? end : buffer);
    if (std::isfinite(value) && text.find_first_of(".e") == std::string::npos)
        text += ".0";
    return text;
}
} // namespace

std::string LabelNameFormatter::format(float value) const {
    const float index = std::round(value);
    if (auto string =
            std::fabs(index) < 1e9f ? safe(valueStrings, std::ptrdiff_t(index)) : std::nullopt)
        return *string;
    fatalError("Unable to format value " + shortestText(value) + ", no value string found");
}

std::optional<float> LabelNameFormatter::value(const std::string& text) const {
    const std::string wanted = lowercased(text);
    for (std::size_t i = 0; i < valueStrings.size(); ++i)
        if (lowercased(valueStrings[i]) == wanted)
            return float(i);
    return std::nullopt;
}
