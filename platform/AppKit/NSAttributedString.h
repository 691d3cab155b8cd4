#pragma once
// Stands in for NSAttributedString: a text with the attributes it is drawn with (font,
// foreground and background colour, paragraph style: alignment, line breaking,
// tightening), measured and drawn with pango through the string-drawing functions.
// A value: copies are independent.
// Left out: attributes over parts of the text (one set covers the whole string), links,
// attachments, mutable ranges.
// Thread: any for making and comparing; measuring and drawing on the main thread.

#include <string>

#include "AppKit/NSStringDrawing.h"
#include "Foundation/NSRange.h"

class NSAttributedString {
  public:
    NSAttributedString() = default;
    explicit NSAttributedString(std::string string, NSStringAttributes attributes = {})
        : text(std::move(string)), attrs(std::move(attributes)) {}

    const std::string& string() const { return text; }
    // The length in UTF-16 code units, as ranges count it.
    std::size_t length() const { return utf16Length(text); }
    const NSStringAttributes& attributes() const { return attrs; }
    void setAttributes(NSStringAttributes attributes) { attrs = std::move(attributes); }

    // The size of the text on one line per paragraph.
    CGSize size() const { return NSStringSize(text, attrs); }
    // The size laid out within `bound` (a width of DBL_MAX is unbounded).
    CGSize boundingSize(CGSize bound, int maximumLines = 0) const {
        return NSStringBoundingSize(text, attrs, bound, maximumLines);
    }
    void draw(CGPoint at) const { NSStringDraw(text, at, attrs); }
    void draw(const CGRect& rect, int maximumLines = 0) const {
        NSStringDraw(text, rect, attrs, maximumLines);
    }

    friend bool operator==(const NSAttributedString&, const NSAttributedString&) = default;

  private:
    std::string text;
    NSStringAttributes attrs;
};
