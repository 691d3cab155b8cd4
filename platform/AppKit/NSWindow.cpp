#include "AppKit/NSWindow.h"

#include "Foundation/NotificationCenter.h"

#include "AppKit/CAKeyframeAnimation.h"
#include "AppKit/NSApplication.h"
#include "AppKit/NSCursor.h"
#include "AppKit/NSEventState.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSTextView.h"
#include "AppKit/NSViewController.h"

#include <algorithm>
#include <map>

NSWindow::NSWindow(CGRect contentRect, uint64_t styleMask, NSBackingStoreType backing, bool defer)
    : styleMask(styleMask), origin(contentRect.origin), size(contentRect.size), backing(backing),
      deferred(defer) {}

namespace {
// Frames kept under their autosave names for the life of the process.
struct AutosavedFrames {
    std::map<std::string, CGRect> frames;
    std::map<std::string, std::weak_ptr<NSWindow>> owners;
};
AutosavedFrames& autosaved() {
    static AutosavedFrames store;
    return store;
}
} // namespace

CGSize NSWindow::preferredContentSize(NSViewController& controller) {
    Runtime::assertMainThread("NSWindow.windowWithContentViewController");
    CGSize wanted = controller.preferredContentSize;
    if (wanted.width <= 0 || wanted.height <= 0)
        wanted = controller.view()->frame().size;
    return wanted;
}

void NSWindow::adoptContentViewController(std::shared_ptr<NSViewController> controller) {
    title = controller->title;
    setContentViewController(std::move(controller));
}

CGRect NSWindow::frame() const {
    return frameRectForContentRect({origin, size});
}

CGRect NSWindow::frameRectForContentRect(CGRect rect) const {
    if ((styleMask & titled) && !(styleMask & fullSizeContentView))
        rect.size.height += titleBarHeight;
    return rect;
}

CGRect NSWindow::contentRectForFrameRect(CGRect rect) const {
    if ((styleMask & titled) && !(styleMask & fullSizeContentView))
        rect.size.height = std::max<CGFloat>(0, rect.size.height - titleBarHeight);
    return rect;
}

CGRect NSWindow::contentLayoutRect() const {
    CGRect r{{0, 0}, size};
    if ((styleMask & titled) && (styleMask & fullSizeContentView))
        r.size.height = std::max<CGFloat>(0, r.size.height - titleBarHeight);
    return r;
}

CGRect NSWindow::convertRectToScreen(CGRect rect) const {
    rect.origin.x += origin.x;
    rect.origin.y += origin.y;
    return rect;
}

void NSWindow::setFrame(CGRect newFrame, bool display) {
    Runtime::assertMainThread("NSWindow.setFrame");
    CGRect c = contentRectForFrameRect(newFrame);
    origin = c.origin;
    if (c.size.width != size.width || c.size.height != size.height)
        setContentSize(c.size);
    saveFrame();
    if (display)
        requestDisplay();
}

void NSWindow::setFrameOrigin(CGPoint newOrigin) {
    setFrame({newOrigin, frame().size}, false);
}

void NSWindow::orderOut(NSObject*) {
    Runtime::assertMainThread("NSWindow.orderOut");
    visible = false;
    resignKeyWindow();
    // A copy: the hook may clear itself.
    if (auto hook = orderedOut)
        hook();
}

void NSWindow::resignKeyWindow() {
    Runtime::assertMainThread("NSWindow.resignKeyWindow");
    auto& app = NSApplication::shared();
    if (app.key.lock().get() != this)
        return;
    app.key.reset();
    NotificationCenter::defaultCenter().post(didResignKeyNotification, sharedAs<NSObject>());
}

bool NSWindow::isKeyWindow() const {
    return NSApplication::shared().key.lock().get() == this;
}

