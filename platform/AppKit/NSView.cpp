#include "AppKit/NSView.h"

#include <algorithm>
#include <cmath>

#include "AppKit/CALayer.h"
#include "AppKit/NSColor.h"
#include "AppKit/NSGestureRecognizer.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "Foundation/NotificationCenter.h"

std::shared_ptr<NSTrackingArea> NSTrackingArea::make(CGRect rect, unsigned options,
                                                     std::weak_ptr<NSResponder> owner) {
    auto area = ::make<NSTrackingArea>(rect, options, std::move(owner));
    area->inside = (options & assumeInside) != 0;
    return area;
}

NSView::NSView(CGRect frame) : frame_(frame), bounds_{{0, 0}, frame.size} {}

void NSView::setFrame(CGRect frame) {
    Runtime::assertMainThread("NSView.setFrame");
    CGRect oldFrame = frame_;
    CGSize old = frame_.size;
    // What the view covered needs redrawing as well as what it covers now.
    if (!(frame_ == frame))
        invalidateFrameInSuperview();
    frame_ = frame;
    bounds_.size = frame.size;
    if (!(old == frame.size)) {
        layoutNeeded = true;
        frameSizeDidChange(old);
        updateTrackingAreas();
    }
    if (!(oldFrame == frame))
        if (auto w = window())
            w->invalidateCursorRects(*this);
    setNeedsDisplay(true);
    if (postsFrameChangedNotifications && !(oldFrame == frame))
        NotificationCenter::defaultCenter().post(frameDidChangeNotification, sharedAs<NSObject>());
}

void NSView::setBoundsOrigin(CGPoint origin) {
    CGPoint old = bounds_.origin;
    bounds_.origin = origin;
    setNeedsDisplay(true);
    if (postsBoundsChangedNotifications && !(old == origin))
        NotificationCenter::defaultCenter().post(boundsDidChangeNotification, sharedAs<NSObject>());
}

void NSView::rotateByAngle(CGFloat degrees) {
    Runtime::assertMainThread("NSView.rotate(byDegrees:)");
    rotation = std::fmod(rotation + degrees, 360);
    if (auto parent = superview())
        parent->setNeedsDisplayInRect(frame_.insetBy(-focusRingOutset, -focusRingOutset));
    setNeedsDisplay(true);
}

void NSView::invalidateIntrinsicContentSize() {
    layoutNeeded = true;
    if (auto parent = superview())
        parent->setNeedsLayout(true);
}

void NSView::setHidden(bool hide) {
    if (hidden == hide)
        return;
    if (hide)
        invalidateFrameInSuperview();
    hidden = hide;
    if (!hide)
        invalidateFrameInSuperview();
}

void NSView::invalidateFrameInSuperview() {
    // The frame is in the superview's coordinates (the window's for a content view).
    if (auto s = superview())
        s->setNeedsDisplayInRect(frame_);
    else if (auto w = window(); w && w->contentView().get() == this)
        w->invalidate(frame_);
}

bool NSView::isHiddenOrHasHiddenAncestor() const {
    for (const NSView* v = this; v; v = v->superview_.lock().get())
        if (v->hidden)
            return true;
    return false;
}

std::shared_ptr<NSWindow> NSView::window() const {
    return window_.lock();
}

void NSView::addSubview(std::shared_ptr<NSView> view) {
    size_t end = subviews_.size();
    insertSubview(std::move(view), end);
}

void NSView::addSubview(std::shared_ptr<NSView> view, Ordering place,
                        const std::shared_ptr<NSView>& relativeTo) {
    auto it = std::find(subviews_.begin(), subviews_.end(), relativeTo);
    size_t index;
    if (it == subviews_.end())
        index = place == Ordering::above ? subviews_.size() : 0;
    else
        index = size_t(it - subviews_.begin()) + (place == Ordering::above ? 1 : 0);
    insertSubview(std::move(view), index);
}

