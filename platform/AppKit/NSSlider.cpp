#include "AppKit/NSSlider.h"

#include <algorithm>

void NSSlider::setClampedDoubleValue(double value) {
    setDoubleValue(std::clamp(value, std::min(minValue, maxValue), std::max(minValue, maxValue)));
}
