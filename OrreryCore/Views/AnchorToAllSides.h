#pragma once
// Pins a view to all four sides of another with Auto Layout constraints, as the
// audio-unit view controller pins its hosted editor view. Thread: main.

#include "CoreGraphics/CGGeometry.h"

#include <memory>

class NSView;

struct AnchorInsets {
    CGFloat top = 0, left = 0, bottom = 0, right = 0;
};

// With `view` absent nothing happens. Otherwise `receiver` stops translating its
// autoresizing mask into constraints and four constraints are activated together:
// leading = view.leading + left, trailing = view.trailing - right,
// bottom = view.bottom - bottom, top = view.top + top.
void anchorToAllSidesOf(const std::shared_ptr<NSView>& receiver,
                        const std::shared_ptr<NSView>& view, AnchorInsets insets = {});
