#include "AppKitSupport/WindowPlacement.h"
#include "AppKitSupport/Xibless.h"

#include "AppKit/CAKeyframeAnimation.h"
#include "AppKit/NSScreen.h"

#include <gtest/gtest.h>

namespace {

struct Screened : ::testing::Test {
    std::shared_ptr<NSScreen> screen =
        make<NSScreen>(CGRect{0, 0, 1440, 900}, CGRect{0, 0, 1440, 875});
    std::shared_ptr<NSWindow> window = make<NSWindow>(CGRect{3, 4, 400, 300});
};

TEST_F(Screened, CentringUsesTheScreensFreeArea) {
    window->screen = screen;
    properlyCenter(*window);
    EXPECT_EQ(window->frame().origin, (CGPoint{520, 287.5}));
    properlyCenterHorizontally(*window, 100);
    EXPECT_EQ(window->frame().origin, (CGPoint{520, 475}));
}

TEST_F(Screened, AWindowWithoutAScreenStaysWhereItIs) {
    properlyCenter(*window);
    properlyCenterHorizontally(*window, 100);
    EXPECT_EQ(window->frame().origin, (CGPoint{3, 4}));
}

TEST_F(Screened, CentringOverAViewUsesTheViewsPlaceOnTheScreen) {
    auto host = make<NSWindow>(CGRect{100, 200, 600, 400});
    auto outer = make<NSView>(CGRect{50, 60, 300, 200});
    auto view = make<NSView>(CGRect{10, 20, 200, 100}); // nested: screen (160, 280)
    host->contentView()->addSubview(outer);
    outer->addSubview(view);
    auto panel = make<NSWindow>(CGRect{0, 0, 101, 50});
    centerFrame(*panel, *view, false);
    // (200 − 101) / 2 = 49.5 → 50; (100 − 50) / 2 = 25.
    EXPECT_EQ(panel->frame(), (CGRect{210, 305, 101, 50}));
    horizontallyCenterFrame(*panel, *view, true);
    EXPECT_EQ(panel->frame(), (CGRect{210, 380, 101, 50}));

    auto loose = make<NSView>(CGRect{0, 0, 10, 10});
    centerFrame(*panel, *loose, false); // not in a window: nothing happens
    horizontallyCenterFrame(*panel, *loose, false);
    EXPECT_EQ(panel->frame(), (CGRect{210, 380, 101, 50}));
}

TEST_F(Screened, TheTitleBarHeightDependsOnWhetherContentRunsUnderIt) {
    struct Case {
        uint64_t mask;
        CGFloat height;
    };
    for (const Case& c : {Case{NSWindow::borderless, 0}, Case{NSWindow::titled, 28},
                          Case{NSWindow::titled | NSWindow::fullSizeContentView, 28}}) {
        auto w = make<NSWindow>(CGRect{0, 0, 200, 100}, c.mask);
        EXPECT_EQ(titlebarHeight(*w), c.height) << c.mask;
    }
    // Full-size content: measured from the content view, not from the frame.
    auto full =
        make<NSWindow>(CGRect{0, 0, 200, 100}, NSWindow::titled | NSWindow::fullSizeContentView);
    EXPECT_EQ(full->frame().height() - full->contentRectForFrameRect(full->frame()).height(), 0);
}

TEST_F(Screened, AShakeSwingsThreePercentEitherSideAndEndsWhereItBegan) {
    shake(*window);
    const auto& frames = window->lastAnimatedFrameOrigins();
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(frames[0], (CGPoint{3, 4}));
    for (size_t i = 1; i < frames.size(); ++i)
        EXPECT_EQ(frames[i], (CGPoint{3 + (i % 2 ? -12.0 : 12.0), 4})) << i;
    EXPECT_EQ(window->frame().origin, (CGPoint{3, 4}));
    EXPECT_EQ(window->animations.at("frameOrigin")->duration, 0.4);
}

struct CountingView : XiblessView {
    int setups = 0;
    bool preparedFirst = false;
    void setupView() override {
        ++setups;
        preparedFirst = !translatesAutoresizingMaskIntoConstraints;
    }
};

struct Panel : XiblessVC<CountingView> {};

TEST(XiblessTest, ViewsSetThemselvesUpOnceReadyForAutoLayout) {
    auto view = make<CountingView>();
    EXPECT_EQ(view->setups, 1);
    EXPECT_TRUE(view->preparedFirst);
    EXPECT_EQ(view->frame(), CGRect{});

    auto controller = make<Panel>();
    EXPECT_FALSE(controller->isViewLoaded());
    auto content = controller->contentView();
    EXPECT_EQ(content, controller->view());
    EXPECT_EQ(content->setups, 1);

    auto plain = autolayoutable<NSView>();
    EXPECT_FALSE(plain->translatesAutoresizingMaskIntoConstraints);
    auto existing = make<NSView>(CGRect{0, 0, 5, 5});
    EXPECT_EQ(autolayoutable(existing), existing);
    EXPECT_FALSE(existing->translatesAutoresizingMaskIntoConstraints);
}

TEST(XiblessDeathTest, AControllerViewOfAnotherTypeIsFatal) {
    auto controller = make<Panel>();
    controller->setView(make<NSView>(CGRect{}));
    EXPECT_DEATH(controller->contentView(), "not its content view");
}

} // namespace