void NSWindow::makeKeyWindow() {
    Runtime::assertMainThread("NSWindow.makeKeyWindow");
    auto& app = NSApplication::shared();
    auto previous = app.key.lock();
    if (previous.get() == this)
        return;
    if (previous)
        previous->resignKeyWindow();
    app.key = weakAs<NSWindow>();
    NotificationCenter::defaultCenter().post(didBecomeKeyNotification, sharedAs<NSObject>());
}

void NSWindow::setBackingScaleFactor(CGFloat factor) {
    Runtime::assertMainThread("NSWindow.setBackingScaleFactor");
    if (factor == scale)
        return;
    scale = factor;
    NotificationCenter::defaultCenter().post(didChangeBackingPropertiesNotification,
                                             sharedAs<NSObject>());
}

void NSWindow::beginSheet(std::shared_ptr<NSWindow> newSheet,
                          std::function<void(NSModalResponse)> completionHandler) {
    Runtime::assertMainThread("NSWindow.beginSheet");
    if (!newSheet || sheet)
        return; // one sheet at a time
    sheet = std::move(newSheet);
    sheet->parent = weakAs<NSWindow>();
    sheetCompletion = std::move(completionHandler);
    sheet->orderFront();
    if (sheet->canBecomeKeyWindow())
        sheet->makeKeyWindow();
}

void NSWindow::endSheet(NSWindow& ended, NSModalResponse returnCode) {
    Runtime::assertMainThread("NSWindow.endSheet");
    if (sheet.get() != &ended)
        return;
    auto done = std::move(sheet);
    auto completion = std::exchange(sheetCompletion, {});
    done->parent.reset();
    done->orderOut();
    makeKeyWindow();
    if (completion)
        completion(returnCode);
}

void NSWindow::keyDown(const NSEvent& event) {
    bool escape = event.characters() == "\x1b" || event.keyCode() == 53;
    bool commandPeriod =
        event.characters() == "." && (event.modifierFlags() & NSEvent::ModifierFlags::command);
    const auto key = event.specialKey();
    const bool tab = key == NSEventSpecialKey::tab || key == NSEventSpecialKey::backTab;
    const bool back = key == NSEventSpecialKey::backTab || (event.modifierFlags() & NSEvent::shift);
    if (escape || commandPeriod)
        cancelOperation(nullptr);
    else if (tab && back)
        selectPreviousKeyView(nullptr);
    else if (tab)
        selectNextKeyView(nullptr);
    else
        NSResponder::keyDown(event);
}

void NSWindow::makeKeyAndOrderFront(NSObject* sender) {
    orderFront(sender);
    makeKeyWindow();
}

bool NSWindow::setFrameAutosaveName(const std::string& name) {
    Runtime::assertMainThread("NSWindow.setFrameAutosaveName");
    auto& store = autosaved();
    if (!name.empty()) {
        auto owner = store.owners[name].lock();
        if (owner && owner.get() != this)
            return false;
    }
    if (!autosaveName.empty())
        store.owners.erase(autosaveName);
    autosaveName = name;
    if (name.empty())
        return true;
    store.owners[name] = weakAs<NSWindow>();
    if (auto it = store.frames.find(name); it != store.frames.end())
        setFrame(it->second, false);
    else
        saveFrame();
    return true;
}

void NSWindow::saveFrame() {
    if (!autosaveName.empty())
        autosaved().frames[autosaveName] = frame();
}

void NSWindow::didInit() {
    setContentView(make<NSView>(CGRect{{0, 0}, size}));
    firstResponderSubject.send(firstResponder()); // "none": the window itself
}

void NSWindow::setContentSize(CGSize newSize) {
    Runtime::assertMainThread("NSWindow.setContentSize");
    size = newSize;
    saveFrame();
    if (content)
        content->setFrame({{0, 0}, size});
}

void NSWindow::setContentView(std::shared_ptr<NSView> view) {
    Runtime::assertMainThread("NSWindow.setContentView");
    if (content == view)
        return;
    if (content) {
        content->linkResponders({});
        content->setWindow({});
    }
    content = std::move(view);
    if (!content)
        return;
    content->removeFromSuperview();
    content->setFrame({{0, 0}, size});
    content->linkResponders(weakAs<NSResponder>());
    content->setWindow(weakAs<NSWindow>());
    invalidate({{0, 0}, size});
}

