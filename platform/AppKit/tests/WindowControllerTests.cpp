#include "AppKit/CAKeyframeAnimation.h"
#include "AppKit/NSScreen.h"
#include "AppKit/NSViewController.h"
#include "AppKit/NSWindow.h"
#include "AppKit/NSWindowController.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowFrameTest, TitledWindowsAddATitleBarUnlessTheContentRunsUnderIt) {
    struct Case {
        uint64_t mask;
        CGFloat frameHeight, layoutHeight;
    };
    for (const Case& c : {Case{NSWindow::borderless, 100, 100}, Case{NSWindow::titled, 128, 100},
                          Case{NSWindow::titled | NSWindow::fullSizeContentView, 100, 72}}) {
        auto window = make<NSWindow>(CGRect{10, 20, 200, 100}, c.mask);
        EXPECT_EQ(window->frame(), (CGRect{10, 20, 200, c.frameHeight})) << c.mask;
        EXPECT_EQ(window->contentLayoutRect().size.height, c.layoutHeight) << c.mask;
        EXPECT_EQ(window->contentRectForFrameRect(window->frame()).size.height, 100) << c.mask;
        window->setFrame({5, 6, 300, c.frameHeight + 50});
        EXPECT_EQ(window->contentSize(), (CGSize{300, 150})) << c.mask;
        EXPECT_EQ(window->contentView()->frame().size, (CGSize{300, 150})) << c.mask;
        window->setFrameOrigin({1, 2});
        EXPECT_EQ(window->frame().origin, (CGPoint{1, 2}));
        EXPECT_EQ(window->convertRectToScreen({3, 4, 5, 6}), (CGRect{4, 6, 5, 6}));
    }
}

TEST(WindowFrameTest, AnAutosavedFrameComesBackOnTheNextWindowOfThatName) {
    {
        auto first = make<NSWindow>(CGRect{0, 0, 100, 100});
        EXPECT_TRUE(first->setFrameAutosaveName("Inspector"));
        auto rival = make<NSWindow>(CGRect{0, 0, 100, 100});
        EXPECT_FALSE(rival->setFrameAutosaveName("Inspector")); // taken while first lives
        first->setFrame({40, 50, 220, 120});
    }
    auto second = make<NSWindow>(CGRect{0, 0, 100, 100});
    EXPECT_TRUE(second->setFrameAutosaveName("Inspector"));
    EXPECT_EQ(second->frame(), (CGRect{40, 50, 220, 120}));
    auto unnamed = make<NSWindow>(CGRect{0, 0, 100, 100});
    EXPECT_EQ(unnamed->frameAutosaveName(), "");
}

struct SizedController : NSViewController {
    void loadView() override { setView(make<NSView>(CGRect{0, 0, 320, 240})); }
};

TEST(WindowControllerTest, AWindowMadeForAControllerIsShownAndMadeKey) {
    auto controller = make<SizedController>();
    controller->title = "Panel";
    auto window = NSWindow::withContentViewController(controller);
    EXPECT_EQ(window->title, "Panel");
    EXPECT_EQ(window->contentSize(), (CGSize{320, 240}));
    EXPECT_TRUE(window->styleMask & NSWindow::titled);
    EXPECT_EQ(window->contentViewController(), controller);

    auto windowController = make<NSWindowController>(window);
    windowController->setWindowFrameAutosaveName("Panel frame");
    EXPECT_EQ(window->frameAutosaveName(), "Panel frame");
    EXPECT_FALSE(window->isVisible());
    windowController->showWindow(nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKeyWindow());
    auto other = make<NSWindow>();
    other->makeKeyWindow();
    EXPECT_FALSE(window->isKeyWindow());
    other->orderOut();
    EXPECT_FALSE(other->isKeyWindow());

    auto empty = make<NSWindowController>();
    empty->showWindow(nullptr); // nothing to show, nothing fails
    EXPECT_EQ(empty->window(), nullptr);
}

TEST(ScreenTest, AScreenIsItsFrameAndVisibleFrame) {
    auto screen = make<NSScreen>(CGRect{0, 0, 1440, 900}, CGRect{0, 0, 1440, 875});
    auto window = make<NSWindow>();
    EXPECT_EQ(window->screen, nullptr);
    window->screen = screen;
    EXPECT_EQ(window->screen->visibleFrame.size.height, 875);
}

} // namespace

namespace {

TEST(WindowAnimationTest, TheAnimatorRunsTheKeyFramesAndLeavesTheTarget) {
    auto window = make<NSWindow>(CGRect{10, 20, 100, 100});
    window->animator().setFrameOrigin({30, 40}); // no animation: just moved
    EXPECT_TRUE(window->lastAnimatedFrameOrigins().empty());
    auto animation = make<CAKeyframeAnimation>();
    animation->path.move({30, 40});
    animation->path.addLine({20, 40});
    animation->path.closeSubpath();
    animation->duration = 0.4;
    window->animations["frameOrigin"] = animation;
    window->animator().setFrameOrigin({30, 40});
    EXPECT_EQ(window->lastAnimatedFrameOrigins(), (std::vector<CGPoint>{{30, 40}, {20, 40}}));
    EXPECT_EQ(window->frame().origin, (CGPoint{30, 40}));
}

} // namespace
