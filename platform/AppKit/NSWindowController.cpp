#include "AppKit/NSWindowController.h"

void NSWindowController::setWindow(std::shared_ptr<NSWindow> window) {
    Runtime::assertMainThread("NSWindowController.setWindow");
    window_ = std::move(window);
    if (window_ && !autosaveName.empty())
        window_->setFrameAutosaveName(autosaveName);
}

void NSWindowController::showWindow(NSObject* sender) {
    Runtime::assertMainThread("NSWindowController.showWindow");
    if (window_)
        window_->makeKeyAndOrderFront(sender);
}

void NSWindowController::setWindowFrameAutosaveName(std::string name) {
    Runtime::assertMainThread("NSWindowController.setWindowFrameAutosaveName");
    autosaveName = std::move(name);
    if (window_)
        window_->setFrameAutosaveName(autosaveName);
}
