#include "AppKit/NSScrollView.h"

#include <algorithm>

#include "AppKit/NSBezierPath.h"
#include "AppKit/NSTableView.h"

// MARK: - Views' scroll views

std::shared_ptr<NSScrollView> NSView::enclosingScrollView() const {
    for (auto v = superview(); v; v = v->superview())
        if (auto scroll = std::dynamic_pointer_cast<NSScrollView>(v))
            return scroll;
    return nullptr;
}

// MARK: - The clip view

NSClipView::NSClipView(CGRect frame) : NSView(frame) {
    setClipsToBounds(true);
}

void NSClipView::setDocumentView(std::shared_ptr<NSView> view) {
    Runtime::assertMainThread("NSClipView.documentView");
    if (auto old = document.lock(); old && old != view)
        old->removeFromSuperview();
    document = view;
    if (view)
        addSubview(view);
    scrollToPoint(bounds().origin);
}

bool NSClipView::isFlipped() const {
    auto d = document.lock();
    return d ? d->isFlipped() : true;
}

CGRect NSClipView::documentRect() const {
    auto d = document.lock();
    return d ? d->frame() : CGRect{};
}

CGRect NSClipView::documentVisibleRect() const {
    return bounds().intersection(documentRect());
}

CGPoint NSClipView::constrainScrollPoint(CGPoint p) const {
    const CGRect doc = documentRect();
    const CGSize size = bounds().size;
    // Within [min, max − size], or at min when the document is the smaller.
    auto hold = [](CGFloat v, CGFloat lo, CGFloat extent, CGFloat room) {
        return std::max(lo, std::min(v, lo + extent - room));
    };
    return {hold(p.x, doc.minX(), doc.width(), size.width),
            hold(p.y, doc.minY(), doc.height(), size.height)};
}

void NSClipView::scrollToPoint(CGPoint point) {
    Runtime::assertMainThread("NSClipView.scroll(to:)");
    const CGPoint p = constrainScrollPoint(point);
    if (!(p == bounds().origin))
        setBoundsOrigin(p);
    if (auto scroll = std::dynamic_pointer_cast<NSScrollView>(superview()))
        scroll->reflectScrolledClipView(*this);
}

void NSClipView::drawRect(CGRect dirtyRect) {
    if (!drawsBackground || !backgroundColor)
        return;
    backgroundColor->setFill();
    NSBezierPath::fillRect(dirtyRect);
}

// MARK: - The scroll view

NSScrollView::NSScrollView(CGRect frame) : NSView(frame) {}

void NSScrollView::didInit() {
    NSView::didInit();
    clip = make<NSClipView>(CGRect{{0, 0}, frame().size});
    addSubview(clip);
}

std::shared_ptr<NSView> NSScrollView::headerOfDocument() const {
    auto table = std::dynamic_pointer_cast<NSTableView>(documentView());
    return table ? table->headerView() : nullptr;
}

void NSScrollView::setDocumentView(std::shared_ptr<NSView> view) {
    Runtime::assertMainThread("NSScrollView.documentView");
    clip->setDocumentView(std::move(view));
    tile();
}

void NSScrollView::tile() {
    Runtime::assertMainThread("NSScrollView.tile");
    const CGSize size = frame().size;
    auto header = headerOfDocument();
    CGFloat top = 0;
    if (header) {
        if (!headerClip) {
            headerClip = make<NSClipView>();
            addSubview(headerClip);
        }
        if (headerClip->documentView() != header)
            headerClip->setDocumentView(header);
        top = header->frame().height();
        headerClip->setFrame({0, 0, size.width, top});
    } else if (headerClip) {
        headerClip->removeFromSuperview();
        headerClip.reset();
    }
    clip->setFrame({0, top, size.width, std::max<CGFloat>(0, size.height - top)});
    clip->scrollToPoint(clip->bounds().origin);
}

void NSScrollView::reflectScrolledClipView(NSClipView& scrolled) {
    if (&scrolled != clip.get() || !headerClip)
        return;
    const CGPoint at = headerClip->bounds().origin;
    if (at.x != clip->bounds().minX())
        headerClip->scrollToPoint({clip->bounds().minX(), at.y});
}

void NSScrollView::layout() {
    NSView::layout();
    tile();
}

void NSScrollView::frameSizeDidChange(CGSize) {
    tile();
}

void NSScrollView::scrollWheel(const NSEvent& event) {
    const CGFloat unit = event.hasPreciseScrollingDeltas() ? 1 : lineScroll;
    const CGFloat dx = event.scrollingDeltaX() * unit, dy = event.scrollingDeltaY() * unit;
    const CGPoint at = clip->bounds().origin;
    // A positive delta shows what lies above (or to the left).
    const CGFloat down = clip->isFlipped() ? -dy : dy;
    clip->scrollToPoint({at.x - dx, at.y + down});
}

void NSScrollView::drawRect(CGRect dirtyRect) {
    if (!drawsBackground || !backgroundColor)
        return;
    backgroundColor->setFill();
    NSBezierPath::fillRect(dirtyRect);
}
