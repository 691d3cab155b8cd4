// A pop-up menu window beside the test window: keys and the pointer move its
// highlight, Return or a click chooses, Escape or a press outside dismisses; and a menu
// whose items open submenus beside them as the pointer or the keys reach them.

#include <gtest/gtest.h>

#include "ScreenTest.h"

#include <cmath>

namespace {

using namespace DisplayTest;
using T = NSEvent::Type;

constexpr CGPoint popupPlace{320, 80}; // right of the window, points from the screen's top left
constexpr CGSize popupSize{120, 80};
constexpr CGFloat rowHeight = 20; // four rows; the second is a divider

class Popup : public ScreenTest {
  protected:
    void SetUp() override { open(1); }

    void showPopup() {
        PopupWindow::Options options;
        options.screenPosition = popupPlace;
        options.size = popupSize;
        options.itemCount = 4;
        options.isEnabled = [](int item) { return item != 1; };
        options.itemAt = [](CGPoint p) {
            int row = int((popupSize.height - p.y) / rowHeight);
            return row >= 0 && row < 4 ? row : -1;
        };
        options.draw = [](CGContext& c, int highlighted) {
            c.setFillColor(CGColor::rgb(0.5, 0.5, 0.5, 1));
            c.fillRect({{0, 0}, popupSize});
            if (highlighted >= 0) {
                c.setFillColor(CGColor::rgb(0, 1, 0, 1));
                c.fillRect({{0, popupSize.height - (highlighted + 1) * rowHeight},
                            {popupSize.width, rowHeight}});
            }
        };
        options.finished = [this](std::optional<int> chosen) {
            ++finishes;
            result = chosen;
        };
        popup = server->showPopup(std::move(options));
        server->pump(0.02);
    }
    // The middle of a row on the screen.
    static CGPoint row(int item) {
        return {popupPlace.x + popupSize.width / 2, popupPlace.y + (item + 0.5) * rowHeight};
    }
    void keys(std::vector<std::string> names, int expectHighlight) {
        names.insert(names.begin(), "key");
        xdotool(names, [&] { return popup->highlighted() == expectHighlight; });
        EXPECT_EQ(popup->highlighted(), expectHighlight);
    }

