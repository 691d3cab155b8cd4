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
    if (rect.width() > 0) {
        options.width = rect.width();
        bool wraps = a.lineBreakMode == NSLineBreakMode::byWordWrapping ||
                     a.lineBreakMode == NSLineBreakMode::byCharWrapping;
        if (!wraps)
            options.maximumLines = 1;
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
