#include "SwiftUISupport/TideSliderModel.h"

#include <algorithm>
#include <cmath>

#include "Runtime/Runtime.h"

namespace {
// The one value all of `values` share; none for no values, differing ones or NaN.
std::optional<CGFloat> commonValue(const std::vector<CGFloat>& values) {
    if (values.empty() || std::isnan(values.front()))
        return std::nullopt;
    for (CGFloat v : values)
        if (v != values.front())
            return std::nullopt;
    return values.front();
}
} // namespace

TideSliderModel::TideSliderModel(std::vector<CGFloat> startingValues, CGFloat defaultValue,
                                 CGFloat minimumValue, CGFloat maximumValue, CGFloat incrementBy,
                                 bool snap, SliderIconClickBehaviour iconClickBehaviour)
    : increment_(incrementBy), minimum_(std::isnan(minimumValue) ? 0 : minimumValue),
      maximum_(std::isnan(maximumValue) ? minimum_.peek() : maximumValue), snap_(snap),
      value_(commonValue(startingValues)), starting_(std::move(startingValues)),
      default_(defaultValue), behaviour_(iconClickBehaviour) {}

void TideSliderModel::setIncrementBy(CGFloat increment) {
    if (!std::isnan(increment))
        increment_.set(increment);
}

void TideSliderModel::setMinimumValue(CGFloat minimum) {
    if (!std::isnan(minimum))
        minimum_.set(minimum);
}

void TideSliderModel::setMaximumValue(CGFloat maximum) {
    if (!std::isnan(maximum))
        maximum_.set(maximum);
}

void TideSliderModel::setValue(std::optional<CGFloat> value) {
    if (value && std::isnan(*value))
        return;
    value_.set(value);
}

CGFloat TideSliderModel::clamped(CGFloat v) const {
    const CGFloat lo = minimum_.peek(), hi = maximum_.peek();
    return hi < lo ? lo : std::clamp(v, lo, hi);
}

std::optional<CGFloat> TideSliderModel::percent() const {
    auto v = value();
    return v ? std::optional(fraction(*v)) : std::nullopt;
}

void TideSliderModel::setPercent(std::optional<CGFloat> percent) {
    if (!percent) {
        setValue(std::nullopt);
        return;
    }
    const CGFloat lo = minimum_.peek(), hi = maximum_.peek();
    if (!std::isnan(*percent))
        setValue(clamped(lo + (hi - lo) * *percent));
}

CGFloat TideSliderModel::fraction(CGFloat v) const {
    const CGFloat f = (v - minimum_.peek()) / (maximum_.peek() - minimum_.peek());
    return std::isnan(f) ? 0 : std::clamp<CGFloat>(f, 0, 1);
}

CGFloat TideSliderModel::snapped(CGFloat v) const {
    const CGFloat step = increment_.peek(), lo = minimum_.peek();
    if (!(step > 0))
        return clamped(v);
    return clamped(std::round((v - lo) / step) * step + lo); // std::round: halves away from zero
}

void TideSliderModel::iconClicked(int direction) {
    Runtime::assertMainThread("TideSliderModel.iconClicked");
    if (behaviour_ == SliderIconClickBehaviour::maxMin) {
        setValue(direction < 0 ? minimum_.peek() : maximum_.peek());
    } else {
        const CGFloat base = value_.peek().value_or(default_);
        setValue(clamped(base + direction * increment_.peek()));
    }
    if (onSlideComplete && value_.peek())
        onSlideComplete(*value_.peek());
}

void TideSliderModel::leftIconClicked() {
    iconClicked(-1);
}

void TideSliderModel::rightIconClicked() {
    iconClicked(+1);
}

void TideSliderModel::resetToDefault() {
    Runtime::assertMainThread("TideSliderModel.resetToDefault");
    setValue(default_);
    if (onSlideComplete && value_.peek())
        onSlideComplete(*value_.peek());
}
