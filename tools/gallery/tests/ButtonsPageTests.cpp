// The library's buttons on the gallery's whole interactive page, driven with real X input
// (xdotool) on the private virtual screen: the page fits the screen and scrolls under the
// wheel; a check box toggles, a pop-up button's menu opens and an item is chosen, a tool
// button held down sends its secondary action.

#include "GalleryPageScreen.h"

#include <gtest/gtest.h>

#include "AppKit/NSPopUpButton.h"
#include "Controls/StyledCheckBox.h"
#include "Controls/StyledPopUpButton.h"
#include "Controls/ToolButton.h"

#include <string>
#include <vector>

namespace {

constexpr CGFloat screenHeight = 1024; // the virtual screen's, in points at scale 1

class WholePageOnScreen : public GalleryPageOnScreen {
  protected:
    // Every sheet's live cells, as `emberfall-gallery --window` shows them.
    void openWholePage() { open({}); }
    // The control of a cell, scrolled into sight.
    template <class Control>
    std::shared_ptr<Control> revealed(const std::string& sheet, const std::string& caption) {
        auto control = std::dynamic_pointer_cast<Control>(page->control(sheet, caption));
        if (control) {
            page->reveal(*control);
            pumpUntil([] { return false; }, 0.1); // drawn where it now is
        }
        return control;
    }
};

TEST_F(WholePageOnScreen, TheWholePageFitsTheScreenAndScrollsUnderTheWheel) {
    openWholePage();
    if (IsSkipped() || HasFatalFailure())
        return;
    const CGRect frame = page->window()->frame();
    EXPECT_LE(windowPlace.y + frame.height(), screenHeight);
    const auto& sections = page->sections();
    ASSERT_GT(sections->documentView()->frame().height(), sections->contentSize().height)
        << "the whole page is taller than what it shows, so it scrolls";

    // The wheel over the page's margin (not over a table of its own) scrolls it down.
    const CGPoint margin =
        shown->screenPoint(sections->convertToView(CGPoint{4, sections->bounds().midY()}, nullptr));
    xdotool({"mousemove", std::to_string(int(margin.x)), std::to_string(int(margin.y)), "click",
             "--repeat", "3", "5"},
            [&] { return sections->documentVisibleRect().minY() > 0; });
}

TEST_F(WholePageOnScreen, ACheckBoxTogglesAPopUpChoosesAnItemAndAHeldToolButtonActsSecondarily) {
    openWholePage();
    if (IsSkipped() || HasFatalFailure())
        return;

    // A check box clicked goes on and sends its action.
    auto box = revealed<StyledCheckBox>("check-boxes", "off");
    ASSERT_TRUE(box);
    xdotool(clickAt(onScreen(*box)), [&] { return box->state() == NSCell::StateValue::on; });
    EXPECT_EQ(page->status(), "off: action (on)");

    // A press on the pop-up opens its menu with the selected item ("Bucket brigade") over
    // the button; a click on the row below chooses "Digital".
    auto popUp = revealed<StyledPopUpButton>("menu-buttons", "pop-up");
    ASSERT_TRUE(popUp);
    ASSERT_EQ(popUp->indexOfSelectedItem(), 1);
    const CGPoint button = onScreen(*popUp), below{button.x, button.y + 22};
    xdotoolAlongside(join({clickAt(button), {"sleep", "0.5"}, clickAt(below)}),
                     [&] { return popUp->indexOfSelectedItem() == 2; });
    ASSERT_TRUE(popUp->menu()->lastPopUp());
    EXPECT_EQ(popUp->titleOfSelectedItem(), "Digital");
    EXPECT_EQ(page->status(), "pop-up: action \"Digital\"");
    EXPECT_FALSE(server->popup());

    // A tool button held down past the double-click interval sends its secondary action,
    // not its primary one.
    auto tool = revealed<ToolButton>("tool-buttons", "tool");
    ASSERT_TRUE(tool);
    const CGPoint t = onScreen(*tool);
    const double hold = NSEvent::doubleClickInterval() + 1.5; // slack for a busy machine
    xdotoolAlongside({"mousemove", std::to_string(int(t.x)), std::to_string(int(t.y)), "mousedown",
                      "1", "sleep", std::to_string(hold), "mouseup", "1"},
                     [&] { return page->status() == "tool: secondary action (off)"; });
    EXPECT_EQ(tool->state(), NSCell::StateValue::off);
}

} // namespace
