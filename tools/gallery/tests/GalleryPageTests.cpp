// The gallery's interactive page on a private virtual X screen, driven with real X
// input (xdotool) as a person would click through it.

#include "GalleryPageScreen.h"

#include <gtest/gtest.h>

#include "AppKit/NSButton.h"
#include "AppKit/NSPopUpButton.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// A sheet of plain AppKit controls, so that the page itself is tested whatever the
// library's sheets hold.
const GalleryRegistration plain([] {
    return std::vector<GallerySheet>{
        {"plain-appkit",
         2,
         {controlCell("switch", {120, 28},
                      [] {
                          auto box = make<NSButton>(CGRect{4, 4, 110, 20});
                          box->setTitle("Switch");
                          box->setButtonType(NSButtonType::switchButton);
                          logsActions(*box);
                          return box;
                      }),
          controlCell("pop-up", {120, 28}, [] {
              auto popUp = make<NSPopUpButton>(CGRect{4, 2, 110, 24});
              for (const char* t : {"Echo", "Tape", "Bucket"})
                  popUp->addItem(t);
              logsActions(*popUp);
              return popUp;
          })}}};
});

TEST_F(GalleryPageOnScreen, ASwitchTogglesAndAPopUpMenuChoosesAnItem) {
    open({"plain-appkit"});
    auto box = std::dynamic_pointer_cast<NSButton>(page->control("plain-appkit", "switch"));
    auto popUp = std::dynamic_pointer_cast<NSPopUpButton>(page->control("plain-appkit", "pop-up"));
    ASSERT_TRUE(box && popUp);

    xdotool(clickAt(onScreen(*box)), [&] { return box->state() == NSCell::StateValue::on; });
    EXPECT_EQ(page->status(), "switch: action (on)");

    // The press opens the menu over the button, the selected item over it; a click on
    // the third row chooses it.
    const CGPoint button = onScreen(*popUp), third{button.x, button.y + 2 * 22};
    xdotoolAlongside(join({clickAt(button), {"sleep", "0.5"}, clickAt(third)}),
                     [&] { return popUp->indexOfSelectedItem() == 2; });
    ASSERT_TRUE(popUp->menu()->lastPopUp());
    EXPECT_EQ(popUp->titleOfSelectedItem(), "Bucket");
    EXPECT_EQ(page->status(), "pop-up: action \"Bucket\"");
    EXPECT_FALSE(server->popup());
}

} // namespace
