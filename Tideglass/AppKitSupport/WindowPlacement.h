#pragma once
// Placing and animating windows: centring in the free area of the screen, centring
// across under a top offset, centring over (or on top of) a view, the title-bar
// height, and a refusal shake.
// Thread: main thread only.

#include "AppKit/NSWindow.h"

// Exactly in the middle of the screen's visible frame (nothing rounded); a window
// without a screen stays where it is.
void properlyCenter(NSWindow& window);
// Centred across, its top edge `topOffset` below the top of the visible frame.
void properlyCenterHorizontally(NSWindow& window, CGFloat topOffset);
// Centred over the view, snapped to whole points. A view that is not in a window
// leaves the window where it is.
void centerFrame(NSWindow& window, const NSView& relativeTo, bool display);
// Centred across the view with its bottom edge on the view's top edge.
void horizontallyCenterFrame(NSWindow& window, const NSView& relativeTo, bool display);
// The height the title bar takes from the window.
CGFloat titlebarHeight(const NSWindow& window);
// Three left-right swings of 3 % of the window's width in 0.4 s, ending where it began.
void shake(NSWindow& window);
