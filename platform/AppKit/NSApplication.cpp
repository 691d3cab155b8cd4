#include "AppKit/NSApplication.h"

#include "AppKit/NSDocumentController.h"
#include "AppKit/NSWindow.h"

#include <utility>

NSApplication& NSApplication::shared() {
    Runtime::assertMainThread("NSApplication.shared");
    static std::shared_ptr<NSApplication> app = make<NSApplication>();
    return *app;
}

bool NSApplication::sendAction(const NSAction& action, const std::shared_ptr<NSObject>& target,
                               NSObject* sender) {
    Runtime::assertMainThread("NSApplication.sendAction");
    if (!action)
        return false;
    if (target)
        return action.sendTo(*target, sender);
    if (auto window = keyWindow())
        for (auto r = window->firstResponder(); r; r = r->nextResponder())
            if (action.sendTo(*r, sender))
                return true;
    if (action.sendTo(*this, sender))
        return true;
    return action.sendTo(NSDocumentController::shared(), sender);
}

std::shared_ptr<NSAppearance> NSApplication::effectiveAppearance() const {
    return appearance ? appearance : NSAppearance::named(NSAppearanceName::darkAqua);
}

NSApplication::CurrentEventScope::CurrentEventScope(const NSEvent& event)
    : outer(std::exchange(NSApplication::shared().current, event)) {}

NSApplication::CurrentEventScope::~CurrentEventScope() {
    NSApplication::shared().current = std::move(outer);
}
