// Putting a tree of declarative views into an AppKit view.

#include "SwiftUI/NSHostingView.h"

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"

#include <algorithm>

namespace SwiftUI {

unsigned eventModifiers(uint64_t flags) {
    unsigned m = 0;
    if (flags & NSEvent::capsLock)
        m |= EventModifiers::capsLock;
    if (flags & NSEvent::shift)
        m |= EventModifiers::shift;
    if (flags & NSEvent::control)
        m |= EventModifiers::control;
    if (flags & NSEvent::option)
        m |= EventModifiers::option;
    if (flags & NSEvent::command)
        m |= EventModifiers::command;
    if (flags & NSEvent::numericPad)
        m |= EventModifiers::numericPad;
    if (flags & NSEvent::function)
        m |= EventModifiers::function;
    return m;
}

NSHostingView::NSHostingView(AnyView rootView)
    : graph_(std::make_unique<ViewGraph>(std::move(rootView))) {}

void NSHostingView::didInit() {
    NSView::didInit();
    std::weak_ptr<NSHostingView> weak = sharedAs<NSHostingView>();
    graph_->setEnvironment([weak](EnvironmentValues& e) { e.hostingView = weak; });
    // Only what the update changed is redrawn (the graph's space is the bounds').
    graph_->setDidUpdate([weak] {
        if (auto view = weak.lock())
            for (const CGRect& r : view->graph_->changedRegion().rects())
                view->setNeedsDisplayInRect(r);
    });
    graph_->setFocusHandler([weak](bool focused) {
        auto view = weak.lock();
        if (!view || !focused)
            return;
        if (auto window = view->window(); window && window->firstResponder() != view)
            window->makeFirstResponder(view);
    });
}

std::shared_ptr<NSHostingView> NSHostingView::firstIn(const std::shared_ptr<NSView>& view) {
    if (!view)
        return nullptr;
    if (auto host = std::dynamic_pointer_cast<NSHostingView>(view))
        return host;
    for (const auto& sub : view->subviews())
        if (auto host = firstIn(sub))
            return host;
    return nullptr;
}

void NSHostingView::setRootView(AnyView rootView) {
    Runtime::assertMainThread("NSHostingView.setRootView");
    graph_->setRootView(std::move(rootView));
    setNeedsDisplay(true);
}

CGSize NSHostingView::fittingSize() {
    return graph_->root().sizeThatFits(ProposedViewSize::unspecified());
}

void NSHostingView::drawRect(CGRect) {
    Runtime::assertMainThread("NSHostingView.drawRect");
    if (auto context = NSGraphicsContext::current())
        graph_->render(context->cgContext());
}

void NSHostingView::layout() {
    graph_->setSize(bounds().size);
}

void NSHostingView::frameSizeDidChange(CGSize) {
    graph_->setSize(bounds().size);
}

void NSHostingView::viewDidMoveToWindow() {
    auto window = this->window();
    CGFloat scale = window ? window->backingScaleFactor() : 1;
    graph_->setEnvironment([scale](EnvironmentValues& e) { e.displayScale = scale; });
    // The embedded controllers appear with the window, and disappear without it.
    auto controllers = embedded;
    if (window && !embeddedAppeared) {
        embeddedAppeared = true;
        for (const auto& c : controllers) {
            c->viewWillAppear();
            c->viewDidAppear();
        }
    } else if (!window && embeddedAppeared) {
        embeddedAppeared = false;
        for (const auto& c : controllers) {
            c->viewWillDisappear();
            c->viewDidDisappear();
        }
    }
}

void NSHostingView::embed(const std::shared_ptr<NSViewController>& controller) {
    Runtime::assertMainThread("NSHostingView.embed");
    if (!controller)
        return;
    embedded.push_back(controller);
    addSubview(controller->view());
    if (window()) {
        embeddedAppeared = true;
        controller->viewWillAppear();
        controller->viewDidAppear();
    }
}

void NSHostingView::unembed(const std::shared_ptr<NSViewController>& controller) {
    auto it = std::find(embedded.begin(), embedded.end(), controller);
    if (it == embedded.end())
        return;
    embedded.erase(it);
    const bool appeared = window() != nullptr && embeddedAppeared;
    if (appeared)
        controller->viewWillDisappear();
    controller->view()->removeFromSuperview();
    if (appeared)
        controller->viewDidDisappear();
}

bool NSHostingView::drawsSubviewInContent(const NSView& subview) const {
    for (const auto& c : embedded)
        if (c->isViewLoaded() && c->view().get() == &subview)
            return true;
    return false;
}

bool NSHostingView::resignFirstResponder() {
    graph_->resignFocus();
    return true;
}

bool NSHostingView::sendPointer(const NSEvent& event, PointerEvent::Phase phase) {
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    p = {p.x - bounds().origin.x, p.y - bounds().origin.y};
    return graph_->pointer(
        {phase, p, event.clickCount(), eventModifiers(event.modifierFlags()), event.timestamp()});
}

void NSHostingView::mouseDown(const NSEvent& event) {
    if (!sendPointer(event, PointerEvent::Phase::down))
        NSView::mouseDown(event);
}

void NSHostingView::mouseDragged(const NSEvent& event) {
    if (!sendPointer(event, PointerEvent::Phase::dragged))
        NSView::mouseDragged(event);
}

void NSHostingView::mouseUp(const NSEvent& event) {
    if (!sendPointer(event, PointerEvent::Phase::up))
        NSView::mouseUp(event);
}

bool NSHostingView::sendKey(const NSEvent& event, KeyPress::Phase phase) {
    return graph_->keyPress({event.charactersIgnoringModifiers(), event.characters(),
                             eventModifiers(event.modifierFlags()), phase});
}

void NSHostingView::keyDown(const NSEvent& event) {
    if (!sendKey(event, event.isARepeat() ? KeyPress::repeat : KeyPress::down))
        NSView::keyDown(event);
}

void NSHostingView::keyUp(const NSEvent& event) {
    if (!sendKey(event, KeyPress::up))
        NSView::keyUp(event);
}

void NSHostingController::didInit() {
    NSObject::didInit();
    hostingView = make<NSHostingView>(initialRoot);
}

} // namespace SwiftUI
