#pragma once
// The maths of shader functions written in C++. A fragment function runs on a group
// of up to eight fragments at once (the lanes of one SIMD group, a run of pixels of
// one row), so its values are `float8`: eight floats that add, multiply, compare and
// select lane by lane (the compiler's vector extension), with the shading language's
// functions over them — fract, floor, clamp, mix, smoothstep, sin, cos, exp, sqrt.
// The transcendental functions are polynomial approximations good to about 1e-5
// relative (what a GPU's fast maths gives), identical on every thread.
// Thread: pure functions; any thread.

#include <cstdint>

namespace metal {

inline constexpr int simdWidth = 8;
using float8 = float __attribute__((vector_size(32)));
using int8 = int32_t __attribute__((vector_size(32)));
using uint8 = uint32_t __attribute__((vector_size(32)));

inline float8 splat(float v) {
    return float8{} + v;
}
// 0, 1, ..., 7: the lane numbers.
inline float8 laneIndex() {
    return float8{0, 1, 2, 3, 4, 5, 6, 7};
}
// Lane-wise choice: `yes` where the condition holds (a comparison's result), else `no`.
inline float8 select(int8 condition, float8 yes, float8 no) {
    return condition ? yes : no;
}

inline float8 min(float8 a, float8 b) {
    return a < b ? a : b;
}
inline float8 max(float8 a, float8 b) {
    return a > b ? a : b;
}
inline float8 clamp(float8 x, float lo, float hi) {
    return min(max(x, splat(lo)), splat(hi));
}
inline float8 saturate(float8 x) {
    return clamp(x, 0, 1);
}
inline float8 abs(float8 x) {
    return x < 0 ? -x : x;
}
// Rounds towards minus infinity (|x| < 2^31).
inline float8 floor(float8 x) {
    float8 t = __builtin_convertvector(__builtin_convertvector(x, int8), float8);
    return t > x ? t - 1 : t;
}
inline float8 fract(float8 x) {
    return x - floor(x);
}
// Nearest integer, halves away from zero (|x| < 2^31).
inline float8 round(float8 x) {
    return floor(x + 0.5f);
}
inline float8 mix(float8 a, float8 b, float8 t) {
    return a + (b - a) * t;
}
inline float8 mix(float8 a, float8 b, float t) {
    return a + (b - a) * t;
}
// 0 below e0, 1 above e1, the smooth Hermite step between.
inline float8 smoothstep(float e0, float e1, float8 x) {
    float8 t = saturate((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
inline float8 smoothstep(float8 e0, float8 e1, float8 x) {
    float8 t = saturate((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
inline float8 sqrt(float8 x) {
    float8 r;
    for (int i = 0; i < simdWidth; ++i)
        r[i] = __builtin_sqrtf(x[i] > 0 ? x[i] : 0);
    return r;
}

// sin(x): x reduced to [-π, π], folded to [-π/2, π/2], then an odd polynomial of
// degree 9 (Taylor; error below 6e-6).
inline float8 sin(float8 x) {
    constexpr float twoPi = 6.28318530717958647f, pi = 3.14159265358979324f;
    x = x - twoPi * round(x * (1.0f / twoPi));
    x = select(x > pi / 2, pi - x, x);
    x = select(x < -pi / 2, -pi - x, x);
    float8 x2 = x * x;
    return x * (1.0f +
                x2 * (-1.0f / 6 + x2 * (1.0f / 120 + x2 * (-1.0f / 5040 + x2 * (1.0f / 362880)))));
}
inline float8 cos(float8 x) {
    return sin(x + 1.57079632679489662f);
}

// 2^x: the integer part goes into the exponent, the fraction through a degree-5
// polynomial (relative error below 3e-6); 0 below -126, clamped at 2^127.
inline float8 exp2(float8 x) {
    x = clamp(x, -126.0f, 126.99f);
    float8 i = floor(x);
    float8 f = x - i;
    float8 p =
        1.0f +
        f * (0.693147182f +
             f * (0.240226507f + f * (0.0555041087f + f * (0.00961812911f + f * 0.00133335581f))));
    int8 bits = (__builtin_convertvector(i, int8) + 127) << 23;
    float8 scale;
    __builtin_memcpy(&scale, &bits, sizeof scale);
    return p * scale;
}
inline float8 exp(float8 x) {
    return exp2(x * 1.44269504088896341f);
}

// A colour of eight lanes.
struct float4x8 {
    float8 r{}, g{}, b{}, a{};
};

} // namespace metal
