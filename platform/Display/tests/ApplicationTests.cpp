// An application's windows on the private virtual screen: each one its code orders out
// or closes leaves the screen and gives the keyboard back; each is placed on the screen;
// the application menu's keys pass over its divider.

#include "ScreenTest.h"

#include "AppKit/NSApplication.h"
#include "AppKit/NSMenu.h"
#include "Display/DisplayApplication.h"

namespace {

using namespace DisplayTest;

class Application : public ScreenFixture {
  protected:
    void SetUp() override {
        connect(1, false);
        if (IsSkipped() || HasFatalFailure())
            return;
        DisplayApplication::install(NSApplication::shared(), *server);
    }
    void TearDown() override {
        auto& application = NSApplication::shared();
        application.setWindowPresenter(nullptr);
        application.setEventLoop(nullptr);
        application.terminationRequested = nullptr;
        application.mainMenu = nullptr;
        ScreenFixture::TearDown();
    }
    std::shared_ptr<NSWindow> present(const std::string& title, CGSize size) {
        auto window = make<NSWindow>(CGRect{{0, 0}, size}, uint64_t(NSWindow::titled));
        window->title = title;
        NSApplication::shared().presentWindow(window);
        return window;
    }
    std::shared_ptr<DisplayWindow> shownFor(const std::shared_ptr<NSWindow>& window) {
        for (const auto& w : server->windows())
            if (w->window() == window)
                return w;
        return nullptr;
    }
    bool onScreen(const std::string& title) {
        return VirtualScreen::run({"xdotool", "search", "--name", "^" + title + "$"}, 5) == 0;
    }
    void focus(const std::shared_ptr<NSWindow>& window) {
        auto shown = shownFor(window);
        ASSERT_TRUE(shown);
        ASSERT_TRUE(pumpUntil([&] { return shown->isOnScreen(); }));
        VirtualScreen::run(
            {"xdotool", "windowfocus", "--sync", std::to_string(shown->nativeWindowId())}, 5);
        ASSERT_TRUE(pumpUntil([&] { return window->isKeyWindow(); }));
    }
};

TEST_F(Application, AWindowItsCodeOrdersOutOrClosesLeavesTheScreen) {
    struct Case {
        const char* what;
        std::function<void(NSWindow&)> end;
    };
    const Case cases[] = {
        {"ordered out", [](NSWindow& w) { w.orderOut(); }},
        {"closed", [](NSWindow& w) { w.close(); }},
    };
    auto main = present("Main window", {200, 150});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto dialog = present("A dialog", {160, 90});
        focus(dialog);
        ASSERT_TRUE(onScreen("A dialog"));
        c.end(*dialog);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(shownFor(dialog));
        server->pump(0.05);
        EXPECT_FALSE(onScreen("A dialog"));
        // The keyboard goes back to the window that is left.
        EXPECT_TRUE(pumpUntil([&] { return main->isKeyWindow(); }));
        EXPECT_TRUE(onScreen("Main window"));
    }
    // Presented again, it comes back.
    auto again = present("A dialog", {160, 90});
    EXPECT_TRUE(pumpUntil([&] { return onScreen("A dialog"); }));
}

TEST_F(Application, AWindowIsPlacedWhollyOnTheScreenWhenItFitsElseFromItsTopLeft) {
    const CGRect screen = server->screenBounds(); // 1280 × 1024 at scale 1
    struct Case {
        const char* what;
        CGSize size;
        bool fits;
    };
    const Case cases[] = {
        {"a small window", {200, 150}, true},
        {"one as tall as the screen", {400, screen.size.height}, true},
        {"one taller than the screen", {400, screen.size.height + 120}, false},
        {"one wider than the screen", {screen.size.width + 60, 300}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto window = present(c.what, c.size);
        auto shown = shownFor(window);
        ASSERT_TRUE(shown);
        const CGPoint topLeft = shown->screenPoint({0, c.size.height});
        const CGPoint bottomRight = shown->screenPoint({c.size.width, 0});
        EXPECT_GE(topLeft.x, screen.minX());
        EXPECT_GE(topLeft.y, screen.minY());
        if (c.fits) {
            EXPECT_LE(bottomRight.x, screen.maxX());
            EXPECT_LE(bottomRight.y, screen.maxY());
            // Centred.
            EXPECT_NEAR(topLeft.x - screen.minX(), screen.maxX() - bottomRight.x, 1);
        }
        window->orderOut();
    }
}

TEST_F(Application, TheMenusKeysPassOverDividersAndDisabledItems) {
    std::vector<std::string> chosen;
    struct Chooser : NSObject {
        std::vector<std::string>* chosen;
        void choose(NSObject* sender) {
            chosen->push_back(static_cast<NSMenuItem*>(sender)->title);
        }
    };
    auto chooser = make<Chooser>();
    chooser->chosen = &chosen;
    auto menu = NSMenu::make("Test");
    menu->autoenablesItems = false;
    for (const char* title : {"First", "-", "Dimmed", "-", "Last"}) {
        if (std::string(title) == "-") {
            menu->addItem(NSMenuItem::separatorItem());
            continue;
        }
        auto item = NSMenuItem::make(title, NSAction(&Chooser::choose));
        item->target = chooser;
        item->isEnabled = std::string(title) != "Dimmed";
        menu->addItem(item);
    }
    auto top = NSMenu::make("Main");
    auto holder = NSMenuItem::make("Test", {});
    holder->setSubmenu(menu);
    top->addItem(holder);
    NSApplication::shared().mainMenu = top;
    auto window = present("Main window", {200, 150});
    focus(window);
    // The pointer away from where the menu opens: only the keys move the highlight.
    VirtualScreen::run({"xdotool", "mousemove", "1270", "1010"}, 5);
    struct Case {
        const char* what;
        std::vector<std::string> keys;
        const char* chosen;
    };
    const Case cases[] = {
        {"Down lights the first item", {"Down", "Return"}, "First"},
        {"Down again passes over the divider and the dimmed item",
         {"Down", "Down", "Return"},
         "Last"},
        {"Up from the last comes back over them", {"Down", "Down", "Up", "Return"}, "First"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chosen.clear();
        xdotool({"key", "F10"}, [&] { return server->popup() != nullptr; });
        std::vector<std::string> keys{"key"};
        keys.insert(keys.end(), c.keys.begin(), c.keys.end());
        xdotool(keys, [&] { return !chosen.empty(); });
        EXPECT_EQ(chosen, (std::vector<std::string>{c.chosen}));
        EXPECT_FALSE(server->popup());
    }
}

} // namespace
