#include "SwiftUISupport/SheetWindow.h"

#include <gtest/gtest.h>

#include "AppKit/NSApplication.h"
#include "AppKit/NSViewController.h"

namespace {

NSEvent escape() {
    return NSEvent::key(NSEvent::Type::keyDown, "\x1b", 53);
}

TEST(SheetWindow, IsAResizableUntitledWindowThatTakesTheKeyboard) {
    auto window = SheetWindow::withSize({300, 200});
    EXPECT_EQ(window->contentSize(), (CGSize{300, 200}));
    EXPECT_EQ(window->styleMask, NSWindow::resizable | NSWindow::fullSizeContentView);
    EXPECT_FALSE(window->styleMask & (NSWindow::titled | NSWindow::closable));
    EXPECT_EQ(window->backingType(), NSBackingStoreType::buffered);
    EXPECT_TRUE(window->isDeferred());
    EXPECT_FALSE(window->preventsApplicationTerminationWhenModal);
    EXPECT_TRUE(window->canBecomeKeyWindow());
}

TEST(SheetWindow, KeepsTheApplicationsAppearanceOfTheMomentItWasMade) {
    auto& app = NSApplication::shared();
    app.appearance = NSAppearance::named(NSAppearanceName::aqua);
    auto window = SheetWindow::withSize({10, 10});
    app.appearance = nullptr;
    EXPECT_EQ(window->appearance, NSAppearance::named(NSAppearanceName::aqua));
    EXPECT_EQ(SheetWindow::withSize({10, 10})->appearance,
              NSAppearance::named(NSAppearanceName::darkAqua));
}

TEST(SheetWindow, EscapeEndsTheSheetThroughItsParentAndDoesNothingElsewhere) {
    auto parent = make<NSWindow>(CGRect{0, 0, 400, 300}, NSWindow::titled);
    parent->makeKeyAndOrderFront();
    auto sheet = SheetWindow::withSize({200, 100});
    int ended = 0;
    parent->beginSheet(sheet, [&](NSModalResponse) { ++ended; });
    ASSERT_TRUE(sheet->isKeyWindow()); // borderless, yet it takes the keyboard
    sheet->sendEvent(escape());
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(parent->attachedSheet(), nullptr);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(parent->isKeyWindow());

    // Not a sheet (any more): Escape does nothing.
    sheet->sendEvent(escape());
    EXPECT_EQ(ended, 1);
    auto loose = SheetWindow::withSize({50, 50});
    loose->sendEvent(escape());
    EXPECT_EQ(loose->sheetParent(), nullptr);
}

TEST(SheetWindow, TheWindowControllersFactoryMakesOneAroundAController) {
    auto controller = make<NSViewController>();
    controller->preferredContentSize = {240, 120};
    controller->title = "Sheet";
    auto window = NSWindow::withContentViewController<SheetWindow>(controller);
    EXPECT_EQ(window->contentSize(), (CGSize{240, 120}));
    EXPECT_EQ(window->contentViewController(), controller);
    EXPECT_TRUE(window->canBecomeKeyWindow());
}

} // namespace