void NSWindow::setContentViewController(std::shared_ptr<NSViewController> controller) {
    Runtime::assertMainThread("NSWindow.setContentViewController");
    contentController = std::move(controller);
    if (!contentController)
        return;
    CGSize wanted = contentController->preferredContentSize;
    if (wanted.width > 0 && wanted.height > 0)
        setContentSize(wanted);
    setContentView(contentController->view());
}

std::shared_ptr<NSResponder> NSWindow::firstResponder() const {
    if (auto r = first.lock())
        return r;
    return std::const_pointer_cast<NSWindow>(
        std::static_pointer_cast<const NSWindow>(shared_from_this()));
}

void NSWindow::setFirst(const std::shared_ptr<NSResponder>& responder) {
    ++firstChanges;
    first = responder;
    firstResponderSubject.send(firstResponder());
}

bool NSWindow::makeFirstResponder(const std::shared_ptr<NSResponder>& responder) {
    Runtime::assertMainThread("NSWindow.makeFirstResponder");
    auto current = firstResponder();
    if (current == responder)
        return true;
    if (current.get() != this && !current->resignFirstResponder())
        return false;
    if (first.lock())
        setFirst(nullptr);
    if (!responder || responder.get() == this)
        return true;
    if (!responder->acceptsFirstResponder())
        return false;
    const unsigned before = firstChanges;
    if (!responder->becomeFirstResponder())
        return false;
    // A responder that handed the role on while becoming it (a text field to its field
    // editor) leaves it there.
    if (firstChanges == before)
        setFirst(responder);
    return true;
}

std::shared_ptr<NSText> NSWindow::fieldEditor(bool create, const std::shared_ptr<NSObject>&) {
    Runtime::assertMainThread("NSWindow.fieldEditor");
    if (!editor && create) {
        auto view = make<NSTextView>();
        view->isFieldEditor = true;
        editor = view;
    }
    return editor;
}

namespace {
bool canBeKeyView(const NSView& view) {
    auto* text = dynamic_cast<const NSText*>(&view);
    return view.acceptsFirstResponder() && !view.isHiddenOrHasHiddenAncestor() &&
           !(text && text->isFieldEditor);
}
void collectViews(const std::shared_ptr<NSView>& view, std::vector<std::shared_ptr<NSView>>& out) {
    out.push_back(view);
    for (const auto& sub : view->subviews())
        collectViews(sub, out);
}
} // namespace

std::shared_ptr<NSView> NSWindow::keyViewFollowing(NSView& view) const {
    // Along the explicit links first.
    std::vector<const NSView*> seen{&view};
    for (auto next = view.nextKeyView.lock(); next; next = next->nextKeyView.lock()) {
        if (std::find(seen.begin(), seen.end(), next.get()) != seen.end())
            break;
        if (canBeKeyView(*next) && next->window().get() == this)
            return next;
        seen.push_back(next.get());
    }
    if (view.nextKeyView.lock())
        return nullptr;
    // Else the window's order, going round.
    std::vector<std::shared_ptr<NSView>> order;
    if (content)
        collectViews(content, order);
    auto at = std::find_if(order.begin(), order.end(), [&](auto& v) { return v.get() == &view; });
    const std::size_t start =
        at == order.end() ? order.size() - 1 : std::size_t(at - order.begin());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        const auto& candidate = order[(start + i) % order.size()];
        if (candidate.get() != &view && canBeKeyView(*candidate))
            return candidate;
    }
    return nullptr;
}

