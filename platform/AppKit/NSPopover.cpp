#include "AppKit/NSPopover.h"

#include <algorithm>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSColor.h"

namespace {
// The pop-over window's content: the panel with its arrow on `arrowEdge` (the window's
// edge that faces the rectangle), and the controller's view.
class PopoverFrameView : public NSView {
  public:
    PopoverFrameView(CGRect frame, NSRectEdge arrowEdge, CGFloat arrowAt)
        : NSView(frame), arrowEdge(arrowEdge), arrowAt(arrowAt) {}

    // The bounds less the arrow's room.
    CGRect panel() const {
        const CGRect b = bounds();
        const CGFloat a = NSPopover::arrowLength;
        switch (arrowEdge) {
        case NSRectEdge::minY:
            return {b.minX(), b.minY() + a, b.width(), b.height() - a};
        case NSRectEdge::maxY:
            return {b.minX(), b.minY(), b.width(), b.height() - a};
        case NSRectEdge::minX:
            return {b.minX() + a, b.minY(), b.width() - a, b.height()};
        case NSRectEdge::maxX:
            return {b.minX(), b.minY(), b.width() - a, b.height()};
        }
        return b;
    }

    void drawRect(CGRect) override {
        const CGRect p = panel();
        const CGFloat a = NSPopover::arrowLength;
        // The arrow's base on the panel's edge and its tip, a away outwards.
        const bool alongX = arrowEdge == NSRectEdge::minY || arrowEdge == NSRectEdge::maxY;
        const CGFloat base = arrowEdge == NSRectEdge::minY   ? p.minY()
                             : arrowEdge == NSRectEdge::maxY ? p.maxY()
                             : arrowEdge == NSRectEdge::minX ? p.minX()
                                                             : p.maxX();
        const CGFloat out = arrowEdge == NSRectEdge::minY || arrowEdge == NSRectEdge::minX ? -a : a;
        auto point = [&](CGFloat along, CGFloat across) {
            return alongX ? CGPoint{along, across} : CGPoint{across, along};
        };
        auto shape = NSBezierPath::roundedRect(p, 6, 6);
        auto arrow = NSBezierPath::make();
        arrow->move(point(arrowAt - a, base));
        arrow->line(point(arrowAt, base + out));
        arrow->line(point(arrowAt + a, base));
        arrow->close();
        shape->append(*arrow);
        NSColor::controlBackgroundColor()->setFill();
        shape->fill();
        NSColor::separatorColor()->setStroke();
        shape->stroke();
    }

  private:
    NSRectEdge arrowEdge;
    CGFloat arrowAt; // along the edge, in the window's coordinates
};

NSRectEdge opposite(NSRectEdge e) {
    switch (e) {
    case NSRectEdge::minX:
        return NSRectEdge::maxX;
    case NSRectEdge::maxX:
        return NSRectEdge::minX;
    case NSRectEdge::minY:
        return NSRectEdge::maxY;
    case NSRectEdge::maxY:
        return NSRectEdge::minY;
    }
    return e;
}
} // namespace

void NSPopover::setContentSize(CGSize newSize) {
    Runtime::assertMainThread("NSPopover.contentSize");
    size = newSize;
    if (window_)
        place();
}

void NSPopover::show(CGRect relativeTo, const std::shared_ptr<NSView>& positioningView,
                     NSRectEdge preferred) {
    Runtime::assertMainThread("NSPopover.show");
    if (!positioningView || !positioningView->window())
        return;
    rect = relativeTo;
    edge = preferred;
    view = positioningView;
    place();
}

void NSPopover::place() {
    auto v = view.lock();
    auto parent = v ? v->window() : nullptr;
    if (!parent)
        return close();
    // The rectangle in the parent window's coordinates (y up), and the edge there.
    const CGRect r = v->convertToView(rect, nullptr);
    NSRectEdge side = edge;
    if (v->isFlipped() && (side == NSRectEdge::minY || side == NSRectEdge::maxY))
        side = side == NSRectEdge::minY ? NSRectEdge::maxY : NSRectEdge::minY;
    const bool vertical = side == NSRectEdge::minY || side == NSRectEdge::maxY;
    const CGSize whole = vertical ? CGSize{size.width, size.height + arrowLength}
                                  : CGSize{size.width + arrowLength, size.height};
    CGPoint origin;
    switch (side) {
    case NSRectEdge::maxY:
        origin = {r.midX() - whole.width / 2, r.maxY()};
        break;
    case NSRectEdge::minY:
        origin = {r.midX() - whole.width / 2, r.minY() - whole.height};
        break;
    case NSRectEdge::maxX:
        origin = {r.maxX(), r.midY() - whole.height / 2};
        break;
    case NSRectEdge::minX:
        origin = {r.minX() - whole.width, r.midY() - whole.height / 2};
        break;
    }
    // Kept within the parent along the edge.
    const CGSize room = parent->contentSize();
    if (vertical)
        origin.x = std::clamp<CGFloat>(origin.x, 0, std::max<CGFloat>(0, room.width - whole.width));
    else
        origin.y =
            std::clamp<CGFloat>(origin.y, 0, std::max<CGFloat>(0, room.height - whole.height));
    const CGFloat arrowAt = vertical ? r.midX() - origin.x : r.midY() - origin.y;
    // Placed on one edge of the rectangle, the window faces it with the other.
    auto frameView = make<PopoverFrameView>(CGRect{{0, 0}, whole}, opposite(side), arrowAt);
    if (!window_) {
        window_ = make<NSWindow>(CGRect{{0, 0}, whole});
        window_->backgroundColor = NSColor::clear();
    } else {
        window_->setContentSize(whole);
    }
    window_->appearance = appearance;
    window_->setBackingScaleFactor(parent->backingScaleFactor());
    if (contentViewController) {
        auto content = contentViewController->view();
        content->removeFromSuperview();
        content->setFrame(frameView->panel());
        frameView->addSubview(content);
    }
    window_->setContentView(frameView);
    const CGRect screen = parent->convertRectToScreen({origin, whole});
    window_->setFrameOrigin(screen.origin);
    parent->addChildWindow(window_);
    parent->invalidate({origin, whole});
}

void NSPopover::close() {
    Runtime::assertMainThread("NSPopover.close");
    if (!window_)
        return;
    if (auto parent = window_->parentWindow())
        parent->removeChildWindow(window_);
    if (contentViewController && contentViewController->isViewLoaded())
        contentViewController->view()->removeFromSuperview();
    window_.reset();
    view.reset();
}

void NSPopover::performClose(NSObject*) {
    Runtime::assertMainThread("NSPopover.performClose");
    auto object = delegate.lock();
    if (auto* d = dynamic_cast<NSPopoverDelegate*>(object.get());
        d && !d->popoverShouldClose(*this))
        return;
    close();
}
