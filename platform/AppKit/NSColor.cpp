#include "AppKit/NSColor.h"

#include "AppKit/NSGraphicsContext.h"

std::shared_ptr<NSColor> NSColor::withCGColor(const CGColor& color) {
    return make<NSColor>(color);
}

std::shared_ptr<NSColor> NSColor::rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return make<NSColor>(CGColor::rgb(r, g, b, a));
}

std::shared_ptr<NSColor> NSColor::white(CGFloat w, CGFloat a) {
    return make<NSColor>(CGColor::gray(w, a));
}

// A process-wide constant colour with a name, for the system colours.
#define SYSTEM_COLOR(function, label, r, g, b, a)                                                  \
    const std::shared_ptr<NSColor>& NSColor::function() {                                          \
        static const std::shared_ptr<NSColor> color =                                              \
            NSColor::withCGColor(CGColor::rgb(r, g, b, a).namedAsset(label));                      \
        return color;                                                                              \
    }

SYSTEM_COLOR(clear, "clearColor", 0, 0, 0, 0)
SYSTEM_COLOR(black, "blackColor", 0, 0, 0, 1)
SYSTEM_COLOR(whiteColor, "whiteColor", 1, 1, 1, 1)
SYSTEM_COLOR(labelColor, "labelColor", 1, 1, 1, 0.85)
SYSTEM_COLOR(secondaryLabelColor, "secondaryLabelColor", 1, 1, 1, 0.55)
SYSTEM_COLOR(textColor, "textColor", 1, 1, 1, 1)
SYSTEM_COLOR(controlTextColor, "controlTextColor", 1, 1, 1, 0.85)
SYSTEM_COLOR(disabledControlTextColor, "disabledControlTextColor", 1, 1, 1, 0.25)
SYSTEM_COLOR(windowBackgroundColor, "windowBackgroundColor", 0.196, 0.196, 0.196, 1)
SYSTEM_COLOR(controlBackgroundColor, "controlBackgroundColor", 0.118, 0.118, 0.118, 1)
SYSTEM_COLOR(controlAccentColor, "controlAccentColor", 0.0, 0.478, 1.0, 1)
SYSTEM_COLOR(keyboardFocusIndicatorColor, "keyboardFocusIndicatorColor", 0.102, 0.663, 1.0, 0.5)
SYSTEM_COLOR(selectedContentBackgroundColor, "selectedContentBackgroundColor", 0.0, 0.345, 0.816, 1)
SYSTEM_COLOR(separatorColor, "separatorColor", 1, 1, 1, 0.1)
SYSTEM_COLOR(textBackgroundColor, "textBackgroundColor", 0.118, 0.118, 0.118, 1)
SYSTEM_COLOR(placeholderTextColor, "placeholderTextColor", 1, 1, 1, 0.25)
SYSTEM_COLOR(selectedTextBackgroundColor, "selectedTextBackgroundColor", 0.247, 0.388, 0.553, 1)
SYSTEM_COLOR(selectedTextColor, "selectedTextColor", 1, 1, 1, 1)
#undef SYSTEM_COLOR

std::shared_ptr<NSColor> NSColor::withAlphaComponent(CGFloat alpha) const {
    return make<NSColor>(color.withAlpha(alpha));
}

void NSColor::set() const {
    setFill();
    setStroke();
}

void NSColor::setFill() const {
    if (auto c = NSGraphicsContext::current())
        c->cgContext().setFillColor(color);
}

void NSColor::setStroke() const {
    if (auto c = NSGraphicsContext::current())
        c->cgContext().setStrokeColor(color);
}
