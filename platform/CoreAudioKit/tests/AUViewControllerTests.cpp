#include "CoreAudioKit/AUViewController.h"

#include <gtest/gtest.h>

namespace {

struct CountingController : AUViewController {
    int loads = 0;
    int appearances = 0;
    void viewDidLoad() override {
        ++loads;
        setPreferredContentSize({300, 200});
    }
    void viewDidAppear() override { ++appearances; }
};

TEST(AUViewController, LoadsItsViewOnceBeforeItAppears) {
    auto controller = make<CountingController>();
    EXPECT_FALSE(controller->isViewLoaded());
    controller->viewDidAppearOnScreen();
    controller->loadViewIfNeeded();
    controller->viewDidAppearOnScreen();
    EXPECT_TRUE(controller->isViewLoaded());
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(controller->appearances, 2);
    EXPECT_EQ(controller->preferredContentSize().width, 300);
}

TEST(AUViewController, ItsViewIsLoadedOnFirstRequestAndKept) {
    auto controller = make<CountingController>();
    const std::shared_ptr<NSView> view = controller->view();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(controller->isViewLoaded());
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(controller->view(), view);
    EXPECT_EQ(controller->loads, 1);
}

} // namespace
