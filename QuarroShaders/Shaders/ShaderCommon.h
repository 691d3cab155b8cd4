#pragma once
// What the package's shaders share: their argument types, the full-view quad's vertex
// stage, colours of eight lanes, a cheap sine, hashing of the seed, and the period of
// every animation.
//
// Time: every motion repeats after animationPeriod seconds (its rate is a whole number
// of cycles per period, cyclesPerPeriod), so the renderers hand the shaders the time
// modulo that period and a day-long run keeps a float's full precision.
// Thread: pure functions; the device's worker threads.

#include <cstdint>

#include "Metal/MTLShaderFunctions.h"
#include "Metal/MTLShaderMath.h"

// A fragment function marked so is built twice on x86-64, for the baseline and for
// processors with AVX2 and FMA (eight lanes in one register); the loader picks one when
// the program starts. Everything it calls is inlined into it (flatten): a call between the
// two builds would pass eight-float vectors in different registers. So it may call
// nothing out of line that takes or returns a float8 by value.
// Under the sanitizers it is built once, for the baseline: the loader runs the choosing
// code before the sanitizer's runtime is ready, which ends the program at load.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
#define QUARRO_FRAGMENT_TARGETS __attribute__((flatten, target_clones("arch=x86-64-v3", "default")))
#else
#define QUARRO_FRAGMENT_TARGETS
#endif

namespace QuarroShaderCode {

using metal::float8;

inline constexpr double animationPeriod = 3600;

struct float2 {
    float x, y;
};

// Angular rate of `cycles` whole turns per animation period.
constexpr float cyclesPerPeriod(double cycles) {
    return float(cycles * 2 * 3.14159265358979324 / animationPeriod);
}

struct color8 {
    float8 r{}, g{}, b{};
    color8 operator+(const color8& o) const { return {r + o.r, g + o.g, b + o.b}; }
    color8 operator*(float8 k) const { return {r * k, g * k, b * k}; }
    color8 operator*(float k) const { return {r * k, g * k, b * k}; }
    static color8 of(float r, float g, float b) {
        return {metal::splat(r), metal::splat(g), metal::splat(b)};
    }
};
inline color8 mix(const color8& a, const color8& b, float8 t) {
    return {metal::mix(a.r, b.r, t), metal::mix(a.g, b.g, t), metal::mix(a.b, b.b, t)};
}
inline metal::float4x8 opaque(const color8& c) {
    return {c.r, c.g, c.b, metal::splat(1)};
}

// sin(x) to within 0.001: a parabola on the reduced angle, refined once. Enough for
// shapes, at a third of the cost of metal::sin.
inline float8 fastSin(float8 x) {
    float8 t = x * 0.159154943f; // turns
    t = t - metal::round(t);     // -0.5...0.5
    float8 y = 8.0f * t - 16.0f * t * metal::abs(t);
    return 0.225f * (y * metal::abs(y) - y) + y;
}

// A well-mixed 32-bit hash, and a float in [0, 1) from the seed and a salt.
constexpr uint32_t hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}
inline float random01(uint32_t seed, uint32_t salt) {
    return float(hash(seed ^ hash(salt + 0x9E3779B9u)) >> 8) * (1.0f / 16777216.0f);
}

// The full-view quad: clip-space positions from vertex buffer 0 (two floats per
// vertex), and as values the normalised position (0, 0 top-left, 1, 1 bottom-right).
MTLVertexOutput quadVertex(uint32_t vertexID, const MTLStageArguments& arguments);

} // namespace QuarroShaderCode
