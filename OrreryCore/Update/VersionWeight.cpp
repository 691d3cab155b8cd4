#include "Update/VersionWeight.h"

#include <charconv>
#include <limits>

namespace {

using Limits = std::numeric_limits<std::int64_t>;

// An optional "+" or "-" followed by digits only; anything else, or a value out
// of range, is 0.
std::int64_t pieceValue(std::string_view piece) {
    if (!piece.empty() && piece.front() == '+') {
        piece.remove_prefix(1);
        if (piece.empty() || piece.front() == '-' || piece.front() == '+')
            return 0;
    }
    std::int64_t value = 0;
    const char* end = piece.data() + piece.size();
    auto [ptr, ec] = std::from_chars(piece.data(), end, value);
    return (ec == std::errc() && ptr == end) ? value : 0;
}

std::int64_t saturatingMultiply(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return ((a < 0) != (b < 0)) ? Limits::min() : Limits::max();
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b < 0 ? Limits::min() : Limits::max();
}

} // namespace

std::int64_t convertVersionToWeight(std::string_view version) {
    std::int64_t weight = 0;
    std::size_t index = 0; // of the non-empty pieces
    while (!version.empty()) {
        const std::size_t dot = version.find('.');
        const std::string_view piece = version.substr(0, dot);
        version = dot == std::string_view::npos ? std::string_view{} : version.substr(dot + 1);
        if (piece.empty())
            continue;
        // weight = sum of piece_i * m_i with m_0 = 10000, m_1 = 100, m_i = 1 after.
        const std::int64_t multiplier = index == 0 ? 10000 : index == 1 ? 100 : 1;
        weight = saturatingAdd(weight, saturatingMultiply(pieceValue(piece), multiplier));
        ++index;
    }
    return weight;
}
