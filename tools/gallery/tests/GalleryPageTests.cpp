// The gallery's interactive page on a private virtual X screen, driven with real X
// input (xdotool) as a person would click through it.

#include "GalleryPageScreen.h"

#include <gtest/gtest.h>

#include "AppKit/NSButton.h"
#include "AppKit/NSPopUpButton.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
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

TEST(GalleryPage, SheetsItCannotShowAreNamedAndRefused) {
    const auto sheets = gallerySheets();
    struct Case {
        const char* what;
        std::vector<std::string> only;
        std::string why;
    };
    const Case cases[] = {
        {"every sheet", {}, ""},
        {"library sheets", {"tables", "multi-knob-sliders"}, ""},
        {"a name that is no sheet",
         {"tables", "no-such-sheet"},
         "there is no sheet 'no-such-sheet'"},
        {"a sheet drawn only",
         {"dials"},
         "the sheet 'dials' has nothing to show live; it is drawn only"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(whyNotShown(sheets, c.only), c.why);
    }
    // The declarative sheets are shown live; the plug-in framework's are not.
    const auto live = liveSheetNames(sheets);
    for (const char* name : {"multi-knob-sliders", "pop-up-wrapper", "text-fields", "tables"})
        EXPECT_NE(std::find(live.begin(), live.end(), name), live.end()) << name;
    for (const char* name : {"buttons", "dials", "header", "styles"})
        EXPECT_EQ(std::find(live.begin(), live.end(), name), live.end()) << name;
}

TEST(GalleryPage, TheReadmeListsEverySheet) {
    std::ifstream file(EMBERFALL_README);
    ASSERT_TRUE(file) << EMBERFALL_README;
    const std::string readme((std::istreambuf_iterator<char>(file)), {});
    const auto gallery = readme.find("emberfall-gallery --window");
    ASSERT_NE(gallery, std::string::npos);
    for (const auto& sheet : gallerySheets())
        if (sheet.name != "plain-appkit") // this test's own
            EXPECT_NE(readme.find("`" + sheet.name + "`", gallery), std::string::npos)
                << sheet.name;
}

} // namespace
