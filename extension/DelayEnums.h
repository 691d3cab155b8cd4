#pragma once
// The values of the indexed delay parameters. Each case's raw value is its position
// as a Float, which is the value the parameter tree, the kernel and the factory
// presets carry, so a parameter value converts to a case and back without a table.
// All members are constant and callable on any thread (real-time safe).

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

// Delay-time mode of "delayType": synced to the host tempo by note division, or free.
enum class DelayTimeType : std::uint8_t { note, ms };

// Oscillator shape of "lfoType".
enum class ModulationLFOType : std::uint8_t { triangle, sine, square, smoothRandom };

// Delay-line model of "model": the neural model index 0...3.
enum class DelayModel : std::uint8_t { bbd1, bbd2, pt1, pt2 };

// Note value of "delayNote": three rows of five in the same base order, plain,
// dotted (x1.5) and triplet (x2/3).
enum class DelayNoteDivision : std::uint8_t {
    thirtySecond,
    sixteenth,
    eighth,
    quarter,
    half,
    dottedThirtySecond,
    dottedSixteenth,
    dottedEighth,
    dottedQuarter,
    dottedHalf,
    thirtySecondTriplet,
    sixteenthTriplet,
    eighthTriplet,
    quarterTriplet,
    halfTriplet,
};

template <class E> struct EnumCaseCount;
template <> struct EnumCaseCount<DelayTimeType> { static constexpr std::size_t value = 2; };
template <> struct EnumCaseCount<ModulationLFOType> { static constexpr std::size_t value = 4; };
template <> struct EnumCaseCount<DelayModel> { static constexpr std::size_t value = 4; };
template <> struct EnumCaseCount<DelayNoteDivision> { static constexpr std::size_t value = 15; };

template <class E> constexpr float rawValue(E value) {
    return static_cast<float>(value);
}

// The case whose raw value equals `raw` exactly; none for any other value (0.5, 15, NaN).
template <class E> std::optional<E> fromRawValue(float raw) {
    constexpr float count = static_cast<float>(EnumCaseCount<E>::value);
    if (!(raw >= 0.0f && raw < count) || std::floor(raw) != raw)
        return std::nullopt;
    return static_cast<E>(static_cast<int>(raw));
}

// Every case in declaration order.
template <class E> constexpr std::array<E, EnumCaseCount<E>::value> allCases() {
    std::array<E, EnumCaseCount<E>::value> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i)
        cases[i] = static_cast<E>(i);
    return cases;
}

// Length of a note division in beats: 0.125, 0.25, 0.5, 1, 2, times 1.5 when dotted,
// times 2/3 (the Float 0.6666667) when a triplet.
constexpr float beats(DelayNoteDivision division) {
    constexpr float plain[5] = {0.125f, 0.25f, 0.5f, 1.0f, 2.0f};
    const int index = static_cast<int>(division);
    const float base = plain[index % 5];
    if (index >= 10)
        return base * 0.6666667f;
    if (index >= 5)
        return base * 1.5f;
    return base;
}

// Length of a note division in ms at a tempo: beats * 60000 / bpm.
constexpr float milliseconds(DelayNoteDivision division, float bpm) {
    return beats(division) * 60000.0f / bpm;
}
