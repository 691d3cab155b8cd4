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

} // namespace
