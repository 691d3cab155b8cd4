#include "Metal/MTLHalf.h"

#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#include <immintrin.h>
#define MTL_HALF_F16C 1
#endif

namespace {

using u32x8 = uint32_t __attribute__((vector_size(32)));
using f32x8 = float __attribute__((vector_size(32)));
using i32x8 = int32_t __attribute__((vector_size(32)));

// Bit patterns of the boundaries, as floats' bits.
constexpr uint32_t infinityBits = 0x7F800000u;      // float +infinity
constexpr uint32_t halfOverflowBits = 143u << 23;   // 65536: at or above it no half is left
constexpr uint32_t halfNormalBits = 113u << 23;     // 2^-14: the smallest normal half
constexpr uint32_t subnormalMagicBits = 126u << 23; // 0.5: aligns a subnormal's bits

// The normal case: rebias the exponent from 127 to 15 and round the 13 dropped
// mantissa bits to nearest, ties to even (0xFFF plus the kept mantissa's low bit);
// a carry out of the mantissa moves the exponent up, up to infinity at 65520.
// Subnormal halves: adding 0.5 lines the value's bits up so that the float adder
// itself rounds to nearest even; the half is the low bits of that sum.
uint16_t convertOne(uint32_t bits) {
    uint32_t sign = (bits >> 16) & 0x8000u;
    uint32_t magnitude = bits & 0x7FFFFFFFu;
    uint32_t half;
    if (magnitude > infinityBits) {
        half = 0x7E00u | ((magnitude >> 13) & 0x3FFu);
    } else if (magnitude >= halfOverflowBits) {
        half = 0x7C00u;
    } else if (magnitude < halfNormalBits) {
        float value, magic;
        std::memcpy(&value, &magnitude, 4);
        std::memcpy(&magic, &subnormalMagicBits, 4);
        value += magic;
        uint32_t sum;
        std::memcpy(&sum, &value, 4);
        half = sum - subnormalMagicBits;
    } else {
        uint32_t odd = (magnitude >> 13) & 1u;
        half = (magnitude - ((127u - 15u) << 23) + 0xFFFu + odd) >> 13;
    }
    return static_cast<uint16_t>(half | sign);
}

// The same, eight at a time, every case computed and the right one selected.
void convertEight(const float* in, uint16_t* out) {
    u32x8 bits;
    std::memcpy(&bits, in, sizeof bits);
    u32x8 sign = (bits >> 16) & 0x8000u;
    u32x8 magnitude = bits & 0x7FFFFFFFu;

    u32x8 normal = (magnitude - ((127u - 15u) << 23) + 0xFFFu + ((magnitude >> 13) & 1u)) >> 13;

    f32x8 value, magic;
    u32x8 magicBits = u32x8{} + subnormalMagicBits;
    std::memcpy(&value, &magnitude, sizeof value);
    std::memcpy(&magic, &magicBits, sizeof magic);
    value += magic;
    u32x8 sum;
    std::memcpy(&sum, &value, sizeof sum);
    u32x8 subnormal = sum - subnormalMagicBits;

    u32x8 nan = 0x7E00u | ((magnitude >> 13) & 0x3FFu);
    // Unsigned comparisons give all-ones lanes where they hold.
    u32x8 half = magnitude < halfNormalBits ? subnormal : normal;
    half = magnitude >= halfOverflowBits ? u32x8{} + 0x7C00u : half;
    half = magnitude > infinityBits ? nan : half;
    half |= sign;
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint16_t>(half[i]);
}

#ifdef MTL_HALF_F16C
// Processors with F16C convert eight at a time in one instruction, rounding to nearest
// even, with the same results as above: overflow to infinity, NaN made quiet keeping the
// top of its payload, subnormal halves exact.
__attribute__((target("avx,f16c"))) void convertWithF16C(const float* in, uint16_t* out,
                                                         size_t count) {
    for (size_t i = 0; i < count; i += 8) {
        __m128i h =
            _mm256_cvtps_ph(_mm256_loadu_ps(in + i), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), h);
    }
}

// F16C is read from CPUID itself: clang's __builtin_cpu_supports does not know it.
bool hasF16C() {
    static const bool yes = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        return __builtin_cpu_supports("avx") && __get_cpuid(1, &a, &b, &c, &d) != 0 &&
               (c & bit_F16C) != 0;
    }();
    return yes;
}
#endif

} // namespace

namespace MTLHalf {

uint16_t fromFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return convertOne(bits);
}

float toFloat(uint16_t half) {
    uint32_t sign = uint32_t(half & 0x8000u) << 16;
    uint32_t exponent = (half >> 10) & 0x1Fu;
    uint32_t mantissa = half & 0x3FFu;
    uint32_t bits;
    if (exponent == 0x1F) {
        bits = sign | infinityBits | (mantissa << 13);
    } else if (exponent == 0) {
        // Subnormal: mantissa × 2^-24, exact in a float.
        float value = float(mantissa) * (1.0f / 16777216.0f);
        std::memcpy(&bits, &value, 4);
        bits |= sign;
    } else {
        bits = sign | ((exponent + 127 - 15) << 23) | (mantissa << 13);
    }
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

void fromFloats(const float* values, uint16_t* halves, size_t count) {
    size_t i = 0;
#ifdef MTL_HALF_F16C
    if (hasF16C()) {
        i = count / 8 * 8;
        convertWithF16C(values, halves, i);
    }
#endif
    for (; i + 8 <= count; i += 8)
        convertEight(values + i, halves + i);
    for (; i < count; ++i)
        halves[i] = fromFloat(values[i]);
}

void toFloats(const uint16_t* halves, float* values, size_t count) {
    for (size_t i = 0; i < count; ++i)
        values[i] = toFloat(halves[i]);
}

} // namespace MTLHalf
