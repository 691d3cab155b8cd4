#pragma once
// Stands in for NSScreen: a screen's frame and the visible part of it that the menu
// bar and the Dock leave free, in global screen coordinates (origin bottom-left).
// A window is on a screen when one is given to it (the display layer, or a test).
// Thread: main thread.

#include <memory>

#include "CoreGraphics/CGGeometry.h"
#include "Runtime/Runtime.h"

class NSScreen : public NSObject {
  public:
    CGRect frame;
    CGRect visibleFrame;
    CGFloat backingScaleFactor = 1;

  protected:
    NSScreen(CGRect frame, CGRect visibleFrame) : frame(frame), visibleFrame(visibleFrame) {}
};
