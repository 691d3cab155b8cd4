#pragma once
// Stands in for AppKit's string drawing (NSString's size(withAttributes:),
// boundingRect(with:options:attributes:) and draw(at:/in:withAttributes:)) with the
// attributes the controls set: font, foreground and background colour, alignment,
// line breaking and tightening. Text goes to the current graphics context; in a
// rectangle it wraps to the rectangle's width (or is shortened, in a truncating mode)
// and starts at its visual top. Measuring and drawing use pango.
// Left out: paragraph spacing, kerning, shadows, underline; tightening is kept but
// pango does not tighten letters before truncating.
// Thread: main thread.

#include <memory>
#include <string>

#include "AppKit/NSColor.h"
#include "AppKit/NSFont.h"
#include "AppKit/NSParagraphStyle.h"

struct NSStringAttributes {
    std::shared_ptr<NSFont> font;   // the system font of 12 points when null
    std::shared_ptr<NSColor> color; // the foreground colour; black when null
    // The paragraph style.
    NSTextAlignment alignment = NSTextAlignment::natural;
    // Wrapping modes wrap within a rectangle's width; the others keep one line,
    // truncating modes shortening it with an ellipsis at the head, middle or tail.
    NSLineBreakMode lineBreakMode = NSLineBreakMode::byWordWrapping;
    // Filled behind the text's logical extents when set.
    std::shared_ptr<NSColor> backgroundColor;
    bool allowsDefaultTighteningForTruncation = false;

    friend bool operator==(const NSStringAttributes&, const NSStringAttributes&) = default;
};

// The size of the text on one line per paragraph.
CGSize NSStringSize(const std::string& text, const NSStringAttributes& attributes = {});
// The size of the text laid out within `bound` as drawing in a rectangle of that size
// lays it out (its width only: the height does not clip), at most `maximumLines`
// lines (0: any). A width of 0 or less, or one too large to lay out in (DBL_MAX),
// is no bound at all.
CGSize NSStringBoundingSize(const std::string& text, const NSStringAttributes& attributes,
                            CGSize bound, int maximumLines = 0);
void NSStringDraw(const std::string& text, CGPoint at, const NSStringAttributes& attributes = {});
// In `rect` (at most `maximumLines` lines when given).
void NSStringDraw(const std::string& text, const CGRect& rect,
                  const NSStringAttributes& attributes = {}, int maximumLines = 0);
