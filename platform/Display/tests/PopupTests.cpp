// A pop-up menu window beside the test window: keys and the pointer move its
// highlight, Return or a click chooses, Escape or a press outside dismisses.

#include <gtest/gtest.h>

#include "ScreenTest.h"

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

} // namespace
