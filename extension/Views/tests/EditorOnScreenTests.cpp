// The editor in a real window on a private virtual X screen, driven with real X input
// (xdotool) and photographed (ImageMagick's import); skipped when the screen or the
// tools are missing. Every wait is bounded.

#include "HostedEditor.h"
#include "PopupMenu.h"
#include "ScreenTest.h"
#include "TestSupport/ControlHarness.h"
#include "VirtualScreen.h"

#include "AppKit/NSWorkspace.h"
#include "CoreAudioKit/AUViewController.h"
#include "Display/DisplayServer.h"
#include "FactoryPresets.h"
#include "SwiftUI/NSHostingView.h"
#include "TestSupport/DialPlaces.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

constexpr CGPoint windowPlace{40, 30};

// The display tests' screen fixture (its loop pumping and xdotool runs) around the
// editor's window instead of its test window.
class EditorOnScreen : public DisplayTest::ScreenTest {
  protected:
    void SetUp() override {
        std::string why;
        if (!VirtualScreen::start(&why))
            GTEST_SKIP() << why;
        if (!VirtualScreen::haveProgram("xdotool") || !VirtualScreen::haveProgram("import"))
            GTEST_SKIP() << "xdotool or ImageMagick's import is not installed";
        setenv("EMBERFALL_SCALE", "1", 1);
        server = DisplayServer::connect(&why);
        ASSERT_TRUE(server) << why;
        std::string error;
        auto loaded = loadEditor(error);
        ASSERT_TRUE(loaded) << error;
        effect = std::move(loaded->effect);
        controller = std::move(loaded->controller);
        window = make<NSWindow>(CGRect{0, 0, 472, 672});
        window->title = "Emberfall";
        window->setContentView(controller->view());
        shown = server->show(window, {.screenPosition = windowPlace});
        ASSERT_TRUE(pumpUntil([&] { return shown->isOnScreen() && shown->presentCount() > 0; }));
        controller->viewDidAppearOnScreen();
        host = SwiftUI::NSHostingView::firstIn(controller->view());
        ASSERT_TRUE(host);
        menus = PopupMenuPresenter::install(*server, shown, host);
        xid = std::to_string(shown->nativeWindowId());
        ASSERT_EQ(VirtualScreen::run({"xdotool", "windowfocus", "--sync", xid}), 0);
        server->pump(0.05);
    }
    void TearDown() override {
        menus.reset();
        ScreenTest::TearDown();
        window.reset();
        controller.reset();
        effect = {};
    }

    void xdotool(std::vector<std::string> args) {
        ScreenTest::xdotool(std::move(args), [] { return true; });
    }
    // Clicks the middle of a view of the editor.
    void clickOn(const std::string& identifier) {
        auto v = moveTo(centreOf(identifier));
        v.insert(v.end(), {"click", "1"});
        xdotool(v);
    }
    // A point of the editor (top-left points) for xdotool, in the window's pixels.
    std::vector<std::string> moveTo(CGPoint p) const {
        return {"mousemove", "--window", xid, std::to_string(int(p.x)), std::to_string(int(p.y))};
    }
    CGPoint centreOf(const std::string& identifier) {
        std::optional<CGRect> f = host->graph().frame(identifier);
        EXPECT_TRUE(f) << identifier;
        return f ? CGPoint{f->midX(), f->midY()} : CGPoint{};
    }
    float kernelValue(const std::string& identifier) {
        return effect.unit->parameterTree()->parameter(identifier)->value();
    }
    std::string currentPresetId() {
        auto state = effect.unit->fullState();
        auto found = state ? state->find("currentPresetId") : decltype(state->end()){};
        return state && found != state->end() && found->second.string() ? *found->second.string()
                                                                        : "";
    }
    // How many pixels of a rectangle of the editor differ between two photographs.
    static int changedPixels(const CGImage& a, const CGImage& b, CGRect r) {
        int changed = 0;
        for (int y = int(r.minY()); y < int(r.maxY()); ++y)
            for (int x = int(r.minX()); x < int(r.maxX()); ++x) {
                auto p = a.pixel(size_t(x + windowPlace.x), size_t(y + windowPlace.y));
                auto q = b.pixel(size_t(x + windowPlace.x), size_t(y + windowPlace.y));
                changed += p.r != q.r || p.g != q.g || p.b != q.b;
            }
        return changed;
    }

    // Opens the preset menu with a click on its box; its items.
    const std::vector<SwiftUI::MenuItem>* openPresetMenu() {
        clickOn("presetMenu");
        EXPECT_TRUE(pumpUntil([&] { return server->popup() && server->popup()->isOpen(); }));
        return host->graph().presentedMenu();
    }
    // The menu hangs below the preset box: its top-left corner on the screen.
    CGPoint presetMenuTop() {
        const CGRect box = *host->graph().frame("presetMenu");
        return {windowPlace.x + box.minX(), windowPlace.y + box.maxY()};
    }
    // A point in a row of a pop-up whose top-left corner is `top`; its rows stack from
    // its top.
    static CGPoint rowOf(CGPoint top, const std::vector<SwiftUI::MenuItem>& items, int item) {
        return {top.x + 30, top.y + PopupMenuPresenter::rowTop(items, item) +
                                PopupMenuPresenter::rowHeight / 2};
    }
    void moveOnScreen(CGPoint p, bool click = false) {
        std::vector<std::string> args{"mousemove", std::to_string(int(p.x)),
                                      std::to_string(int(p.y))};
        if (click)
            args.insert(args.end(), {"click", "1"});
        xdotool(args);
    }

