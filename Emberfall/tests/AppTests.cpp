#include "EmberfallApp.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "AppKit/NSMenu.h"
#include "AppKit/NSWindow.h"
#include "AppKit/URLSchemeChannel.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/TemporaryDirectory.h"

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
    void showUpdaterError(const std::string&) override { said.push_back("could not check"); }
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

TEST_F(AppTest, TheDelegateChecksThroughItsHelperOnly) {
    EmberfallApp app(recorder);
    auto delegate = app.appDelegate.wrappedValue();
    delegate->handleURL(*URL::string("emberfall://openAndUpdate"));
    EXPECT_EQ(recorder->checks, 1);
    delegate->sparkleHelper = nullptr; // no helper: nothing to ask
    delegate->handleURL(*URL::string("emberfall://openAndUpdate"));
    EXPECT_EQ(recorder->checks, 1);
}

TEST(SchemeChannel, OnlyShortCleanTextReachesTheApplication) {
    struct Case {
        const char* what;
        std::string message;
        bool accepted;
    };
    const Case cases[] = {
        {"a URL", "emberfall://openAndUpdate", true},
        {"a URL with its line feed", "emberfall://openAndUpdate\n", true},
        {"UTF-8 text", "emberfall://ö", true},
        {"empty", "", false},
        {"too long", "emberfall://" + std::string(URLSchemeChannel::maximumMessageLength, 'a'),
         false},
        {"invalid UTF-8", "emberfall://\xC3", false},
        {"an overlong form", "emberfall://\xC0\xAF", false},
        {"a control character", std::string("emberfall://open\x01", 17), false},
        {"a line feed inside", "emberfall://a\nb", false},
        {"a C1 control", "emberfall://\xC2\x85", false},
        {"a NUL", std::string("emberfall://\0x", 14), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(URLSchemeChannel::acceptableMessage(c.message).has_value(), c.accepted);
    }
}

TEST(SchemeChannel, AListenerTakesWhatIsSentAndHandsItToTheMainThread) {
    RunLoopTestScope loop;
    TemporaryDirectory runtime("scheme-channel");
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    std::vector<std::string> received;
    auto listener = URLSchemeChannel::Listener::start(
        "emberfalltest", [&](std::string t) { received.push_back(std::move(t)); });
    ASSERT_TRUE(listener);
    EXPECT_FALSE(URLSchemeChannel::Listener::start("emberfalltest", [](std::string) {}));
    struct stat info {};
    ASSERT_EQ(stat(listener->path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_TRUE(URLSchemeChannel::send("emberfalltest", "emberfall://openAndUpdate"));
    EXPECT_TRUE(URLSchemeChannel::send("emberfalltest", std::string(5000, 'x')));
    EXPECT_TRUE(URLSchemeChannel::send("emberfalltest", "emberfall://two"));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return received.size() >= 2; }, 5));
    RunLoop::main().runUntil([] { return false; }, 0.2);
    EXPECT_EQ(received, (std::vector<std::string>{"emberfall://openAndUpdate", "emberfall://two"}));
    listener.reset();
    EXPECT_FALSE(URLSchemeChannel::send("emberfalltest", "emberfall://late"));
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