std::shared_ptr<NSView> NSWindow::keyViewPreceding(NSView& view) const {
    // The view whose next key view this one is, going round the loop once.
    std::vector<std::shared_ptr<NSView>> order;
    if (content)
        collectViews(content, order);
    for (const auto& candidate : order)
        if (candidate.get() != &view && canBeKeyView(*candidate))
            if (auto next = keyViewFollowing(*candidate); next.get() == &view)
                return candidate;
    return nullptr;
}

std::shared_ptr<NSView> NSWindow::keyLoopView() const {
    auto responder = first.lock();
    if (auto text = std::dynamic_pointer_cast<NSText>(responder))
        if (auto edited = std::dynamic_pointer_cast<NSView>(text->delegate()))
            return edited;
    return std::dynamic_pointer_cast<NSView>(responder);
}

void NSWindow::selectKeyViewFollowingView(NSView& view) {
    if (auto next = keyViewFollowing(view))
        makeFirstResponder(next);
}

void NSWindow::selectKeyViewPrecedingView(NSView& view) {
    if (auto previous = keyViewPreceding(view))
        makeFirstResponder(previous);
}

void NSWindow::selectNextKeyView(NSObject*) {
    Runtime::assertMainThread("NSWindow.selectNextKeyView");
    if (auto from = keyLoopView())
        return selectKeyViewFollowingView(*from);
    if (content)
        if (auto next = keyViewFollowing(*content))
            makeFirstResponder(next);
}

void NSWindow::selectPreviousKeyView(NSObject*) {
    Runtime::assertMainThread("NSWindow.selectPreviousKeyView");
    if (auto from = keyLoopView())
        return selectKeyViewPrecedingView(*from);
    if (content)
        if (auto previous = keyViewPreceding(*content))
            makeFirstResponder(previous);
}

void NSWindow::sendEvent(NSEvent event) {
    Runtime::assertMainThread("NSWindow.sendEvent");
    event.window_ = weakAs<NSWindow>();
    // Queued events go first, in order.
    if (nesting > 0 || (dispatching == 0 && !queued.empty())) {
        queued.push_back(std::move(event));
        dispatchQueued();
        return;
    }
    ++dispatching;
    dispatch(std::move(event));
    --dispatching;
    dispatchQueued();
}

void NSWindow::postEvent(NSEvent event, bool atStart) {
    Runtime::assertMainThread("NSWindow.postEvent");
    event.window_ = weakAs<NSWindow>();
    if (atStart)
        queued.push_front(std::move(event));
    else
        queued.push_back(std::move(event));
}

void NSWindow::dispatchQueued() {
    while (nesting == 0 && dispatching == 0 && !queued.empty()) {
        NSEvent next = std::move(queued.front());
        queued.pop_front();
        ++dispatching;
        dispatch(std::move(next));
        --dispatching;
    }
}

NSWindow::NestedLoop::~NestedLoop() {
    --window.nesting;
}

std::optional<NSEvent> NSWindow::nextEvent(uint64_t mask, TimeInterval deadline, RunLoop::Mode mode,
                                           bool dequeue) {
    Runtime::assertMainThread("NSWindow.nextEvent");
    auto matching = [&] {
        return std::find_if(queued.begin(), queued.end(),
                            [&](const NSEvent& e) { return (mask & NSEvent::mask(e.type_)) != 0; });
    };
    if (matching() == queued.end()) {
        NestedLoop nested(*this);
        auto arrived = [&] { return matching() != queued.end(); };
        RunLoop& loop = RunLoop::main();
        if (auto& waiter = NSApplication::shared().eventWaiter)
            waiter(deadline, mode, arrived);
        else if (loop.now() < deadline)
            loop.run(deadline - loop.now(), mode, arrived);
    }
    auto it = matching();
    if (it == queued.end())
        return std::nullopt;
    NSEvent found = *it;
    if (dequeue)
        queued.erase(it);
    return found;
}

