#include "HostParameters.h"

#include "ParameterDefinitions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// Lower case without spaces: "PT 2", "pt2" and "Pt 2" are the same word.
std::string squeezed(const std::string& text) {
    std::string out;
    for (unsigned char c : text)
        if (!std::isspace(c))
            out += char(std::tolower(c));
    return out;
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// "BBD 1, BBD 2, PT 1 or PT 2".
std::string alternatives(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return text;
}

} // namespace

bool parseNumber(const std::string& text, double& value) {
    // Decimal only: [+-] digits [. digits] [e [+-] digits], with a digit on one side
    // of the point. strtod alone would also read hexadecimal ("0x40" as 64).
    std::size_t i = 0, digits = 0;
    auto isDigit = [&](std::size_t k) {
        return k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]));
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    for (; isDigit(i); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; isDigit(i); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (!isDigit(i))
            return false;
        while (isDigit(i))
            ++i;
    }
    if (i != text.size())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(value);
}

std::optional<ParameterSetting> parseSetting(const AUParameterTree& tree, const std::string& text,
                                             std::string& error) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        error = "--set takes IDENTIFIER=VALUE, not '" + text + "'";
        return std::nullopt;
    }
    const std::string identifier = text.substr(0, equals);
    const std::string value = text.substr(equals + 1);
    auto parameter = tree.parameter(identifier);
    if (!parameter) {
        error = "unknown parameter '" + identifier + "'; the parameters are";
        for (const auto& p : tree.children())
            error += " " + p->identifier();
        return std::nullopt;
    }
    const std::string range =
        number(parameter->minValue()) + " to " + number(parameter->maxValue());
    if (const auto& strings = parameter->valueStrings()) {
        for (std::size_t k = 0; k < strings->size(); ++k)
            if (squeezed((*strings)[k]) == squeezed(value))
                return ParameterSetting{identifier, AUValue(k)};
        double index = 0;
        if (parseNumber(value, index) && index == std::round(index) &&
            index >= parameter->minValue() && index <= parameter->maxValue())
            return ParameterSetting{identifier, AUValue(index)};
        error = "'" + value + "' is not a value of " + identifier + "; it takes " +
                alternatives(*strings) + " (or " + range + ")";
        return std::nullopt;
    }
    double amount = 0;
    if (!parseNumber(value, amount)) {
        error = "'" + value + "' is not a value of " + identifier + "; it takes a number from " +
                range + (parameter->unitName().empty() ? "" : " " + parameter->unitName());
        return std::nullopt;
    }
    if (amount < parameter->minValue() || amount > parameter->maxValue()) {
        error = identifier + "=" + value + " is out of range " + range;
        return std::nullopt;
    }
    return ParameterSetting{identifier, AUValue(amount)};
}

std::string editorText(const AUParameter& parameter, AUValue value) {
    if (const auto& strings = parameter.valueStrings()) {
        const long index = std::lround(value);
        if (index >= 0 && std::size_t(index) < strings->size())
            return (*strings)[std::size_t(index)];
    }
    const ParameterDefinition* definition = parameterDefinition(parameter.identifier());
    const int places = definition ? editorDecimalPlaces(*definition) : 1;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", std::max(places, 0), double(value));
    return parameter.unitName().empty() ? text : std::string(text) + " " + parameter.unitName();
}
