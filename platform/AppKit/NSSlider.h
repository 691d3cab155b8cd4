#pragma once
// Stands in for NSSlider as a value control: a double value kept within
// [minValue, maxValue], sent continuously while dragged.
// Left out: drawing of the track and knob, tick marks, vertical sliders, tracking
// by the mouse (subclasses track themselves). Thread: main thread.

#include "AppKit/NSControl.h"

class NSSlider : public NSControl {
  public:
    explicit NSSlider(CGRect frame = {}) : NSControl(frame) {}

    double minValue = 0;
    double maxValue = 1;
    // Stores the value clamped into [minValue, maxValue].
    void setClampedDoubleValue(double value);
};
