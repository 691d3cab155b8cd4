#include "KnobMapping.h"

#include "Parameters/AudioParameter.h"

#include <algorithm>
#include <cmath>

KnobMapping::KnobMapping(const AudioParameter& param)
    : KnobMapping(param.valueRange, param.valueIncrement) {}

bool KnobMapping::isLogarithmic() const {
    return increment.kind == ValueIncrement::Kind::logarithmic && range.lowerBound > 0 &&
           range.upperBound > 0;
}

std::optional<float> KnobMapping::midpointExponent() const {
    if (!isLogarithmic() || !increment.midpoint)
        return std::nullopt;
    const float lo = range.lowerBound, hi = range.upperBound, m = *increment.midpoint;
    if (!(lo < m && m < hi))
        return std::nullopt;
    const float x = std::log(m / lo) / std::log(hi / lo);
    if (!(x > 0 && x < 1))
        return std::nullopt;
    return -0.6931472f / std::log(x); // -ln 2 / ln x
}

float KnobMapping::normalise(float value) const {
    const float lo = range.lowerBound, hi = range.upperBound;
    if (!(hi > lo))
        return 0; // an empty range has no travel
    if (!isLogarithmic())
        return (value - lo) / (hi - lo);
    float t = std::log(value / lo) / std::log(hi / lo);
    if (auto k = midpointExponent())
        t = std::pow(t, *k);
    return t;
}

float KnobMapping::denormalise(float position) const {
    const float lo = range.lowerBound, hi = range.upperBound;
    if (!isLogarithmic())
        return lo + position * (hi - lo);
    float t = position;
    if (auto k = midpointExponent())
        t = std::pow(t, 1 / *k);
    return lo * std::pow(hi / lo, t);
}

int KnobMapping::frame(float value, int imageCount) const {
    const float t = normalise(value);
    if (!std::isfinite(t) || imageCount < 1)
        return 1;
    const float frame = std::round(t * float(imageCount - 1) + 1);
    return int(std::clamp(frame, 1.0f, float(imageCount)));
}
