#include "Foundation/Formatter.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <vector>
#include <wctype.h>

std::optional<double> numberValue(const std::any& object) {
    if (auto d = std::any_cast<double>(&object))
        return *d;
    if (auto f = std::any_cast<float>(&object))
        return *f;
    if (auto i = std::any_cast<int>(&object))
        return *i;
    if (auto l = std::any_cast<long>(&object))
        return double(*l);
    if (auto ll = std::any_cast<long long>(&object))
        return double(*ll);
    if (auto u = std::any_cast<unsigned>(&object))
        return *u;
    return std::nullopt;
}

std::optional<std::string> NSNumberFormatter::stringFor(const std::any& object) const {
    auto number = numberValue(object);
    if (!number || std::isnan(*number))
        return std::nullopt;
    bool negative = std::signbit(*number);
    std::string text;
    double rounded = 0;
    if (std::isinf(*number)) {
        text = "\u221e"; // ∞
        rounded = HUGE_VAL;
    } else {
        int digits = std::clamp(maximumFractionDigits, 0, 15);
        double scale = std::pow(10.0, digits);
        rounded = std::abs(*number) * scale < 1e300
                      ? std::nearbyint(std::abs(*number) * scale) / scale
                      : std::abs(*number); // half to even
        int length = std::snprintf(nullptr, 0, "%.*f", digits, rounded);
        text.resize(size_t(length) + 1);
        std::snprintf(text.data(), text.size(), "%.*f", digits, rounded);
        text.resize(size_t(length));
    }
    // Trailing zeros of the fraction are not shown (no minimum fraction digits).
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    negative = negative && rounded != 0;
    return negative ? negativePrefix + text + negativeSuffix
                    : positivePrefix + text + positiveSuffix;
}

namespace {

bool strip(std::string_view& text, std::string_view prefix, std::string_view suffix) {
    bool found = false;
    if (!prefix.empty() && text.starts_with(prefix)) {
        text.remove_prefix(prefix.size());
        found = true;
    }
    if (!suffix.empty() && text.ends_with(suffix)) {
        text.remove_suffix(suffix.size());
        found = true;
    }
    return found || (prefix.empty() && suffix.empty());
}

std::optional<double> parseWhole(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    static locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    std::string copy(text);
    char* end = nullptr;
    double value = strtod_l(copy.c_str(), &end, c);
    if (end != copy.c_str() + copy.size())
        return std::nullopt;
    return value;
}

} // namespace

bool NSNumberFormatter::getObjectValue(std::any* object, const std::string& string,
                                       std::string* errorDescription) const {
    std::optional<double> value;
    std::string_view text = string;
    std::string_view negative = text;
    if (strip(negative, negativePrefix, negativeSuffix) && negative != text &&
        !negativePrefix.empty() && text.starts_with(negativePrefix)) {
        if (auto v = parseWhole(negative))
            value = -*v;
    }
    if (!value) {
        std::string_view positive = text;
        bool affixed = strip(positive, positivePrefix, positiveSuffix);
        if (affixed || lenient)
            value = parseWhole(positive);
    }
    if (!value) {
        if (errorDescription)
            *errorDescription = "Invalid number";
        return false;
    }
    if (object)
        *object = *value;
    return true;
}

namespace {

struct CodePoint {
    char32_t value;
    size_t begin, end; // byte offsets
};

std::vector<CodePoint> decode(std::string_view s) {
    std::vector<CodePoint> out;
    size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
        if (i + len > s.size())
            len = 1;
        char32_t cp = len == 1 ? b : b & (0x7f >> len);
        for (size_t k = 1; k < len; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
        out.push_back({cp, i, i + len});
        i += len;
    }
    return out;
}

bool isCombiningMark(char32_t c) {
    return c >= 0x300 && c <= 0x36f;
}

// Lower case, and the Latin-1 accented letters reduced to their base letter.
char32_t fold(char32_t c) {
    static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    c = utf8 ? char32_t(towlower_l(wint_t(c), utf8)) : c;
    static const char* base = "aaaaaaaceeeeiiiidnooooo/ouuuuyty"; // U+00E0…U+00FF
    if (c >= 0xe0 && c <= 0xff && c != 0xe6 && c != 0xf0 && c != 0xf7 && c != 0xfe)
        return char32_t(base[c - 0xe0]);
    return c;
}

std::vector<CodePoint> folded(std::string_view s) {
    std::vector<CodePoint> out;
    for (CodePoint cp : decode(s)) {
        if (isCombiningMark(cp.value)) {
            if (!out.empty())
                out.back().end = cp.end; // the mark belongs to its letter
            continue;
        }
        cp.value = fold(cp.value);
        out.push_back(cp);
    }
    return out;
}

} // namespace

std::optional<std::pair<size_t, size_t>> localizedStandardRange(std::string_view text,
                                                                std::string_view needle) {
    auto hay = folded(text);
    auto pin = folded(needle);
    if (pin.empty() || pin.size() > hay.size())
        return std::nullopt;
    for (size_t start = 0; start + pin.size() <= hay.size(); ++start) {
        size_t k = 0;
        while (k < pin.size() && hay[start + k].value == pin[k].value)
            ++k;
        if (k == pin.size())
            return std::pair{hay[start].begin, hay[start + k - 1].end};
    }
    return std::nullopt;
}
