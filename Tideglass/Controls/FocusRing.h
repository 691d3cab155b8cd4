#pragma once
// The library's own keyboard-focus ring, which every styled control draws in place of
// AppKit's (the segmented control draws a ring of its own kind). The control's
// focus-ring mask drawing stays empty, so AppKit draws nothing; after its normal
// drawing the control calls drawLibraryFocusRing, which draws only while the control's
// window is the key window and the control has keyboard focus:
//   path   a rounded rectangle of radius 3 (both axes) on the mask bounds inset by 1
//          point on every side; line width 2, round caps, round joins;
//   fill   the style's focus-ring colour for the control's state at alpha 0.3;
//   stroke that colour itself.
// So the ring lies inside the mask bounds and never outside the control.
// Thread: main.

#include <memory>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSControl.h"

// Whether the control shows the ring now: it has a window, that window is key, and the
// control has keyboard focus (itself or its field editor is the first responder).
bool showsLibraryFocusRing(const NSControl& control);

// The ring's path on `maskBounds` (in the control's coordinates), with its line set.
std::shared_ptr<NSBezierPath> libraryFocusRingPath(CGRect maskBounds);

// Fills and strokes the ring through the current graphics context when the control
// shows it; nothing without a colour or a current context.
void drawLibraryFocusRing(const NSControl& control, CGRect maskBounds,
                          const std::shared_ptr<NSColor>& color);
