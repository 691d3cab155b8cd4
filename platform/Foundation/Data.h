#pragma once
// Data: a byte buffer, owned by value.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Data = std::vector<std::uint8_t>;

// Bytes of a text, and the text of some bytes (no encoding check). Thread: any.
inline Data dataFromString(std::string_view text) {
    return Data(text.begin(), text.end());
}
inline std::string stringFromData(const Data& data) {
    return std::string(data.begin(), data.end());
}
