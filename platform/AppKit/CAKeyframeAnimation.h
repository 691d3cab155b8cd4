#pragma once
// Stands in for the key-frame animation that windows run for a property (AppKit's
// animator proxy with a window's `animations`): a path whose points are the key
// frames, and a duration. Animations are not played over time here: running one
// records the key frames it passed through and leaves the property at its target.
// Thread: main thread.

#include "CoreGraphics/CGPath.h"
#include "Runtime/Runtime.h"

class CAKeyframeAnimation : public NSObject {
  public:
    CGPath path;
    double duration = 0.25;

    // The key frames: the end point of every path element (a close adds none).
    std::vector<CGPoint> keyFrames() const;

  protected:
    CAKeyframeAnimation() = default;
};
