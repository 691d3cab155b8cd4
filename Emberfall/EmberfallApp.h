#pragma once
// The application: its start-up (the update framework's objects handed to the
// application delegate), its one window scene "main" and the application menu's about
// group (About, a divider, "Check for Updates…").
//
// Start-up, in order: the delegate adaptor makes the AppDelegate and makes it the
// application's delegate; a SparkleHelper is made; a standard updater controller is made
// with it as updater delegate, not started; then started; the delegate is given the
// helper. The updater checks nothing by itself.
// Thread: main thread.

#include <memory>

#include "AppDelegate.h"
#include "SwiftUI/App.h"

struct EmberfallApp {
    SwiftUI::NSApplicationDelegateAdaptor<AppDelegate> appDelegate;
    std::shared_ptr<SparkleHelper> sparkleHelper;

    // `userDriver` and `hostBundle` replace the standard dialogs and the main bundle
    // (tests).
    explicit EmberfallApp(std::shared_ptr<SPUUserDriver> userDriver = nullptr,
                          std::shared_ptr<Bundle> hostBundle = nullptr);
    SwiftUI::WindowScene body() const;

    // The program: see Launch.h.
    static int main(int argc, char** argv);
};
