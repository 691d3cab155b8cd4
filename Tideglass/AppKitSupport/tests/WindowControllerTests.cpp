#include "AppKitSupport/WindowController.h"

#include "AppKit/NSScreen.h"
#include "Foundation/RunLoop.h"
#include "SwiftUISupport/SheetWindow.h"

#include <gtest/gtest.h>

using namespace SwiftUI;

namespace {

// Reports the window it finds in its environment each time it is built. It holds
// the window weakly: the window owns the view that owns the probe.
struct WindowProbe : View<WindowProbe> {
    std::shared_ptr<std::weak_ptr<NSWindow>> seen;
    AnyView body(ViewContext& ctx) const {
        *seen = ctx.environment<WindowState>()->parentWindow();
        return Text("probe").frame(120, 80);
    }
};

struct WindowControllerTest : ::testing::Test {
    RunLoopTestScope scope;
    std::shared_ptr<std::weak_ptr<NSWindow>> seen = std::make_shared<std::weak_ptr<NSWindow>>();
    WindowProbe probe() const {
        WindowProbe p;
        p.seen = seen;
        return p;
    }
};

TEST_F(WindowControllerTest, TheViewFindsItsHostingWindowInItsEnvironment) {
    auto controller =
        WindowController::withRootView(probe(), std::nullopt, NSHostingSizingPreferredContentSize);
    auto window = controller->window();
    ASSERT_TRUE(window);
    window->layoutIfNeeded();
    window->snapshot();
    RunLoop::main().runUntilIdle();
    window->layoutIfNeeded();
    window->snapshot();
    EXPECT_EQ(seen->lock(), window);
    EXPECT_EQ(window->contentSize(), (CGSize{120, 80}));
    EXPECT_EQ(window->frameAutosaveName(), "");
}

TEST_F(WindowControllerTest, ConfigureRunsOnTheNewWindowBeforeTheControllerExists) {
    std::shared_ptr<NSWindow> configured;
    auto controller = WindowController::withRootView(probe(), std::nullopt, NSHostingSizingNone,
                                                     [&](NSWindow& w) {
                                                         w.title = "Inspector";
                                                         configured = w.sharedAs<NSWindow>();
                                                     });
    EXPECT_EQ(configured, controller->window());
    EXPECT_EQ(controller->window()->title, "Inspector");
    EXPECT_TRUE(controller->window()->preventsApplicationTerminationWhenModal);
}

TEST_F(WindowControllerTest, AFrameNameBringsTheFrameBackOnTheNextCreation) {
    {
        auto first = WindowController::withRootView(probe(), "Tideglass window test");
        EXPECT_EQ(first->window()->frameAutosaveName(), "Tideglass window test");
        first->window()->setFrame({30, 40, 300, 200});
    }
    auto second = WindowController::withRootView(probe(), "Tideglass window test");
    EXPECT_EQ(second->window()->frame(), (CGRect{30, 40, 300, 200}));
}

TEST_F(WindowControllerTest, ASheetWindowDoesNotHoldUpTermination) {
    auto controller = WindowController::withRootSheetView(probe());
    auto window = std::dynamic_pointer_cast<SheetWindow>(controller->window());
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->preventsApplicationTerminationWhenModal);
}

TEST_F(WindowControllerTest, ShowWindowCenteredCentresOnTheNextTurn) {
    auto controller = WindowController::withRootView(probe());
    auto window = controller->window();
    window->screen = make<NSScreen>(CGRect{0, 0, 1440, 900}, CGRect{0, 0, 1440, 875});
    window->setFrame({0, 0, 400, 300});
    controller->showWindowCentered(nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frame().origin, (CGPoint{0, 0})); // not yet
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(window->frame().origin, (CGPoint{520, 287.5}));

    auto empty = WindowController::withRootView(probe());
    empty->setWindow(nullptr);
    empty->showWindowCentered(nullptr); // nothing to show or centre
    RunLoop::main().runUntilIdle();
    EXPECT_EQ(empty->window(), nullptr);
}

} // namespace
