#include "AppKit/NSStringDrawing.h"

#include <limits>

#include "AppKit/NSGraphicsContext.h"

namespace {
CGFont fontOf(const NSStringAttributes& a) {
    return a.font ? a.font->cgFont() : CGFont::system(12);
}
CGColor colorOf(const NSStringAttributes& a) {
    return a.color ? a.color->cgColor() : CGColor::rgb(0, 0, 0, 1);
}

// A width that bounds the layout: positive and finite.
bool bounds(CGFloat width) {
    return width > 0 && width < std::numeric_limits<CGFloat>::infinity();
}

CGTextOptions optionsIn(CGFloat width, const NSStringAttributes& a, int maximumLines) {
    CGTextOptions options;
    switch (a.alignment) {
    case NSTextAlignment::center:
        options.alignment = CGTextOptions::Alignment::center;
        break;
    case NSTextAlignment::right:
        options.alignment = CGTextOptions::Alignment::right;
        break;
    default:
        options.alignment = CGTextOptions::Alignment::left;
        break;
    }
    if (!bounds(width))
        return options;
    using T = CGTextOptions::Truncation;
    switch (a.lineBreakMode) {
    case NSLineBreakMode::byWordWrapping:
    case NSLineBreakMode::byCharWrapping:
        options.width = width;
        options.maximumLines = maximumLines;
        break;
    case NSLineBreakMode::byClipping:
        break; // one line, as long as it is
    case NSLineBreakMode::byTruncatingHead:
    case NSLineBreakMode::byTruncatingMiddle:
    case NSLineBreakMode::byTruncatingTail:
        options.width = width;
        options.maximumLines = 1;
        options.truncation = a.lineBreakMode == NSLineBreakMode::byTruncatingHead     ? T::head
                             : a.lineBreakMode == NSLineBreakMode::byTruncatingMiddle ? T::middle
                                                                                      : T::tail;
        break;
    }
    return options;
}

void fillBackground(CGContext& context, const NSStringAttributes& a, const CGRect& rect) {
    if (!a.backgroundColor)
        return;
    context.saveGState();
    context.setFillColor(a.backgroundColor->cgColor());
    context.fillRect(rect);
    context.restoreGState();
}
} // namespace

CGSize NSStringSize(const std::string& text, const NSStringAttributes& attributes) {
    return CGTextMeasure(text, fontOf(attributes));
}

CGSize NSStringBoundingSize(const std::string& text, const NSStringAttributes& attributes,
                            CGSize bound, int maximumLines) {
    return CGTextMeasure(text, fontOf(attributes),
                         optionsIn(bound.width, attributes, maximumLines));
}

void NSStringDraw(const std::string& text, CGPoint at, const NSStringAttributes& attributes) {
    auto current = NSGraphicsContext::current();
    if (!current)
        return;
    CGContext& context = current->cgContext();
    CGFont font = fontOf(attributes);
    CGSize size = CGTextMeasure(text, font);
    // Drawn at a point, the text rises from it in a y-up space and hangs below it in a
    // y-down one.
    CGRect box{at, size};
    if (!context.isUserSpaceYDown())
        box.origin.y = at.y;
    fillBackground(context, attributes, box);
    context.drawText(text, font, colorOf(attributes), at);
}

void NSStringDraw(const std::string& text, const CGRect& rect, const NSStringAttributes& attributes,
                  int maximumLines) {
    auto current = NSGraphicsContext::current();
    if (!current)
        return;
    CGContext& context = current->cgContext();
    CGTextOptions options = optionsIn(rect.width(), attributes, maximumLines);
    if (attributes.backgroundColor) {
        CGSize size = CGTextMeasure(text, fontOf(attributes), options);
        CGRect box{rect.minX(),
                   context.isUserSpaceYDown() ? rect.minY() : rect.maxY() - size.height,
                   bounds(rect.width()) ? rect.width() : size.width, size.height};
        fillBackground(context, attributes, box);
    }
    context.drawText(text, fontOf(attributes), colorOf(attributes), rect, options);
}
