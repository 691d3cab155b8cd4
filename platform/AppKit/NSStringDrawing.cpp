#include "AppKit/NSStringDrawing.h"

#include "AppKit/NSGraphicsContext.h"

namespace {
CGFont fontOf(const NSStringAttributes& a) {
    return a.font ? a.font->cgFont() : CGFont::system(12);
}
CGColor colorOf(const NSStringAttributes& a) {
    return a.color ? a.color->cgColor() : CGColor::rgb(0, 0, 0, 1);
}

CGTextOptions optionsIn(const CGRect& rect, const NSStringAttributes& a) {
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
    if (rect.width() <= 0)
        return options;
    using T = CGTextOptions::Truncation;
    switch (a.lineBreakMode) {
    case NSLineBreakMode::byWordWrapping:
    case NSLineBreakMode::byCharWrapping:
        options.width = rect.width();
        break;
    case NSLineBreakMode::byClipping:
        break; // one line, as long as it is
    case NSLineBreakMode::byTruncatingHead:
    case NSLineBreakMode::byTruncatingMiddle:
    case NSLineBreakMode::byTruncatingTail:
        options.width = rect.width();
        options.maximumLines = 1;
        options.truncation = a.lineBreakMode == NSLineBreakMode::byTruncatingHead     ? T::head
                             : a.lineBreakMode == NSLineBreakMode::byTruncatingMiddle ? T::middle
                                                                                      : T::tail;
        break;
    }
    return options;
}
} // namespace

CGSize NSStringSize(const std::string& text, const NSStringAttributes& attributes) {
    return CGTextMeasure(text, fontOf(attributes));
}

void NSStringDraw(const std::string& text, CGPoint at, const NSStringAttributes& attributes) {
    if (auto current = NSGraphicsContext::current())
        current->cgContext().drawText(text, fontOf(attributes), colorOf(attributes), at);
}

void NSStringDraw(const std::string& text, const CGRect& rect,
                  const NSStringAttributes& attributes) {
    if (auto current = NSGraphicsContext::current())
        current->cgContext().drawText(text, fontOf(attributes), colorOf(attributes), rect,
                                      optionsIn(rect, attributes));
}
