#include "AppKit/NSButton.h"

void NSButton::setTitle(std::string title) {
    Runtime::assertMainThread("NSButton.setTitle");
    cell()->title = std::move(title);
    setNeedsDisplay();
}

void NSButton::setImage(std::shared_ptr<NSImage> image) {
    Runtime::assertMainThread("NSButton.setImage");
    cell()->image = std::move(image);
    setNeedsDisplay();
}

bool NSButton::toggles() const {
    switch (type) {
    case NSButtonType::pushOnPushOff:
    case NSButtonType::toggle:
    case NSButtonType::switchButton:
    case NSButtonType::radio:
    case NSButtonType::onOff:
        return true;
    default:
        return false;
    }
}

void NSButton::performClick(NSObject*) {
    Runtime::assertMainThread("NSButton.performClick");
    if (!isEnabled())
        return;
    if (toggles())
        setState(cell()->nextState());
    sendAction();
}

void NSButton::mouseUp(const NSEvent& event) {
    CGPoint p = convertFromView(event.locationInWindow(), nullptr);
    if (isEnabled() && toggles() && bounds().contains(p))
        setState(cell()->nextState());
    NSControl::mouseUp(event);
}
