#pragma once
// Small conversions of the kernel that stay defined for every input: a float
// is clamped in float before it becomes an integer (rounding NaN or 3e9 to an
// int is undefined), and samples are scrubbed of NaN and infinity. Real-time safe.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kernelmath {

inline constexpr float pi = 3.14159265358979323846f;

inline float clamp(float v, float lo, float hi) {
    return std::min(std::max(v, lo), hi);
}

// round(v) to nearest, halves away from zero, limited to lo...hi; NaN gives lo.
inline std::int32_t roundClamped(float v, std::int32_t lo, std::int32_t hi) {
    if (!(v >= float(lo)))
        return lo;
    if (v >= float(hi))
        return hi;
    return std::int32_t(std::round(v));
}

// v truncated toward zero, saturating at the int32 range; NaN gives 0.
inline std::int32_t truncSaturated(float v) {
    if (std::isnan(v))
        return 0;
    if (v <= -2147483648.0f)
        return INT32_MIN;
    if (v >= 2147483520.0f) // the largest float below 2^31
        return 2147483520;
    return std::int32_t(v);
}

// floor(v) as an unsigned value limited to 0...hi; NaN gives 0.
inline std::uint32_t floorClamped(double v, std::uint32_t hi) {
    if (!(v > 0.0))
        return 0;
    if (v >= double(hi))
        return hi;
    return std::uint32_t(v);
}

// NaN and infinities become 0.
inline float finiteOrZero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

// Linear congruential generator: state = state * 1664525 + 1013904223 (mod 2^32);
// returns ((state & 0xFFFFFF) / 16777215) * 2 - 1, in -1...1.
inline float nextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return (float(state & 0xFFFFFFu) / 16777215.0f) * 2.0f - 1.0f;
}

} // namespace kernelmath