    std::shared_ptr<PopupWindow> popup;
    int finishes = 0;
    std::optional<int> result;
};

TEST_F(Popup, KeysMoveTheHighlightOverEnabledItemsAndReturnChooses) {
    showPopup();
    EXPECT_EQ(popup->highlighted(), -1);
    keys({"Down"}, 0);
    keys({"Down"}, 2); // past the divider
    keys({"Up"}, 0);
    keys({"Up"}, 0); // nothing above the first
    keys({"Down", "Down"}, 3);
    keys({"Down"}, 3);

    auto shot = VirtualScreen::capture();
    ASSERT_TRUE(shot);
    auto at = [&](CGPoint p) { return shot->pixel(size_t(p.x), size_t(p.y)); };
    EXPECT_GT(at(row(3)).g, 200);
    EXPECT_LT(at(row(3)).r, 50);
    EXPECT_NEAR(at(row(0)).g, 128, 2);

    xdotool({"key", "Return"}, [&] { return finishes > 0; });
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(result, 3);
    EXPECT_FALSE(popup->isOpen());
    EXPECT_FALSE(server->popup());
    // The keys went to the pop-up, not to the window's first responder.
    EXPECT_TRUE(view->ofType(T::keyDown).empty());
}

TEST_F(Popup, EscapeOrAPressOutsideDismissesWithoutReachingTheWindow) {
    struct Case {
        const char* name;
        std::vector<std::string> input;
    };
    const std::vector<Case> cases = {
        {"escape", {"key", "Escape"}},
        {"press outside", join({moveTo({50, 50}), {"click", "1"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        finishes = 0;
        result = 7;
        showPopup();
        xdotool(c.input, [&] { return finishes > 0; });
        EXPECT_EQ(finishes, 1);
        EXPECT_EQ(result, std::nullopt);
        EXPECT_FALSE(popup->isOpen());
        EXPECT_TRUE(view->ofType(T::leftMouseDown).empty());
        EXPECT_TRUE(view->ofType(T::keyDown).empty());
    }
    // With the pop-up gone the window gets its input again.
    xdotool(join({moveTo({50, 50}), {"click", "1"}}),
            [&] { return !view->ofType(T::leftMouseUp).empty(); });
    EXPECT_EQ(view->ofType(T::leftMouseDown).size(), 1u);
}

TEST_F(Popup, ThePointerHighlightsEnabledItemsAndAClickChoosesOne) {
    showPopup();
    xdotool(moveToScreen(row(2)), [&] { return popup->highlighted() == 2; });
    xdotool(moveToScreen(row(1)), [&] { return popup->highlighted() == -1; });
    EXPECT_EQ(popup->highlighted(), -1); // the divider takes no highlight
    xdotool(
        {"click", "1"}, [&] { return false; }, 0.2);
    EXPECT_TRUE(popup->isOpen()); // nor a click
    xdotool(join({moveToScreen(row(0)), {"click", "1"}}), [&] { return finishes > 0; });
    EXPECT_EQ(result, 0);
}

TEST_F(Popup, ThePressThatOpenedItChoosesOnlyWhenDraggedOntoAnItem) {
    // A press in the window opens the pop-up (as a pop-up button does on mouse-down).
    xdotool(join({moveTo({150, 100}), {"mousedown", "1"}}),
            [&] { return !view->ofType(T::leftMouseDown).empty(); });
    showPopup();
    // Released where it was pressed: the pop-up stays, and the window's press ends.
    xdotool({"mouseup", "1"}, [&] { return !view->ofType(T::leftMouseUp).empty(); });
    EXPECT_TRUE(popup->isOpen());
    popup->cancel();
    EXPECT_EQ(finishes, 1);

    xdotool(join({moveTo({150, 100}), {"mousedown", "1"}}),
            [&] { return view->ofType(T::leftMouseDown).size() == 2; });
    showPopup();
    xdotool(join({moveToScreen(row(2)), moveToScreen(row(3)), {"mouseup", "1"}}),
            [&] { return finishes == 2; });
    EXPECT_EQ(result, 3);
    EXPECT_EQ(view->ofType(T::leftMouseUp).size(), 2u);
}

// A menu of three rows, the first two opening a submenu of three rows beside them.
class Submenus : public Popup {
  protected:
    static constexpr CGSize subSize{100, 60};

    void showMenu() {
        popup = server->showPopup(level(popupPlace, popupSize, 4, -1));
        server->pump(0.02);
    }
    PopupWindow::Options level(CGPoint place, CGSize size, int rows, int parentItem) {
        PopupWindow::Options options;
        options.screenPosition = place;
        options.size = size;
        options.itemCount = rows;
        options.itemAt = [size](CGPoint p) { return int((size.height - p.y) / rowHeight); };
        options.draw = [size](CGContext& c, int highlighted) {
            c.setFillColor(CGColor::rgb(0.5, 0.5, 0.5, 1));
            c.fillRect({{0, 0}, size});
            if (highlighted >= 0) {
                c.setFillColor(CGColor::rgb(0, 1, 0, 1));
                c.fillRect(
                    {{0, size.height - (highlighted + 1) * rowHeight}, {size.width, rowHeight}});
            }
        };
        options.finished = [this, parentItem](std::optional<int> chosen) {
            ++finishes;
            result = chosen;
            chosenIn = parentItem;
        };
        if (parentItem < 0) {
            options.hasSubmenu = [](int item) { return item < 2; };
            options.openSubmenu = [this](int item) {
                ++opened;
                server->showSubmenu(*popup, item, level(subPlace(item), subSize, 3, item));
            };
        }
        return options;
    }
    // Beside the row it comes from, level with it.
    static CGPoint subPlace(int item) {
        return {popupPlace.x + popupSize.width - 2, popupPlace.y + item * rowHeight};
    }
    static CGPoint subRow(int item, int row) {
        const CGPoint p = subPlace(item);
        return {p.x + subSize.width / 2, p.y + (row + 0.5) * rowHeight};
    }
    // The item whose submenu is open now, by where it stands (-1: none).
    int submenuOf() {
        auto all = server->popups();
        if (all.size() != 2)
            return -1;
        return int(std::lround((all[1]->screenFrame().minY() - popupPlace.y) / rowHeight));
    }
    int opened = 0;
    int chosenIn = -2;
};

TEST_F(Submenus, PointingAtARowOpensItsSubmenuAndTheMenuStaysOpenBetweenRows) {
    showMenu();
    xdotool(moveToScreen(row(0)), [&] { return submenuOf() == 0; });
    EXPECT_EQ(popup->highlighted(), 0);
    // On to the next row: its submenu replaces the first, the menu stays.
    xdotool(moveToScreen(row(1)), [&] { return submenuOf() == 1; });
    EXPECT_TRUE(popup->isOpen());
    EXPECT_EQ(opened, 2);
    auto shot = VirtualScreen::capture();
    ASSERT_TRUE(shot);
    auto at = [&](CGPoint p) { return shot->pixel(size_t(p.x), size_t(p.y)); };
    EXPECT_NEAR(at(subRow(1, 2)).g, 128, 2) << "the second submenu is shown";
    EXPECT_NE(at(subRow(0, 0)).g, 128) << "the first one is gone";
    // Across the gap into the submenu: the parent keeps its row, the submenu lights its own.
    xdotool(join({moveToScreen({subRow(1, 0).x + 60, subRow(1, 0).y}), moveToScreen(subRow(1, 1))}),
            [&] { return server->popup()->highlighted() == 1; });
    EXPECT_EQ(popup->highlighted(), 1);
    EXPECT_EQ(submenuOf(), 1);
    // A row without a submenu closes it.
    xdotool(moveToScreen(row(2)), [&] { return submenuOf() == -1; });
    // Back, and a click in the submenu chooses there; the whole menu closes, the
    // menu itself without a call.
    xdotool(moveToScreen(row(0)), [&] { return submenuOf() == 0; });
    xdotool(join({moveToScreen(subRow(0, 2)), {"click", "1"}}), [&] { return finishes > 0; });
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(chosenIn, 0);
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(popup->isOpen());
    EXPECT_FALSE(server->popup());
}

TEST_F(Submenus, KeysOpenAndLeaveSubmenusAndEscapeClosesOneLevel) {
    // The pointer stays where an earlier test left it; over the menu it would light a
    // row and open a submenu of its own.
    xdotool(moveToScreen({2, 2}), [] { return true; });
    showMenu();
    xdotool({"key", "Down", "Right"}, [&] { return submenuOf() == 0; });
    EXPECT_EQ(server->popup()->highlighted(), 0); // the keys are in it, on its first row
    xdotool({"key", "Down"}, [&] { return server->popup()->highlighted() == 1; });
    xdotool({"key", "Left"}, [&] { return submenuOf() == -1; });
    EXPECT_EQ(popup->highlighted(), 0);
    xdotool({"key", "Down", "Return"}, [&] { return submenuOf() == 1; });
    xdotool({"key", "Escape"}, [&] { return submenuOf() == -1; });
    EXPECT_TRUE(popup->isOpen());
    EXPECT_EQ(finishes, 0);
    xdotool({"key", "Escape"}, [&] { return finishes > 0; });
    EXPECT_EQ(result, std::nullopt);
    EXPECT_EQ(chosenIn, -1);
    // The keyboard is the window's again.
    xdotool({"key", "a"}, [&] { return !view->ofType(T::keyDown).empty(); });
}

} // namespace