void NSWindow::dispatch(NSEvent event) {
    using T = NSEvent::Type;
    bool mouse = event.type_ == T::leftMouseDown || event.type_ == T::leftMouseUp ||
                 event.type_ == T::rightMouseDown || event.type_ == T::rightMouseUp ||
                 event.type_ == T::leftMouseDragged || event.type_ == T::rightMouseDragged ||
                 event.type_ == T::mouseMoved;
    if (mouse) {
        event.moveX = event.location.x - lastMouse.x;
        event.moveY = lastMouse.y - event.location.y; // positive downwards, as the platform's
        lastMouse = event.location;
    }
    NSEventState::dispatched(event.modifiers);
    NSApplication::CurrentEventScope current(event);

    switch (event.type_) {
    case T::leftMouseDown:
    case T::rightMouseDown: {
        bool right = event.type_ == T::rightMouseDown;
        NSEventState::setButton(right ? 1 : 0, true);
        auto view = content ? content->hitTest(event.location) : nullptr;
        pressedView = view;
        rightButton = right;
        if (!view)
            return;
        if (view->focusesOnClick() && view->acceptsFirstResponder())
            makeFirstResponder(view);
        // Gesture recognisers see the press before the view.
        if (!right)
            gestures.pressed(view, event);
        if (right)
            view->rightMouseDown(event);
        else
            view->mouseDown(event);
        return;
    }
    case T::leftMouseDragged:
    case T::rightMouseDragged:
        if (event.type_ == T::leftMouseDragged)
            gestures.dragged(event);
        if (auto view = pressedView.lock()) {
            if (event.type_ == T::rightMouseDragged)
                view->rightMouseDragged(event);
            else
                view->mouseDragged(event);
        }
        updateTracking(event, true);
        return;
    case T::leftMouseUp:
    case T::rightMouseUp: {
        bool right = event.type_ == T::rightMouseUp;
        NSEventState::setButton(right ? 1 : 0, false);
        auto view = pressedView.lock();
        pressedView.reset();
        if (!right)
            gestures.released(event);
        if (view) {
            if (right)
                view->rightMouseUp(event);
            else
                view->mouseUp(event);
        }
        updateTracking(event, false);
        return;
    }
    case T::mouseMoved:
        updateTracking(event, false);
        return;
    case T::scrollWheel:
        if (auto view = content ? content->hitTest(event.location) : nullptr)
            view->scrollWheel(event);
        return;
    case T::keyDown:
        if (content && content->performKeyEquivalent(event))
            return;
        firstResponder()->keyDown(event);
        return;
    case T::keyUp:
        firstResponder()->keyUp(event);
        return;
    case T::flagsChanged:
        firstResponder()->flagsChanged(event);
        return;
    case T::mouseEntered:
    case T::mouseExited:
    case T::cursorUpdate:
        return; // the window makes these itself
    }
}

namespace {
// Calls `visit` on `root` and every view below it.
template <class Visit> void forEachView(NSView* root, Visit visit) {
    std::vector<NSView*> pending;
    if (root)
        pending.push_back(root);
    while (!pending.empty()) {
        NSView* v = pending.back();
        pending.pop_back();
        visit(*v);
        for (const auto& sub : v->subviews())
            pending.push_back(sub.get());
    }
}

void collectAreas(
    const std::shared_ptr<NSView>& view,
    std::vector<std::pair<std::shared_ptr<NSView>, std::shared_ptr<NSTrackingArea>>>& out) {
    for (const auto& area : view->trackingAreas())
        out.emplace_back(view, area);
    for (const auto& sub : view->subviews())
        collectAreas(sub, out);
}
} // namespace

void NSWindow::resetCursorRects() {
    cursorRectsValid = true;
    forEachView(content.get(), [](NSView& v) {
        v.discardCursorRects();
        v.resetCursorRects();
    });
}

namespace {
// The cursor of the front-most cursor rectangle under a window point.
std::shared_ptr<NSCursor> cursorAt(const NSView& view, CGPoint inWindow) {
    if (view.isHidden())
        return nullptr;
    for (auto it = view.subviews().rbegin(); it != view.subviews().rend(); ++it)
        if (auto found = cursorAt(**it, inWindow))
            return found;
    const CGPoint p = view.convertFromView(inWindow, nullptr);
    for (auto it = view.cursorRects().rbegin(); it != view.cursorRects().rend(); ++it)
        if (it->rect.contains(p))
            return it->cursor;
    return nullptr;
}
} // namespace

