#include "Parameters/ParameterText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string parameterText(const std::optional<std::vector<std::string>>& valueStrings,
                          const AUValue* valueOrNull) {
    if (valueOrNull == nullptr || std::isnan(*valueOrNull))
        return "-";
    const double value = *valueOrNull;
    if (valueStrings && std::isfinite(value)) {
        const double index = std::trunc(value); // toward zero: -0.5 gives 0
        if (index >= 0 && index < static_cast<double>(valueStrings->size()))
            return (*valueStrings)[static_cast<std::size_t>(index)];
    }
    // No decimals, so the user's locale changes nothing in the text.
    char text[64];
    std::snprintf(text, sizeof text, "%.f", value);
    return text;
}

std::optional<AUValue> finiteValue(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '-' || *first == '+'))
            return std::nullopt; // one sign at most
    }
    float value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || ptr != last || first == last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

AUValue parameterValue(const std::string& text) {
    return finiteValue(text).value_or(0);
}
