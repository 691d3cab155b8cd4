#pragma once
// Test support: the test window (a RecordingView of 200 × 150 points) shown on the
// private virtual screen, with helpers to drive it with xdotool and pump the loop.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Display/DisplayServer.h"
#include "RecordingView.h"
#include "VirtualScreen.h"

namespace DisplayTest {

using T = NSEvent::Type;
constexpr CGSize windowSize{200, 150};
constexpr CGPoint windowPlace{100, 80}; // on the screen, points from the top left

// A display server on the private virtual screen and one window shown on it.
class ScreenFixture : public ::testing::Test {
  protected:
    // Starts the screen and connects at `scale` pixels per point; skips without a
    // screen or without xdotool (and import, when `capturing`).
    void connect(CGFloat withScale, bool capturing = true) {
        std::string why;
        if (!VirtualScreen::start(&why))
            GTEST_SKIP() << why;
        if (!VirtualScreen::haveProgram("xdotool") ||
            (capturing && !VirtualScreen::haveProgram("import")))
            GTEST_SKIP() << "xdotool or ImageMagick's import is not installed";
        scale = withScale;
        setenv("EMBERFALL_SCALE", std::to_string(scale).c_str(), 1);
        server = DisplayServer::connect(&why);
        ASSERT_TRUE(server) << why;
        ASSERT_EQ(server->scaleFactor(), scale);
    }
    // Shows the window at a place of the screen, waits until it is drawn there and gives
    // it the keyboard.
    void showOnScreen(const std::shared_ptr<NSWindow>& window, CGPoint place,
                      bool resizable = false) {
        window->setBackingScaleFactor(scale);
        shown = server->show(window, {.screenPosition = place, .resizable = resizable});
        ASSERT_TRUE(pumpUntil([&] { return shown->isOnScreen() && shown->presentCount() > 0; }));
        xid = std::to_string(shown->nativeWindowId());
        ASSERT_NE(xid, "0");
        // Without a window manager nobody gives the window the keyboard: ask for it.
        ASSERT_EQ(VirtualScreen::run({"xdotool", "windowfocus", "--sync", xid}), 0);
        server->pump(0.05);
    }
    void TearDown() override {
        if (server && server->popup())
            server->popup()->cancel();
        shown.reset();
        server.reset();
        unsetenv("EMBERFALL_SCALE");
    }

    bool pumpUntil(const std::function<bool()>& done, double seconds = 5) {
        for (int turns = 0; turns < int(seconds / 0.01); ++turns) {
            if (done())
                return true;
            server->pump(0.01);
        }
        return done();
    }
    // Runs xdotool, then lets the loop take in what it did.
    // `arrived` must turn true within `seconds` (a check that never turns true just
    // pumps that long).
    void xdotool(std::vector<std::string> args, const std::function<bool()>& arrived,
                 std::optional<double> seconds = std::nullopt) {
        args.insert(args.begin(), "xdotool");
        ASSERT_EQ(VirtualScreen::run(args), 0);
        bool came = pumpUntil(arrived, seconds.value_or(5));
        if (!seconds)
            EXPECT_TRUE(came);
    }
    // Runs xdotool beside the loop, for input that reaches a handler which runs a loop
    // of its own meanwhile (a menu that pops up tracks the pointer until it is done, as
    // the person's hand goes on): pumps until xdotool has finished and `arrived`.
    void xdotoolAlongside(std::vector<std::string> args, const std::function<bool()>& arrived) {
        args.insert(args.begin(), "xdotool");
        std::atomic<int> status{-2};
        std::thread hand([&] { status = VirtualScreen::run(args); });
        bool came = pumpUntil([&] { return status != -2 && arrived(); });
        hand.join();
        ASSERT_EQ(status, 0);
        EXPECT_TRUE(came);
    }
    static std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }

    CGFloat scale = 1;
    std::unique_ptr<DisplayServer> server;
    std::shared_ptr<DisplayWindow> shown;
    std::string xid;
};

class ScreenTest : public ScreenFixture {
  protected:
    // Opens the test window at `scale` pixels per point; skips without a screen.
    void open(CGFloat withScale, bool resizable = false) {
        connect(withScale);
        if (IsSkipped() || HasFatalFailure())
            return;
        window = make<NSWindow>(CGRect{{0, 0}, windowSize});
        window->title = "Display test";
        view = make<RecordingView>(CGRect{{0, 0}, windowSize});
        window->setContentView(view);
        window->makeFirstResponder(view);
        showOnScreen(window, windowPlace, resizable);
    }
    // A point of the screen (points from the top left) in pixels, as xdotool takes them.
    std::vector<std::string> moveToScreen(CGPoint p) const {
        return {"mousemove", px(p.x), px(p.y)};
    }
    // A window point in pixels of the X window, as xdotool takes them.
    std::string px(CGFloat points) const { return std::to_string(int(points * scale)); }
    std::vector<std::string> moveTo(CGPoint p) const {
        return {"mousemove", "--window", xid, px(p.x), px(windowSize.height - p.y)};
    }
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<RecordingView> view;
};

inline void expectAt(const SeenEvent& e, CGPoint p) {
    EXPECT_NEAR(e.at.x, p.x, 0.01);
    EXPECT_NEAR(e.at.y, p.y, 0.01);
}

} // namespace DisplayTest