    LoadedEffect effect;
    std::shared_ptr<AUViewController> controller;
    std::shared_ptr<SwiftUI::NSHostingView> host;
    std::shared_ptr<PopupMenuPresenter> menus;
};

TEST_F(EditorOnScreen, ARealDragTurnsTheMixDialOnScreenAndInTheKernel) {
    const CGRect dial = *host->graph().frame("dial-mix");
    const CGPoint c = centreOf("dial-mix");
    std::optional<CGImage> before = VirtualScreen::capture();
    ASSERT_TRUE(before);
    const float mix = kernelValue("mix");

    std::vector<std::string> drag = moveTo(c);
    for (const char* step : {"mousedown", "1"})
        drag.push_back(step);
    for (CGFloat up : {10, 20, 30, 40, 50}) {
        auto m = moveTo({c.x, c.y - up});
        drag.insert(drag.end(), m.begin(), m.end());
    }
    drag.push_back("mouseup");
    drag.push_back("1");
    xdotool(drag);
    EXPECT_TRUE(pumpUntil([&] { return kernelValue("mix") >= mix + 15; }));
    EXPECT_NEAR(kernelValue("mix"), mix + 20, 1); // 40 points past the dead zone
    server->pump(0.1);                            // the next frame is on the screen

    std::optional<CGImage> after = VirtualScreen::capture();
    ASSERT_TRUE(after);
    EXPECT_GT(changedPixels(*before, *after, dial), 50) << "the dial did not move on the screen";
    after->writePNG(::testing::TempDir() + "editor-on-screen.png");
}

TEST_F(EditorOnScreen, ThePresetMenuOpensAsAPopUpAndTakesTheKeyboard) {
    ASSERT_TRUE(openPresetMenu());
    // Default, then the first style, whose submenu Return opens beside it with its
    // first preset highlighted; Down moves on to the second.
    xdotool({"key", "Down", "Down", "Return"});
    ASSERT_TRUE(pumpUntil([&] { return server->popups().size() == 2; }));
    EXPECT_EQ(server->popup()->highlighted(), 0);
    // Left goes back to the styles, Right into the submenu again.
    xdotool({"key", "Left"});
    ASSERT_TRUE(pumpUntil([&] { return server->popups().size() == 1; }));
    xdotool({"key", "Right", "Down", "Return"});
    const FactoryPreset& second = factoryPresetGroups()[0].presets[1];
    EXPECT_TRUE(pumpUntil([&] { return currentPresetId() == second.id(); }));
    EXPECT_FLOAT_EQ(kernelValue("mix"), second.mix);
    EXPECT_FALSE(server->popup() && server->popup()->isOpen());
}

TEST_F(EditorOnScreen, ThePresetMenuAndItsSubmenuAreChosenWithTheMouse) {
    const auto* menu = openPresetMenu();
    ASSERT_TRUE(menu);
    const CGPoint menuTop = presetMenuTop();
    const CGSize menuSize =
        PopupMenuPresenter::size(*menu, host->graph().frame("presetMenu")->width());
    const int style = 2; // the first style, after Default and a divider
    moveOnScreen(rowOf(menuTop, *menu, style), true);
    // The submenu opens beside the row it came from.
    const std::vector<SwiftUI::MenuItem> presets = (*menu)[style].items;
    ASSERT_TRUE(pumpUntil([&] { return server->popups().size() == 2; }));
    const CGPoint subTop{menuTop.x + menuSize.width - 2,
                         menuTop.y + PopupMenuPresenter::rowTop(*menu, style) -
                             PopupMenuPresenter::margin};
    moveOnScreen(rowOf(subTop, presets, 1), true);
    const FactoryPreset& second = factoryPresetGroups()[0].presets[1];
    EXPECT_TRUE(pumpUntil([&] { return currentPresetId() == second.id(); }));
    EXPECT_FLOAT_EQ(kernelValue("feedback"), second.feedback);
}

TEST_F(EditorOnScreen, EscapeDismissesThePresetMenu) {
    ASSERT_TRUE(openPresetMenu());
    xdotool({"key", "Escape"});
    EXPECT_TRUE(pumpUntil([&] { return !host->graph().presentedMenu(); }));
    EXPECT_EQ(currentPresetId(), "");
}

