// The application in a real window on a private virtual X screen: it shows its band
// animating, pauses while another window has the focus, and runs one update check when
// the URL reaches it from a second launch. The update check fails at once (the build
// names no update host), so nothing touches the network.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestSupport/ChildProcess.h"
#include "TestSupport/TemporaryDirectory.h"
#include "VirtualScreen.h"

namespace {

using ChildProcess::output;
using ChildProcess::spawn;

// The ids of the windows titled exactly `title`.
std::vector<std::string> windowsTitled(const std::string& title) {
    std::vector<std::string> ids;
    std::string out = output({"xdotool", "search", "--name", "^" + title + "$"});
    for (size_t at = 0; at < out.size();) {
        size_t end = out.find('\n', at);
        if (end == std::string::npos)
            end = out.size();
        if (end > at)
            ids.push_back(out.substr(at, end - at));
        at = end + 1;
    }
    return ids;
}

bool waitFor(const std::function<bool()>& done, double seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

// The first window titled `title` to appear within `seconds`; "" when none did.
std::string firstWindowTitled(const std::string& title, double seconds) {
    std::string id;
    waitFor(
        [&] {
            auto found = windowsTitled(title);
            if (!found.empty())
                id = found[0];
            return !id.empty();
        },
        seconds);
    return id;
}

// The band's pixels in a screenshot: the window's top 300 points, found by its place.
std::vector<uint8_t> band(const std::string& window) {
    std::string geometry = output({"xdotool", "getwindowgeometry", "--shell", window});
    auto field = [&](const char* name) {
        size_t at = geometry.find(std::string(name) + "=");
        return at == std::string::npos ? 0
                                       : std::atoi(geometry.c_str() + at + std::strlen(name) + 1);
    };
    int x = field("X"), y = field("Y"), w = field("WIDTH");
    auto shot = VirtualScreen::capture();
    std::vector<uint8_t> pixels;
    if (!shot || w <= 0)
        return pixels;
    for (int py = y + 20; py < y + 280 && py < int(shot->height()); py += 3)
        for (int px = x + 10; px < x + w - 10 && px < int(shot->width()); px += 3) {
            auto p = shot->pixel(size_t(px), size_t(py));
            pixels.insert(pixels.end(), {p.r, p.g, p.b});
        }
    return pixels;
}

TEST(EmberfallWindow, AnimatesWhileKeyPausesWithoutFocusAndTakesTheUpdateURL) {
    std::string why;
    if (!VirtualScreen::start(&why) || !VirtualScreen::haveProgram("xdotool") ||
        !VirtualScreen::haveProgram("import") || !VirtualScreen::haveProgram("xmessage"))
        GTEST_SKIP() << "no virtual screen or desktop tools: " << why;
    TemporaryDirectory runtime("emberfall-runtime");
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    setenv("EMBERFALL_SCALE", "1", 1);

    pid_t app = spawn({EMBERFALL_APP});
    ASSERT_GT(app, 0);
    std::string window = firstWindowTitled("Emberfall", 20);
    ASSERT_FALSE(window.empty());
    VirtualScreen::run({"xdotool", "windowfocus", "--sync", window}, 5);

    // It shows the waveform, and animates: a look a moment later differs.
    auto lit = [&] {
        auto pixels = band(window);
        return std::count_if(pixels.begin(), pixels.end(), [](uint8_t v) { return v > 60; }) > 100;
    };
    ASSERT_TRUE(waitFor(lit, 20));
    auto moves = [&] {
        auto before = band(window);
        return waitFor([&] { return band(window) != before; }, 15);
    };
    EXPECT_TRUE(moves());

    // Another window takes the focus: the band stands still.
    pid_t other = spawn({"xmessage", "-name", "other", "-geometry", "+700+600", "another window"});
    std::string otherWindow = firstWindowTitled("other", 10);
    ASSERT_FALSE(otherWindow.empty());
    VirtualScreen::run({"xdotool", "windowfocus", "--sync", otherWindow}, 10);
    // Once the focus has moved, two looks half a second apart are the same.
    EXPECT_TRUE(waitFor(
        [&] {
            auto paused = band(window);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            return band(window) == paused;
        },
        10));
    // Back in focus, it moves on (the focus asked for again while the desktop is slow).
    EXPECT_TRUE(waitFor(
        [&] {
            VirtualScreen::run({"xdotool", "windowfocus", window}, 5);
            auto before = band(window);
            return waitFor([&] { return band(window) != before; }, 2);
        },
        20));
    kill(other, SIGTERM);
    waitpid(other, nullptr, 0);

    // The effect's update button: a second launch hands the URL over and ends; the
    // running one checks, once for a flood of them.
    EXPECT_TRUE(windowsTitled("Software Update").empty());
    for (int i = 0; i < 5; ++i) {
        pid_t second = spawn({EMBERFALL_APP, "emberfall://openAndUpdate"});
        int status = -1;
        waitpid(second, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_TRUE(waitFor([] { return windowsTitled("Software Update").size() == 1; }, 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(windowsTitled("Software Update").size(), 1u);

    kill(app, SIGTERM);
    int status = -1;
    waitpid(app, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "the application ends on a quit request";
    unsetenv("XDG_RUNTIME_DIR");
}

// The place and size of a window on the screen, in pixels.
struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};
Geometry geometryOf(const std::string& window) {
    std::string shell = output({"xdotool", "getwindowgeometry", "--shell", window});
    auto field = [&](const char* name) {
        // Each field on a line of its own, after the window's id.
        size_t at = shell.find(std::string("\n") + name + "=");
        return at == std::string::npos ? 0 : std::atoi(shell.c_str() + at + 2 + std::strlen(name));
    };
    return {field("X"), field("Y"), field("WIDTH"), field("HEIGHT")};
}

// The application on the virtual screen, ended when the test ends.
class RunningApplication {
  public:
    explicit RunningApplication(const std::string& scale) {
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        setenv("EMBERFALL_SCALE", scale.c_str(), 1);
        pid = spawn({EMBERFALL_APP});
        window = firstWindowTitled("Emberfall", 20);
    }
    ~RunningApplication() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("EMBERFALL_SCALE");
    }
    // The band changes within a few seconds (asking for the focus again meanwhile).
    bool animates() {
        return waitFor(
            [&] {
                VirtualScreen::run({"xdotool", "windowfocus", window}, 5);
                auto before = band(window);
                return waitFor([&] { return band(window) != before; }, 2);
            },
            20);
    }
    TemporaryDirectory runtime{"emberfall-runtime"};
    pid_t pid = -1;
    std::string window;
};

bool haveScreen() {
    std::string why;
    return VirtualScreen::start(&why) && VirtualScreen::haveProgram("xdotool") &&
           VirtualScreen::haveProgram("import");
}

TEST(EmberfallWindow, TheUpdateWindowGoesByOKReturnOrEscapeAndTheBandMovesOnAfterwards) {
    if (!haveScreen())
        GTEST_SKIP() << "no virtual screen or desktop tools";
    RunningApplication app("1");
    ASSERT_FALSE(app.window.empty());
    struct Case {
        const char* what;
        std::function<void(const std::string& updateWindow)> close;
    };
    auto keys = [](std::vector<std::string> names) {
        return [names](const std::string& updateWindow) {
            std::vector<std::string> command{"xdotool", "key"};
            command.insert(command.end(), names.begin(), names.end());
            VirtualScreen::run(command, 5);
        };
    };
    const Case cases[] = {
        {"a click on OK",
         [](const std::string& updateWindow) {
             // OK sits 20 points in from the right and 16 from the bottom, 80 × 24.
             Geometry g = geometryOf(updateWindow);
             VirtualScreen::run({"xdotool", "mousemove", std::to_string(g.x + g.width - 60),
                                 std::to_string(g.y + g.height - 28), "click", "1"},
                                5);
         }},
        {"Return", keys({"Return"})},
        {"Escape", keys({"Escape"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pid_t second = spawn({EMBERFALL_APP, "emberfall://openAndUpdate"});
        int status = -1;
        waitpid(second, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::string update = firstWindowTitled("Software Update", 15);
        ASSERT_FALSE(update.empty());
        VirtualScreen::run({"xdotool", "windowfocus", "--sync", update}, 5);
        c.close(update);
        EXPECT_TRUE(waitFor([] { return windowsTitled("Software Update").empty(); }, 15))
            << "the update window is still on the screen";
        // The main window has the focus again, and its band moves on.
        EXPECT_TRUE(app.animates());
    }
}

TEST(EmberfallWindow, TheMenusKeysPassOverItsDivider) {
    if (!haveScreen())
        GTEST_SKIP() << "no virtual screen or desktop tools";
    RunningApplication app("1");
    ASSERT_FALSE(app.window.empty());
    VirtualScreen::run({"xdotool", "windowfocus", "--sync", app.window}, 5);
    // The pointer away from where the menu opens: only the keys move the highlight.
    VirtualScreen::run({"xdotool", "mousemove", "1270", "1010"}, 5);
    // F10 opens the menu; Down lights About, Down again "Check for Updates…" past the
    // divider, and Return chooses it.
    EXPECT_TRUE(waitFor(
        [&] {
            VirtualScreen::run({"xdotool", "windowfocus", "--sync", app.window}, 5);
            VirtualScreen::run({"xdotool", "key", "F10"}, 5);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            VirtualScreen::run({"xdotool", "key", "Down", "Down", "Return"}, 5);
            return waitFor([] { return windowsTitled("Software Update").size() == 1; }, 5);
        },
        30));
}

TEST(EmberfallWindow, TheWindowIsPlacedOnTheScreenAtEveryScale) {
    if (!haveScreen())
        GTEST_SKIP() << "no virtual screen or desktop tools";
    // The virtual screen is 1280 × 1024 pixels; the window 400 × 572 points.
    struct Case {
        const char* scale;
        bool fits;
    };
    const Case cases[] = {{"1", true}, {"1.5", true}, {"2", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("scale ") + c.scale);
        RunningApplication app(c.scale);
        ASSERT_FALSE(app.window.empty());
        Geometry g;
        ASSERT_TRUE(waitFor(
            [&] {
                g = geometryOf(app.window);
                return g.width > 0;
            },
            10));
        EXPECT_EQ(g.width, int(400 * std::atof(c.scale)));
        // Its top left is always on the screen; the whole of it when it fits.
        EXPECT_GE(g.x, 0);
        EXPECT_GE(g.y, 0);
        EXPECT_LE(g.x + g.width, 1280);
        if (c.fits)
            EXPECT_LE(g.y + g.height, 1024);
    }
}

} // namespace
