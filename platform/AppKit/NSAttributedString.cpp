#include "AppKit/NSAttributedString.h"

#include <algorithm>

std::string NSAttributedString::string() const {
    std::string all;
    for (const Run& run : runs_)
        all += run.text;
    return all;
}

const NSStringAttributes& NSAttributedString::attributes() const {
    static const NSStringAttributes none;
    return runs_.empty() ? none : runs_.front().attributes;
}

void NSAttributedString::setAttributes(NSStringAttributes attributes) {
    if (runs_.empty())
        runs_.push_back({{}, attributes});
    for (Run& run : runs_)
        run.attributes = attributes;
}

void NSAttributedString::append(const NSAttributedString& other) {
    runs_.insert(runs_.end(), other.runs_.begin(), other.runs_.end());
}

CGSize NSAttributedString::size() const {
    if (runs_.size() <= 1)
        return NSStringSize(string(), attributes());
    // Side by side: widths add up, the tallest run sets the height.
    CGSize total{0, 0};
    for (const Run& run : runs_) {
        const CGSize s = NSStringSize(run.text, run.attributes);
        total.width += s.width;
        total.height = std::max(total.height, s.height);
    }
    return total;
}

CGSize NSAttributedString::boundingSize(CGSize bound, int maximumLines) const {
    if (runs_.size() <= 1)
        return NSStringBoundingSize(string(), attributes(), bound, maximumLines);
    CGSize s = size();
    if (bound.width > 0 && s.width > bound.width)
        s.width = bound.width;
    return s;
}

void NSAttributedString::draw(CGPoint at) const {
    if (runs_.size() <= 1) {
        NSStringDraw(string(), at, attributes());
        return;
    }
    for (const Run& run : runs_) {
        NSStringDraw(run.text, at, run.attributes);
        at.x += NSStringSize(run.text, run.attributes).width;
    }
}

void NSAttributedString::draw(const CGRect& rect, int maximumLines) const {
    if (runs_.size() <= 1) {
        NSStringDraw(string(), rect, attributes(), maximumLines);
        return;
    }
    // One line: placed by the first run's alignment, each run in the width left.
    const CGFloat width = size().width;
    CGFloat x = rect.minX();
    const NSTextAlignment alignment = attributes().alignment;
    if (width < rect.width()) {
        if (alignment == NSTextAlignment::center)
            x += (rect.width() - width) / 2;
        else if (alignment == NSTextAlignment::right)
            x += rect.width() - width;
    }
    for (const Run& run : runs_) {
        const CGFloat left = rect.maxX() - x;
        if (left <= 0)
            break;
        const CGFloat w = std::min(NSStringSize(run.text, run.attributes).width, left);
        NSStringAttributes oneLine = run.attributes;
        oneLine.alignment = NSTextAlignment::left;
        NSStringDraw(run.text, CGRect{x, rect.minY(), w, rect.height()}, oneLine, 1);
        x += w;
    }
}
