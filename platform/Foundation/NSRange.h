#pragma once
// NSRange: a location and a length, in the UTF-16 code units that string ranges
// count on this platform. Thread: any (a plain value).

#include <cstddef>
#include <string_view>

struct NSRange {
    std::size_t location = 0;
    std::size_t length = 0;
    friend bool operator==(const NSRange&, const NSRange&) = default;
};

// The number of UTF-16 code units of a UTF-8 text (a string's length): one per
// character of the basic plane, two for one beyond it.
inline std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte
        units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}
