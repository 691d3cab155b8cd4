#pragma once
// How a knob maps a parameter's value onto its travel, a position t in 0...1, and
// which film-strip frame shows a value. Linear, or logarithmic when the parameter
// asks for it and both bounds are positive; a logarithmic midpoint bends the curve
// so that the knob's centre lands on it. All arithmetic is single precision.
// Thread: any; pure.

#include "Parameters/ParameterTypes.h"

#include <optional>

class AudioParameter;

class KnobMapping {
  public:
    KnobMapping(ValueRange range, ValueIncrement increment) : range(range), increment(increment) {}
    explicit KnobMapping(const AudioParameter& param);

    bool isLogarithmic() const;
    // k with t = x^k, x = ln(m/min) / ln(max/min), putting the midpoint m at t = 0.5:
    // only for a logarithmic mapping whose midpoint lies strictly inside the range.
    std::optional<float> midpointExponent() const;

    // Value to position: linear t = (v - min) / (max - min); logarithmic
    // t = ln(v/min) / ln(max/min), then t^k. An empty range (min == max) gives 0.
    float normalise(float value) const;
    // Position to value: linear v = min + t (max - min); logarithmic
    // v = min (max/min)^(t^(1/k)).
    float denormalise(float position) const;

    // round(t (count - 1) + 1), half away from zero, clamped to 1...count; a position
    // that is not finite shows frame 1.
    int frame(float value, int imageCount) const;

  private:
    ValueRange range;
    ValueIncrement increment;
};