void NSView::insertSubview(std::shared_ptr<NSView> view, size_t index) {
    Runtime::assertMainThread("NSView.addSubview");
    if (!view || view.get() == this)
        return;
    if (isDescendant(*view))
        fatalError("NSView: a view cannot be added to its own subview");
    if (view->superview().get() != this)
        view->viewWillMoveToSuperview(sharedAs<NSView>());
    if (view->superview().get() == this) {
        // Re-adding moves the view to the new position.
        auto it = std::find(subviews_.begin(), subviews_.end(), view);
        size_t old = size_t(it - subviews_.begin());
        subviews_.erase(it);
        if (old < index)
            --index;
    } else {
        view->detachFromSuperview();
    }
    index = std::min(index, subviews_.size());
    subviews_.insert(subviews_.begin() + std::ptrdiff_t(index), view);
    view->superview_ = weakAs<NSView>();
    view->linkResponders(weakAs<NSResponder>());
    view->viewDidMoveToSuperview();
    view->setWindow(window_);
    view->invalidateFrameInSuperview();
    view->dirty = true;
    didAddSubview(*view);
}

void NSView::removeFromSuperview() {
    Runtime::assertMainThread("NSView.removeFromSuperview");
    if (!superview())
        return;
    viewWillMoveToSuperview(nullptr);
    detachFromSuperview();
}

void NSView::detachFromSuperview() {
    auto parent = superview();
    if (!parent)
        return;
    // Keep this view alive while it leaves its parent's list.
    auto self = sharedAs<NSView>();
    if (!hidden)
        parent->setNeedsDisplayInRect(frame_);
    auto& list = parent->subviews_;
    list.erase(std::remove(list.begin(), list.end(), self), list.end());
    superview_.reset();
    linkResponders({});
    viewDidMoveToSuperview();
    setWindow({});
}

void NSView::setWindow(const std::weak_ptr<NSWindow>& window) {
    auto newWindow = window.lock();
    if (newWindow == window_.lock())
        return;
    viewWillMoveToWindow(newWindow);
    if (auto old = window_.lock()) {
        // A view leaving its window gives up first responder and the mouse.
        if (old->first.lock().get() == this)
            old->setFirst(nullptr);
        if (old->pressedView.lock().get() == this)
            old->pressedView.reset();
        old->invalidateCursorRects(*this);
    }
    if (newWindow)
        newWindow->invalidateCursorRects(*this);
    window_ = window;
    for (auto& area : areas)
        area->inside = false;
    viewDidMoveToWindow();
    updateTrackingAreas();
    for (auto& sub : subviews_)
        sub->setWindow(window);
}

void NSView::linkResponders(const std::weak_ptr<NSResponder>& parent) {
    if (auto c = controller.lock()) {
        setNextResponder(c);
        c->setNextResponder(parent);
    } else {
        setNextResponder(parent);
    }
}

bool NSView::isDescendant(const NSView& of) const {
    for (const NSView* v = this; v; v = v->superview_.lock().get())
        if (v == &of)
            return true;
    return false;
}

CGAffineTransform NSView::transformToSuperview() const {
    auto parent = superview();
    bool parentFlipped = parent ? parent->isFlipped() : false;
    CGAffineTransform t = CGAffineTransform::translation(-bounds_.origin.x, -bounds_.origin.y);
    // Opposite y axes: y_s = frame.y + frame.height − y.
    if (isFlipped() != parentFlipped)
        t = t.concatenating({1, 0, 0, -1, 0, frame_.size.height});
    return t.concatenating(CGAffineTransform::translation(frame_.origin.x, frame_.origin.y));
}

CGAffineTransform NSView::transformToWindow() const {
    CGAffineTransform t = transformToSuperview();
    for (auto v = superview(); v; v = v->superview())
        t = t.concatenating(v->transformToSuperview());
    return t;
}

CGPoint NSView::convertFromView(CGPoint point, const NSView* view) const {
    CGPoint inWindow = view ? view->transformToWindow().apply(point) : point;
    return transformToWindow().inverted().apply(inWindow);
}

CGPoint NSView::convertToView(CGPoint point, const NSView* view) const {
    CGPoint inWindow = transformToWindow().apply(point);
    return view ? view->transformToWindow().inverted().apply(inWindow) : inWindow;
}

CGRect NSView::convertFromView(const CGRect& rect, const NSView* view) const {
    CGRect inWindow = view ? rect.applying(view->transformToWindow()) : rect;
    return inWindow.applying(transformToWindow().inverted());
}

