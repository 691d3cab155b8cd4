#pragma once
// Drawing windows without a display: what a script or a test that has no desktop
// uses to look at a window. Also the platform's scale factor as the environment
// sets it, which the real windows start from.
// Thread: main thread (the drawing); environmentScaleFactor from any thread.

#include <optional>
#include <string>

#include "AppKit/NSWindow.h"

namespace Headless {

// Pixels per point asked for through EMBERFALL_SCALE (a number in (0, 8]); none when
// it is unset or not such a number.
std::optional<CGFloat> environmentScaleFactor();

// Draws `window` at `scale` pixels per point (its own backing scale factor when none)
// into a PNG file; the window's backing scale factor is left as it was. False when
// the file cannot be written.
bool writeWindowPNG(NSWindow& window, const std::string& path,
                    std::optional<CGFloat> scale = std::nullopt);

} // namespace Headless