// A person grabs a knob in its middle, where its title is printed.
TEST_F(EditorOnScreen, ADragFromTheMiddleOfTheFeedbackDialTurnsIt) {
    const CGPoint c = centreOf("dial-feedback");
    const CGRect dial = *host->graph().frame("dial-feedback");
    // The title sits on the knob's cap, 16 points above the middle of the dial's frame.
    const CGPoint cap{c.x, dial.minY() + 18};
    const float feedback = kernelValue("feedback");
    std::vector<std::string> drag = moveTo(cap);
    drag.insert(drag.end(), {"mousedown", "1"});
    for (CGFloat up : {10, 20, 30, 40}) {
        auto m = moveTo({cap.x, cap.y - up});
        drag.insert(drag.end(), m.begin(), m.end());
    }
    drag.insert(drag.end(), {"mouseup", "1"});
    xdotool(drag);
    // 40 points, less the knob's 6-point dead zone, of 200 points for the whole range.
    EXPECT_TRUE(pumpUntil([&] { return kernelValue("feedback") > feedback + 20; }));
    EXPECT_NEAR(kernelValue("feedback"), feedback + 150 * 34 * 0.005f, 3);
}

// Real clicks where a person aims on a large and a small dial: the middle of the value
// row (the gap between "45" and "%") opens the field, and what is typed reaches the
// kernel; a double-click on the top of the ring resets the dial.
TEST_F(EditorOnScreen, RealClicksOnTheValueTypeAndADoubleClickOnTheRingResets) {
    struct Case {
        const char* identifier;
        const char* typed;
        float value, defaultValue;
    };
    const Case cases[] = {{"feedback", "60", 60, 45}, {"highCut", "5000", 5000, 20000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        const std::string id = c.identifier;
        const std::shared_ptr<CGContext> drawn = window->snapshot(true);
        const std::optional<DialPlaces> dial =
            DialPlaces::find(drawn->displayList(), *host->graph().frame("dial-" + id), 14);
        ASSERT_TRUE(dial);
        const CGPoint value{(dial->value.maxX() + dial->suffix.minX()) / 2, dial->value.midY()};
        auto click = moveTo(value);
        click.insert(click.end(), {"click", "1"});
        ScreenTest::xdotool(click, [&] { return host->graph().hasFocus(); });
        ASSERT_TRUE(host->graph().hasFocus()) << "the click opened no field";
        ScreenTest::xdotool({"type", "--delay", "20", c.typed}, [] { return true; });
        ScreenTest::xdotool({"key", "Return"}, [&] { return kernelValue(id) == c.value; });
        EXPECT_FLOAT_EQ(kernelValue(id), c.value);

        auto twice = moveTo({dial->frame.midX(), dial->frame.minY() + 3});
        twice.insert(twice.end(), {"click", "--repeat", "2", "--delay", "60", "1"});
        ScreenTest::xdotool(twice, [&] { return kernelValue(id) == c.defaultValue; });
        EXPECT_FLOAT_EQ(kernelValue(id), c.defaultValue);
    }
}

// Submenus open on hover: moving from one style to the next shows the next style's
// presets, and the menu stays open on the way.
TEST_F(EditorOnScreen, HoveringFromOneStyleToTheNextShowsItsSubmenu) {
    const auto* menu = openPresetMenu();
    ASSERT_TRUE(menu);
    const CGPoint menuTop = presetMenuTop();
    // The open submenu's top, which is level with its row.
    auto submenuTop = [&] {
        auto all = server->popups();
        return all.size() == 2 ? all[1]->screenFrame().minY() : -1;
    };
    auto levelWith = [&](int item) {
        return menuTop.y + PopupMenuPresenter::rowTop(*menu, item) - PopupMenuPresenter::margin;
    };
    const int first = 2, second = 3; // the styles after Default and a divider
    moveOnScreen(rowOf(menuTop, *menu, first));
    ASSERT_TRUE(pumpUntil([&] { return submenuTop() == levelWith(first); }));
    std::optional<CGImage> before = VirtualScreen::capture();
    moveOnScreen(rowOf(menuTop, *menu, second));
    ASSERT_TRUE(pumpUntil([&] { return submenuTop() == levelWith(second); }));
    EXPECT_EQ(server->popups().size(), 2u) << "the menu stayed open";
    server->pump(0.1);
    std::optional<CGImage> after = VirtualScreen::capture();
    ASSERT_TRUE(before && after);
    // Where the second submenu's last row is now, the screen changed.
    const CGRect sub = server->popups()[1]->screenFrame();
    int changed = 0;
    for (int y = int(sub.maxY()) - 20; y < int(sub.maxY()) - 2; ++y)
        for (int x = int(sub.minX()) + 4; x < int(sub.maxX()) - 4; ++x) {
            auto p = before->pixel(size_t(x), size_t(y)), q = after->pixel(size_t(x), size_t(y));
            changed += p.r != q.r || p.g != q.g || p.b != q.b;
        }
    EXPECT_GT(changed, 50) << "the second submenu is not on the screen";
    // Along its row into it, and a click on its first preset.
    moveOnScreen({sub.minX() + 4, rowOf(menuTop, *menu, second).y});
    moveOnScreen(rowOf(sub.origin, (*menu)[second].items, 0), true);
    const FactoryPreset& chosen = factoryPresetGroups()[1].presets[0];
    EXPECT_TRUE(pumpUntil([&] { return currentPresetId() == chosen.id(); }));
}

} // namespace