CGRect NSView::convertToView(const CGRect& rect, const NSView* view) const {
    CGRect inWindow = rect.applying(transformToWindow());
    return view ? inWindow.applying(view->transformToWindow().inverted()) : inWindow;
}

std::shared_ptr<NSView> NSView::hitTest(CGPoint pointInSuperview) {
    if (hidden)
        return nullptr;
    CGPoint p = transformToSuperview().inverted().apply(pointInSuperview);
    if (!bounds_.contains(p))
        return nullptr;
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it)
        if (auto hit = (*it)->hitTest(p))
            return hit;
    return sharedAs<NSView>();
}

bool NSView::performKeyEquivalent(const NSEvent& event) {
    if (hidden)
        return false;
    auto views = subviews_; // a key equivalent may change the hierarchy
    for (auto it = views.rbegin(); it != views.rend(); ++it)
        if ((*it)->performKeyEquivalent(event))
            return true;
    return false;
}

void NSView::setNeedsDisplay(bool needs) {
    Runtime::assertMainThread("NSView.setNeedsDisplay");
    if (needs)
        setNeedsDisplayInRect(bounds_);
    else
        dirty = false;
}

void NSView::setNeedsDisplayInRect(CGRect rect) {
    Runtime::assertMainThread("NSView.setNeedsDisplayInRect");
    dirty = true;
    if (isHiddenOrHasHiddenAncestor())
        return;
    if (auto w = window())
        w->invalidate(convertToView(rect.intersection(bounds_), nullptr));
}

void NSView::display() {
    Runtime::assertMainThread("NSView.display");
    if (auto w = window())
        w->display();
}

void NSView::drawContent(CGContext& context) {
    dirty = false;
    // Only the part of the bounds inside the clip is being redrawn.
    CGRect dirtyRect = bounds_.intersection(context.clipBoundingBox());
    if (!dirtyRect.isNull()) {
        if (backingLayer && backingLayer->backgroundColor) {
            context.saveGState();
            context.setFillColor(*backingLayer->backgroundColor);
            context.fillRect(bounds_);
            context.restoreGState();
        }
        drawRect(dirtyRect);
    }
    for (const auto& sub : subviews_)
        if (!drawsSubviewInContent(*sub))
            sub->drawTree(context);
}

void NSView::drawTree(CGContext& context) {
    if (hidden)
        return;
    const CGFloat opacity = alpha * (backingLayer ? backingLayer->opacity() : 1);
    if (opacity <= 0) {
        dirty = false;
        return;
    }
    context.saveGState();
    context.concatenate(transformToSuperview());
    // A translucent view and its subviews are drawn as one, then shown at its opacity.
    const bool translucent = opacity < 1;
    if (translucent) {
        context.setAlpha(context.alpha() * opacity);
        context.beginTransparencyLayer();
    }
    // A view is drawn where it meets the clip (a window redraws its dirty region); its
    // subviews are asked each in turn, as they may reach outside it.
    if (context.intersectsClip(bounds_)) {
        if (clips)
            context.clip(bounds_);
        drawContent(context);
        drawSystemFocusRing(context);
    } else if (!clips) {
        dirty = false;
        for (const auto& sub : subviews_)
            if (!drawsSubviewInContent(*sub))
                sub->drawTree(context);
    }
    if (translucent)
        context.endTransparencyLayer();
    context.restoreGState();
}

void NSView::drawSystemFocusRing(CGContext& context) {
    auto w = window();
    if (!w || !w->isKeyWindow() || w->firstResponder().get() != this ||
        focusRingType() == NSFocusRingType::none)
        return;
    const CGRect mask = focusRingMaskBounds();
    if (mask.isEmpty())
        return;
    // The ring follows the mask only when the mask draws something.
    auto probe = CGContext::makeBitmap(bounds_.size, {.recordsDisplayList = true});
    {
        NSGraphicsContext::Scope scope(probe);
        probe->translateBy(-bounds_.origin.x, -bounds_.origin.y);
        drawFocusRingMask();
    }
    if (probe->displayList().empty())
        return;
    context.saveGState();
    context.setStrokeColor(NSColor::keyboardFocusIndicatorColor()->cgColor());
    context.setLineWidth(3);
    context.strokePath(CGPath::roundedRect(mask.insetBy(-2, -2), 4, 4));
    context.restoreGState();
}

