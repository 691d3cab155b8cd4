#pragma once
// Stands in for NSAttributedString: a text with the attributes it is drawn with (font,
// foreground and background colour, paragraph style: alignment, line breaking,
// tightening), measured and drawn with pango through the string-drawing functions.
// The text is one run or several, each with attributes of its own (append adds one: a
// label in one colour followed by a title in another font); several runs lie on one
// line, one after the other, the last shortened as its line breaking says when the
// line is too long. The paragraph style (alignment) of the first run places the line.
// A value: copies are independent.
// Left out: paragraphs of several runs, links, attachments, mutable ranges.
// Thread: any for making and comparing; measuring and drawing on the main thread.

#include <string>
#include <vector>

#include "AppKit/NSStringDrawing.h"
#include "Foundation/NSRange.h"

class NSAttributedString {
  public:
    struct Run {
        std::string text;
        NSStringAttributes attributes;
        friend bool operator==(const Run&, const Run&) = default;
    };

    NSAttributedString() = default;
    explicit NSAttributedString(std::string string, NSStringAttributes attributes = {})
        : runs_{{std::move(string), std::move(attributes)}} {}

    // The whole text.
    std::string string() const;
    // The length in UTF-16 code units, as ranges count it.
    std::size_t length() const { return utf16Length(string()); }
    // The attributes of the first run (of an empty string: the defaults).
    const NSStringAttributes& attributes() const;
    // Gives every run these attributes.
    void setAttributes(NSStringAttributes attributes);
    const std::vector<Run>& runs() const { return runs_; }
    // Adds the other string's runs after this one's.
    void append(const NSAttributedString& other);

    // The size of the text on one line per paragraph (the runs side by side).
    CGSize size() const;
    // The size laid out within `bound` (a width of DBL_MAX is unbounded).
    CGSize boundingSize(CGSize bound, int maximumLines = 0) const;
    void draw(CGPoint at) const;
    void draw(const CGRect& rect, int maximumLines = 0) const;

    friend bool operator==(const NSAttributedString&, const NSAttributedString&) = default;

  private:
    std::vector<Run> runs_;
};
