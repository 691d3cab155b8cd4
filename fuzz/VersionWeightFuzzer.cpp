// Version texts: the weight equals an independent reckoning in 128-bit integers
// (pieces split at ".", empty pieces skipped, the first counting 10,000, the second
// 100, the rest 1; a piece that is not an optionally signed decimal integer in the
// 64-bit range counts 0; every product and sum saturating at the 64-bit limits).
#include "Update/VersionWeight.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

using Wide = __int128;
constexpr Wide lowest = std::numeric_limits<std::int64_t>::min();
constexpr Wide highest = std::numeric_limits<std::int64_t>::max();

Wide saturated(Wide v) {
    return v < lowest ? lowest : v > highest ? highest : v;
}

Wide pieceValue(std::string_view piece) {
    bool negative = false;
    if (!piece.empty() && (piece.front() == '+' || piece.front() == '-')) {
        negative = piece.front() == '-';
        piece.remove_prefix(1);
    }
    if (piece.empty())
        return 0;
    Wide value = 0;
    for (char c : piece) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > highest + 1)
            return 0;
    }
    if (negative)
        value = -value;
    return value < lowest || value > highest ? 0 : value;
}

Wide weightOf(std::string_view version) {
    Wide weight = 0;
    int pieces = 0;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= version.size(); ++i) {
        if (i < version.size() && version[i] != '.')
            continue;
        if (i > begin) {
            const Wide multiplier = pieces == 0 ? 10000 : pieces == 1 ? 100 : 1;
            weight = saturated(
                weight + saturated(pieceValue(version.substr(begin, i - begin)) * multiplier));
            ++pieces;
        }
        begin = i + 1;
    }
    return weight;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view version(reinterpret_cast<const char*>(data), size);
    const std::int64_t weight = convertVersionToWeight(version);
    if (Wide(weight) != weightOf(version)) {
        std::fprintf(stderr, "weight %lld of '%.*s' differs from the reckoning\n",
                     static_cast<long long>(weight), int(size), version.data());
        std::abort();
    }
    return 0;
}
