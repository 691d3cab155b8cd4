#pragma once
// Stands in for NSSlider: a control whose value lies between a minimum and a
// maximum. Left out: the bar and knob drawing and tracking, tick marks, vertical
// sliders. Thread: main thread.

#include "AppKit/NSControl.h"

class NSSlider : public NSControl {
  public:
    explicit NSSlider(CGRect frame = {}) : NSControl(frame) {}

    double minValue = 0;
    double maxValue = 1;
};
