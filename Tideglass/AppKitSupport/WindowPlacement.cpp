#include "AppKitSupport/WindowPlacement.h"

#include "AppKit/CAKeyframeAnimation.h"
#include "AppKit/NSScreen.h"
#include "AppKitSupport/Geometry.h"

namespace {

// The view's area in screen coordinates; none when it is not in a window.
std::optional<CGRect> screenRect(const NSView& view) {
    auto window = view.window();
    if (!window)
        return std::nullopt;
    // The bounds in window coordinates: the view's own area wherever it is nested.
    return window->convertRectToScreen(view.convertToView(view.bounds(), nullptr));
}

} // namespace

void properlyCenter(NSWindow& window) {
    Runtime::assertMainThread("Tideglass/NSWindow+Centering");
    if (!window.screen)
        return;
    CGRect v = window.screen->visibleFrame, f = window.frame();
    window.setFrameOrigin({v.midX() - f.width() * 0.5, v.midY() - f.height() * 0.5});
}

void properlyCenterHorizontally(NSWindow& window, CGFloat topOffset) {
    Runtime::assertMainThread("Tideglass/NSWindow+Centering");
    if (!window.screen)
        return;
    CGRect v = window.screen->visibleFrame, f = window.frame();
    window.setFrameOrigin({v.midX() - f.width() * 0.5, v.maxY() - f.height() - topOffset});
}

namespace {

// Centred across the view; over it, or with the bottom edge on its top edge.
void placeOver(NSWindow& window, const NSView& view, bool display, bool onTop) {
    Runtime::assertMainThread("Tideglass/NSWindow+Centering");
    auto r = screenRect(view);
    if (!r)
        return;
    CGRect frame = window.frame();
    CGRect offsets = center(frame, *r, 1.0);
    frame.origin = {r->minX() + offsets.origin.x, onTop ? r->maxY() : r->minY() + offsets.origin.y};
    window.setFrame(frame, display);
}

} // namespace

void centerFrame(NSWindow& window, const NSView& view, bool display) {
    placeOver(window, view, display, false);
}

void horizontallyCenterFrame(NSWindow& window, const NSView& view, bool display) {
    placeOver(window, view, display, true);
}

CGFloat titlebarHeight(const NSWindow& window) {
    if ((window.styleMask & NSWindow::fullSizeContentView) && window.contentView())
        return window.contentView()->frame().height() - window.contentLayoutRect().height();
    CGRect frame = window.frame();
    return frame.height() - window.contentRectForFrameRect(frame).height();
}

void shake(NSWindow& window) {
    Runtime::assertMainThread("Tideglass/NSWindow+Shake");
    CGRect f = window.frame();
    CGFloat swing = 0.03 * f.width();
    auto animation = make<CAKeyframeAnimation>();
    animation->path.move({f.minX(), f.minY()});
    for (int i = 0; i < 3; ++i) {
        animation->path.addLine({f.minX() - swing, f.minY()});
        animation->path.addLine({f.minX() + swing, f.minY()});
    }
    animation->path.closeSubpath();
    animation->duration = 0.4;
    window.animations = {{"frameOrigin", animation}};
    window.animator().setFrameOrigin({f.minX(), f.minY()});
}