void NSView::setAlphaValue(CGFloat value) {
    Runtime::assertMainThread("NSView.alphaValue");
    if (value == alpha)
        return;
    alpha = value;
    invalidateFrameInSuperview();
    setNeedsDisplay(true);
}

namespace {
// A view's own backing layer: its changes redraw the view.
class BackingLayer : public CALayer {
  public:
    explicit BackingLayer(std::weak_ptr<NSView> view) : view(std::move(view)) {}

  protected:
    void appearanceDidChange() override {
        if (auto v = view.lock())
            v->setNeedsDisplay(true);
    }

  private:
    std::weak_ptr<NSView> view;
};
} // namespace

void NSView::setWantsLayer(bool wants) {
    Runtime::assertMainThread("NSView.wantsLayer");
    if (wants == wantsLayer())
        return;
    backingLayer = wants ? make<BackingLayer>(weakAs<NSView>()) : nullptr;
    setNeedsDisplay(true);
}

void NSView::addCursorRect(CGRect rect, std::shared_ptr<NSCursor> cursor) {
    if (cursor && !rect.isEmpty())
        cursorRects_.push_back({rect, std::move(cursor)});
}

void NSView::rightMouseDown(const NSEvent& event) {
    if (auto contextMenu = menuForEvent(event)) {
        contextMenu->popUp(nullptr, convertFromView(event.locationInWindow(), nullptr),
                           sharedAs<NSView>());
        return;
    }
    NSResponder::rightMouseDown(event);
}

void NSView::drawHierarchy(const std::shared_ptr<CGContext>& context) {
    Runtime::assertMainThread("NSView.drawHierarchy");
    auto current = NSGraphicsContext::current();
    if (current && current->sharedCGContext() == context) {
        drawTree(*context);
    } else {
        NSGraphicsContext::Scope scope(context);
        drawTree(*context);
    }
}

std::shared_ptr<CGContext> NSView::cacheDisplay(CGFloat scale, bool record) {
    Runtime::assertMainThread("NSView.cacheDisplay");
    auto context =
        CGContext::makeBitmap(bounds_.size, {.scale = scale,
                                             .origin = isFlipped() ? CGContext::Origin::topLeft
                                                                   : CGContext::Origin::bottomLeft,
                                             .recordsDisplayList = record});
    NSGraphicsContext::Scope scope(context);
    context->translateBy(-bounds_.origin.x, -bounds_.origin.y);
    drawContent(*context);
    return context;
}

void NSView::layoutSubtreeIfNeeded() {
    if (layoutNeeded) {
        layoutNeeded = false;
        layout();
    }
    // Copy: layout may add or remove subviews.
    auto children = subviews_;
    for (const auto& sub : children)
        sub->layoutSubtreeIfNeeded();
}

void NSView::addGestureRecognizer(std::shared_ptr<NSGestureRecognizer> recognizer) {
    Runtime::assertMainThread("NSView.addGestureRecognizer");
    if (!recognizer ||
        std::find(recognizers.begin(), recognizers.end(), recognizer) != recognizers.end())
        return;
    if (auto old = recognizer->view())
        old->removeGestureRecognizer(recognizer);
    recognizer->view_ = weakAs<NSView>();
    recognizers.push_back(std::move(recognizer));
}

void NSView::removeGestureRecognizer(const std::shared_ptr<NSGestureRecognizer>& recognizer) {
    auto it = std::find(recognizers.begin(), recognizers.end(), recognizer);
    if (it == recognizers.end())
        return;
    (*it)->view_.reset();
    recognizers.erase(it);
}

void NSView::addTrackingArea(std::shared_ptr<NSTrackingArea> area) {
    if (area && std::find(areas.begin(), areas.end(), area) == areas.end())
        areas.push_back(std::move(area));
}

void NSView::removeTrackingArea(const std::shared_ptr<NSTrackingArea>& area) {
    areas.erase(std::remove(areas.begin(), areas.end(), area), areas.end());
}

bool NSView::isMouseInside() const {
    return std::any_of(areas.begin(), areas.end(), [](const auto& a) { return a->inside; });
}
