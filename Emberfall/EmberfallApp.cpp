#include "EmberfallApp.h"

#include "AppKit/NSApplication.h"
#include "ContentView.h"

using namespace SwiftUI;

EmberfallApp::EmberfallApp(std::shared_ptr<SPUUserDriver> userDriver,
                           std::shared_ptr<Bundle> hostBundle) {
    sparkleHelper = make<SparkleHelper>();
    sparkleHelper->updaterController = make<SPUStandardUpdaterController>(
        false, sparkleHelper, nullptr, std::move(userDriver), std::move(hostBundle));
    sparkleHelper->updaterController->startUpdater();
    appDelegate.wrappedValue()->sparkleHelper = sparkleHelper;
}

WindowScene EmberfallApp::body() const {
    auto helper = sparkleHelper;
    return Window("Emberfall", "main",
                  ContentView{.buttonWidth = 180}
                      .frame(CGFloat(400), CGFloat(572))
                      .background(Color(EmberfallColors::background()).ignoresSafeArea())
                      .preferredColorScheme(ColorScheme::dark))
        .windowStyle(HiddenTitleBarWindowStyle())
        .windowResizability(WindowResizability::contentSize)
        .commands({CommandGroup::replacing(
            CommandGroupPlacement::appInfo,
            {CommandItem::button(
                 "About", [] { NSApplication::shared().orderFrontStandardAboutPanel(nullptr); }),
             CommandItem::divider(), CommandItem::button("Check for Updates\u2026", [helper] {
                 if (helper->updaterController)
                     helper->updaterController->checkForUpdates(nullptr);
             })})});
}