void NSWindow::updateCursor(CGPoint location) {
    if (!content)
        return;
    if (!cursorRectsValid)
        resetCursorRects();
    auto cursor = cursorAt(*content, location);
    if (cursor == rectCursor)
        return;
    rectCursor = cursor;
    (cursor ? cursor : NSCursor::arrow())->set();
}

void NSWindow::updateTracking(const NSEvent& event, bool dragging) {
    if (!content)
        return;
    updateCursor(event.location);
    std::vector<std::pair<std::shared_ptr<NSView>, std::shared_ptr<NSTrackingArea>>> all;
    collectAreas(content, all);
    for (auto& [view, area] : all) {
        unsigned options = area->options_;
        if (dragging && !(options & NSTrackingArea::enabledDuringMouseDrag))
            continue;
        CGRect rect = (options & NSTrackingArea::inVisibleRect) ? view->visibleRect() : area->rect_;
        CGPoint p = view->convertFromView(event.location, nullptr);
        bool inside = rect.contains(p) && !view->isHiddenOrHasHiddenAncestor();
        auto owner = area->owner();
        if (inside != area->inside) {
            area->inside = inside;
            if (!owner)
                continue;
            NSEvent crossing = event;
            crossing.area = area;
            if (inside) {
                if (options & NSTrackingArea::mouseEnteredAndExited) {
                    crossing.type_ = NSEvent::Type::mouseEntered;
                    owner->mouseEntered(crossing);
                }
                if (options & NSTrackingArea::cursorUpdate) {
                    crossing.type_ = NSEvent::Type::cursorUpdate;
                    owner->cursorUpdate(crossing);
                }
            } else if (options & NSTrackingArea::mouseEnteredAndExited) {
                crossing.type_ = NSEvent::Type::mouseExited;
                owner->mouseExited(crossing);
            }
        } else if (inside && owner && (options & NSTrackingArea::mouseMoved) &&
                   event.type_ == NSEvent::Type::mouseMoved) {
            owner->mouseMoved(event);
        }
    }
}

void NSWindow::draw(const std::shared_ptr<CGContext>& context) {
    Runtime::assertMainThread("NSWindow.draw");
    layoutIfNeeded();
    NSGraphicsContext::Scope scope(context);
    if (backgroundColor) {
        context->saveGState();
        context->setFillColor(backgroundColor->cgColor());
        context->fillRect({{0, 0}, size});
        context->restoreGState();
    }
    if (content)
        content->drawHierarchy(context);
    drawChildren(context);
}

void NSWindow::addChildWindow(std::shared_ptr<NSWindow> child) {
    Runtime::assertMainThread("NSWindow.addChildWindow");
    if (!child || child.get() == this ||
        std::find(children.begin(), children.end(), child) != children.end())
        return;
    if (auto old = child->parentWindow())
        old->removeChildWindow(child);
    child->parentOfChild = weakAs<NSWindow>();
    child->visible = true;
    children.push_back(child);
    invalidate(childRect(*child, {{0, 0}, child->size}));
}

void NSWindow::removeChildWindow(const std::shared_ptr<NSWindow>& child) {
    Runtime::assertMainThread("NSWindow.removeChildWindow");
    auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end())
        return;
    invalidate(childRect(*child, {{0, 0}, child->size}));
    child->parentOfChild.reset();
    child->visible = false;
    children.erase(it);
}

CGRect NSWindow::childRect(const NSWindow& child, CGRect rect) const {
    return rect.offsetBy(child.origin.x - origin.x, child.origin.y - origin.y);
}

