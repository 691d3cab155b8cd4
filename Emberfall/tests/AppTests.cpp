#include "EmberfallApp.h"

#include <gtest/gtest.h>

#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "Foundation/RunLoop.h"
#include "Sparkle/SPUStandardUserDriver.h"

namespace {

struct Recorder : SPUUserDriver {
    int checks = 0;
    std::vector<std::string> said;
    void showUserInitiatedUpdateCheck() override {
        ++checks;
        said.push_back("checking");
    }
    void showUpdateFound(const std::string& v) override { said.push_back(v); }
    void showUpdateNotFound() override { said.push_back("up to date"); }
    void showUpdaterError(const std::string& message) override {
        said.push_back("could not check");
        why = message;
    }
    std::string why;
};

class AppTest : public ::testing::Test {
  protected:
    void TearDown() override {
        auto& app = NSApplication::shared();
        app.delegate.reset();
        app.appearance = nullptr;
    }
    RunLoopTestScope loop;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

TEST_F(AppTest, StartUpHandsOneStartedUpdaterToTheDelegate) {
    EmberfallApp app(recorder);
    auto delegate = app.appDelegate.wrappedValue();
    EXPECT_EQ(NSApplication::shared().delegate.lock(), delegate);
    EXPECT_EQ(AppDelegate::shared(), delegate);
    EXPECT_EQ(delegate->sparkleHelper, app.sparkleHelper);
    ASSERT_TRUE(app.sparkleHelper->updaterController);
    auto updater = app.sparkleHelper->updaterController->updater();
    EXPECT_TRUE(updater->isStarted());
    EXPECT_FALSE(updater->sessionInProgress()); // nothing checks by itself
    EXPECT_EQ(recorder->checks, 0);
    // The feed address is the same every time, on its fixed path.
    const std::string feed = *app.sparkleHelper->feedURLString(*updater);
    EXPECT_EQ(*app.sparkleHelper->feedURLString(*updater), feed);
    EXPECT_EQ(feed.rfind("https://", 0), 0u);
    EXPECT_NE(feed.find("/emberfall/emberfall.xml"), std::string::npos);

    // Launching makes the application dark.
    NSApplication::shared().appearance = nullptr;
    Notification launched{NSApplication::didFinishLaunchingNotification, nullptr, {}};
    delegate->applicationDidFinishLaunching(launched); // no application: nothing
    EXPECT_FALSE(NSApplication::shared().appearance);
    launched.object = NSApplication::shared().sharedAs<NSObject>();
    delegate->applicationDidFinishLaunching(launched);
    ASSERT_TRUE(NSApplication::shared().appearance);
    EXPECT_EQ(NSApplication::shared().appearance->name(), NSAppearanceName::darkAqua);
}

TEST_F(AppTest, TheMenusAboutGroupIsAboutADividerAndCheckForUpdates) {
    EmberfallApp app(recorder);
    auto scene = app.body();
    ASSERT_EQ(scene.commandGroups.size(), 1u);
    const auto& group = scene.commandGroups[0];
    EXPECT_EQ(group.placement, SwiftUI::CommandGroupPlacement::appInfo);
    ASSERT_EQ(group.items.size(), 3u);
    EXPECT_EQ(group.items[0].label, "About");
    EXPECT_EQ(group.items[1].kind, SwiftUI::CommandItem::Kind::divider);
    EXPECT_EQ(group.items[2].label, "Check for Updates\u2026");

    auto menu = SwiftUI::makeMainMenu("Emberfall", scene.commandGroups)->item(0)->submenu();
    std::vector<std::string> titles;
    for (const auto& item : menu->itemArray())
        titles.push_back(item->isSeparatorItem() ? "-" : item->title);
    EXPECT_EQ(titles, (std::vector<std::string>{"About", "-", "Check for Updates…", "-",
                                                "Quit Emberfall"}));
    for (const auto& item : menu->itemArray())
        EXPECT_TRUE(item->keyEquivalent.empty() || item->title.rfind("Quit", 0) == 0);

    EXPECT_TRUE(menu->performActionForItem(2)); // Check for Updates…
    EXPECT_EQ(recorder->checks, 1);
    EXPECT_TRUE(menu->performActionForItem(0)); // About
    auto panel = NSApplication::shared().aboutPanel();
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(AppTest, OnlyTheExactUpdateURLStartsACheck) {
    EmberfallApp app(recorder);
    auto& application = NSApplication::shared();
    struct Case {
        const char* what;
        std::vector<std::string> urls;
        int checks;
    };
    const Case cases[] = {
        {"the update URL", {"emberfall://openAndUpdate"}, 1},
        {"with a path, query or port",
         {"emberfall://openAndUpdate/x?y=1", "emberfall://openAndUpdate:9"},
         2},
        {"a capital in the scheme", {"Emberfall://openAndUpdate", "EMBERFALL://openAndUpdate"}, 0},
        {"the host in another case", {"emberfall://openandupdate", "emberfall://OPENANDUPDATE"}, 0},
        {"a host that only begins or ends with it",
         {"emberfall://openAndUpdateNow", "emberfall://xopenAndUpdate", "emberfall://openAndUpdat"},
         0},
        {"the host in the user information or the path",
         {"emberfall://openAndUpdate@other", "emberfall://other/openAndUpdate"},
         0},
        {"a percent-encoded host",
         {"emberfall://%6FpenAndUpdate", "emberfall://openAndUpdat%65"},
         0},
        {"another scheme or none",
         {"https://openAndUpdate", "other://openAndUpdate", "emberfall:openAndUpdate"},
         0},
        {"a mixed list, in order",
         {"x://a", "emberfall://openAndUpdate", "emberfall://other", "emberfall://openAndUpdate"},
         2},
        {"an empty list", {}, 0},
    };
    application.finishLaunching();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder->checks = 0;
        std::vector<URL> urls;
        for (const auto& text : c.urls)
            urls.push_back(*URL::string(text));
        application.openURLs(urls);
        // Each check fails at once here (no update host): no session stays open.
        EXPECT_EQ(recorder->checks, c.checks);
    }
}

TEST_F(AppTest, WithoutAnUpdateServerTheCheckSaysThisBuildCannotCheck) {
    EmberfallApp app(recorder);
    app.sparkleHelper->updaterController->checkForUpdates(nullptr);
    EXPECT_EQ(recorder->said, (std::vector<std::string>{"checking", "could not check"}));
    EXPECT_NE(recorder->why.find("names no update server in this build, so it cannot check"),
              std::string::npos)
        << recorder->why;
    EXPECT_EQ(recorder->why.find("secure"), std::string::npos) << recorder->why;

    // The window a person sees says the same.
    auto standard = std::make_shared<SPUStandardUserDriver>();
    EmberfallApp shown(standard);
    shown.sparkleHelper->updaterController->checkForUpdates(nullptr);
    ASSERT_TRUE(standard->window());
    EXPECT_EQ(standard->window()->title, "Software Update");
    EXPECT_EQ(standard->headline(), "Update check failed");
    EXPECT_NE(standard->detail().find("names no update server"), std::string::npos);
    standard->window()->orderOut();
}

TEST_F(AppTest, TheDelegateChecksThroughItsHelperOnly) {
    EmberfallApp app(recorder);
    auto delegate = app.appDelegate.wrappedValue();
    delegate->handleURL(*URL::string("emberfall://openAndUpdate"));
    EXPECT_EQ(recorder->checks, 1);
    delegate->sparkleHelper = nullptr; // no helper: nothing to ask
    delegate->handleURL(*URL::string("emberfall://openAndUpdate"));
    EXPECT_EQ(recorder->checks, 1);
}

} // namespace
