#include "AppKit/NSSplitView.h"

#include <algorithm>

#include "AppKit/NSBezierPath.h"

void NSSplitView::setVertical(bool v) {
    vertical = v;
    setNeedsLayout(true);
    setNeedsDisplay(true);
}

void NSSplitView::adjustSubviews() {
    const auto& views = subviews();
    const CGRect b = bounds();
    const CGFloat thickness = dividerThickness();
    CGFloat at = vertical ? b.minX() : b.minY();
    const CGFloat end = vertical ? b.maxX() : b.maxY();
    for (size_t i = 0; i < views.size(); ++i) {
        const CGRect f = views[i]->frame();
        const bool last = i + 1 == views.size();
        CGFloat length = vertical ? f.width() : f.height();
        if (last)
            length = std::max<CGFloat>(end - at, 0);
        views[i]->setFrame(vertical ? CGRect{at, b.minY(), length, b.height()}
                                    : CGRect{b.minX(), at, b.width(), length});
        at += length + (last ? 0 : thickness);
    }
}

CGRect NSSplitView::dividerRect(size_t index) const {
    const auto& views = subviews();
    if (index + 1 >= views.size())
        return CGRect::null();
    const CGRect f = views[index]->frame(), b = bounds();
    const CGFloat thickness = dividerThickness();
    return vertical ? CGRect{f.maxX(), b.minY(), thickness, b.height()}
                    : CGRect{b.minX(), f.maxY(), b.width(), thickness};
}

void NSSplitView::layout() {
    NSView::layout();
    adjustSubviews();
}

void NSSplitView::drawDivider(CGRect rect) {
    if (auto colour = dividerColor()) {
        colour->setFill();
        NSBezierPath::fillRect(rect);
    }
}

void NSSplitView::drawRect(CGRect) {
    for (size_t i = 0; i + 1 < subviews().size(); ++i)
        drawDivider(dividerRect(i));
}