void NSWindow::drawChildren(const std::shared_ptr<CGContext>& context) {
    for (const auto& child : children) {
        context->saveGState();
        const CGRect place = childRect(*child, {{0, 0}, child->size});
        context->translateBy(place.minX(), place.minY());
        context->clip(CGRect{{0, 0}, child->size});
        child->layoutIfNeeded();
        if (child->backgroundColor) {
            context->setFillColor(child->backgroundColor->cgColor());
            context->fillRect({{0, 0}, child->size});
        }
        if (child->content)
            child->content->drawHierarchy(context);
        child->drawChildren(context);
        child->clearDisplayMarks();
        context->restoreGState();
    }
}

std::shared_ptr<CGContext> NSWindow::snapshot(bool record) {
    auto context = CGContext::makeBitmap(size, {.scale = scale, .recordsDisplayList = record});
    draw(context);
    return context;
}

bool NSWindow::writePNG(const std::string& path) {
    return snapshot()->writePNG(path);
}

CGRegion NSWindow::drawDirtyRegion(const std::shared_ptr<CGContext>& context) {
    Runtime::assertMainThread("NSWindow.drawDirtyRegion");
    layoutIfNeeded(); // may mark more
    const CGAffineTransform toDevice = context->userToDevicePoints();
    const CGRect bitmap{{0, 0}, context->size()};
    CGRegion redrawn;
    for (const CGRect& r : dirty.rects())
        redrawn.add(r.insetBy(-1, -1).applying(toDevice).intersection(bitmap));
    redrawn = redrawn.alignedToPixels(context->scale());
    dirty.clear();
    const CGAffineTransform fromDevice = toDevice.inverted();
    NSGraphicsContext::Scope scope(context);
    for (const CGRect& deviceRect : redrawn.rects()) {
        const CGRect r = deviceRect.applying(fromDevice);
        context->saveGState();
        context->clip(r);
        context->clearRect(r);
        if (backgroundColor) {
            context->setFillColor(backgroundColor->cgColor());
            context->fillRect(r);
        }
        if (content)
            content->drawHierarchy(context);
        drawChildren(context);
        context->restoreGState();
    }
    clearDisplayMarks();
    return redrawn;
}

void NSWindow::invalidate(CGRect rect) {
    CGRect inside = rect.intersection({{0, 0}, size});
    if (inside.isEmpty())
        return;
    // A child is drawn by its parent.
    if (auto p = parentWindow())
        return p->invalidate(p->childRect(*this, inside));
    dirty.add(inside);
    requestDisplay();
}

void NSWindow::display() {
    Runtime::assertMainThread("NSWindow.display");
    if (displayHandler)
        displayHandler(*this);
    // Shown or not, what was asked for has been dealt with (drawing nobody shows would
    // be thrown away).
    clearDisplayMarks();
}

void NSWindow::clearDisplayMarks() {
    dirty.clear();
    forEachView(content.get(), [](NSView& v) { v.dirty = false; });
}

bool NSWindow::viewsNeedDisplay() const {
    if (!dirty.isEmpty())
        return true;
    std::vector<const NSView*> pending;
    if (content)
        pending.push_back(content.get());
    while (!pending.empty()) {
        const NSView* v = pending.back();
        pending.pop_back();
        if (v->needsDisplay() && !v->isHidden())
            return true;
        for (const auto& sub : v->subviews())
            pending.push_back(sub.get());
    }
    return false;
}

void NSWindow::layoutIfNeeded() {
    if (content)
        content->layoutSubtreeIfNeeded();
}

void NSWindow::requestDisplay() {
    if (displayRequested)
        displayRequested();
}

void NSWindow::Animator::setFrameOrigin(CGPoint origin) {
    Runtime::assertMainThread("NSWindow.animator.setFrameOrigin");
    auto it = window.animations.find("frameOrigin");
    window.animatedOrigins.clear();
    if (it != window.animations.end() && it->second)
        window.animatedOrigins = it->second->keyFrames();
    window.setFrameOrigin(origin);
}
