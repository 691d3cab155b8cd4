#include "AppKit/NSApplication.h"

#include "AppKit/NSDocumentController.h"
#include "AppKit/NSWindow.h"
#include "AppKit/StandardAboutPanel.h"
#include "Foundation/RunLoop.h"

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

void NSApplication::finishLaunching() {
    Runtime::assertMainThread("NSApplication.finishLaunching");
    if (launched)
        return;
    auto self = sharedAs<NSObject>();
    Notification will{willFinishLaunchingNotification, self, {}};
    NotificationCenter::defaultCenter().post(will);
    if (auto d = delegate.lock())
        d->applicationWillFinishLaunching(will);
    launched = true;
    Notification did{didFinishLaunchingNotification, self, {}};
    NotificationCenter::defaultCenter().post(did);
    if (auto d = delegate.lock())
        d->applicationDidFinishLaunching(did);
    if (!pendingURLs.empty())
        openURLs(std::exchange(pendingURLs, {}));
}

void NSApplication::openURLs(const std::vector<URL>& urls) {
    Runtime::assertMainThread("NSApplication.openURLs");
    if (urls.empty())
        return;
    if (!launched) {
        pendingURLs.insert(pendingURLs.end(), urls.begin(), urls.end());
        return;
    }
    if (auto d = delegate.lock())
        d->applicationOpenURLs(*this, urls);
}

void NSApplication::presentWindow(const std::shared_ptr<NSWindow>& window) {
    Runtime::assertMainThread("NSApplication.presentWindow");
    if (!window)
        return;
    std::erase_if(shown, [&](const auto& w) { return w.expired() || w.lock() == window; });
    shown.push_back(window);
    if (presenter_)
        presenter_(window);
    window->makeKeyAndOrderFront(nullptr);
}

std::vector<std::shared_ptr<NSWindow>> NSApplication::windows() const {
    std::vector<std::shared_ptr<NSWindow>> live;
    for (const auto& w : shown)
        if (auto window = w.lock(); window && window->isVisible())
            live.push_back(window);
    return live;
}

void NSApplication::orderFrontStandardAboutPanel(NSObject*) {
    Runtime::assertMainThread("NSApplication.orderFrontStandardAboutPanel");
    if (!about)
        about = makeStandardAboutPanel();
    presentWindow(about);
}

void NSApplication::run() {
    Runtime::assertMainThread("NSApplication.run");
    finishLaunching();
    if (eventLoop) {
        eventLoop(*this);
        return;
    }
    while (!terminating)
        RunLoop::main().runUntil([this] { return terminating; }, 1);
}

void NSApplication::terminate(NSObject*) {
    Runtime::assertMainThread("NSApplication.terminate");
    if (terminating)
        return;
    terminating = true;
    Notification n{willTerminateNotification, sharedAs<NSObject>(), {}};
    NotificationCenter::defaultCenter().post(n);
    if (auto d = delegate.lock())
        d->applicationWillTerminate(n);
    if (terminationRequested)
        terminationRequested();
}
