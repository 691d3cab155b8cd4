#pragma once
// Stands in for AppKit's string drawing (NSString's size(withAttributes:) and
// draw(at:/in:withAttributes:)) with the few attributes the controls set: font,
// foreground colour, alignment and line breaking. Text goes to the current graphics
// context; in a rectangle it wraps to the rectangle's width and starts at its
// visual top. Left out: attributed strings with runs, paragraph spacing, kerning,
// shadows, underline. Thread: main thread.

#include <memory>
#include <string>

#include "AppKit/NSColor.h"
#include "AppKit/NSControl.h"
#include "AppKit/NSFont.h"

struct NSStringAttributes {
    std::shared_ptr<NSFont> font;   // the system font of 12 points when null
    std::shared_ptr<NSColor> color; // black when null
    NSTextAlignment alignment = NSTextAlignment::natural;
    // Wrapping modes wrap within a rectangle's width; the others keep one line,
    // truncating modes shortening it with an ellipsis at the head, middle or tail.
    NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping;
};

CGSize NSStringSize(const std::string& text, const NSStringAttributes& attributes = {});
void NSStringDraw(const std::string& text, CGPoint at, const NSStringAttributes& attributes = {});
void NSStringDraw(const std::string& text, const CGRect& rect,
                  const NSStringAttributes& attributes = {});
