#include "Controls/FocusRing.h"

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSWindow.h"
#include "Styles/StyleProtocols.h"

namespace {
constexpr CGFloat inset = 1, radius = 3, lineWidth = 2, fillAlpha = 0.3;
} // namespace

bool showsLibraryFocusRing(const NSControl& control) {
    Runtime::assertMainThread("Tideglass.focusRing");
    auto window = control.window();
    return window && window->isKeyWindow() && hasKeyboardFocus(control);
}

std::shared_ptr<NSBezierPath> libraryFocusRingPath(CGRect maskBounds) {
    auto path = NSBezierPath::roundedRect(maskBounds.insetBy(inset, inset), radius, radius);
    path->lineWidth = lineWidth;
    path->lineCapStyle = CGLineCap::round;
    path->lineJoinStyle = CGLineJoin::round;
    return path;
}

void drawLibraryFocusRing(const NSControl& control, CGRect maskBounds,
                          const std::shared_ptr<NSColor>& color) {
    if (!color || !NSGraphicsContext::current() || !showsLibraryFocusRing(control))
        return;
    auto path = libraryFocusRingPath(maskBounds);
    color->withAlphaComponent(fillAlpha)->setFill();
    path->fill();
    color->setStroke();
    path->stroke();
}
