// The combo box on the gallery's interactive page, on a private virtual X screen with
// real X input: a click on its button pops the list up below it, and a click on a
// number in the list makes it the box's value and sends the action.

#include "GalleryPageScreen.h"

#include <gtest/gtest.h>

#include "Controls/StyledComboBox.h"

namespace {

TEST_F(GalleryPageOnScreen, AComboBoxsListOpensBelowItAndAChosenNumberActs) {
    open({"combo-boxes"});
    auto box = std::dynamic_pointer_cast<StyledComboBox>(page->control("combo-boxes", "with text"));
    ASSERT_TRUE(box);
    const CGPoint middle = onScreen(*box);
    const CGFloat w = box->bounds().width(), h = box->bounds().height();
    // The button is the trailing 20 points; the list's rows (22 points each) start below
    // the box at its leading edge: the third, 375, is 2.5 rows down.
    const CGPoint button{middle.x + w / 2 - 10, middle.y};
    const CGPoint third{middle.x - w / 2 + 30, middle.y + h / 2 + 2.5 * 22};
    xdotoolAlongside(join({clickAt(button), {"sleep", "0.5"}, clickAt(third)}),
                     [&] { return box->indexOfSelectedItem() == 2; });
    EXPECT_EQ(box->stringValue(), "375");
    EXPECT_EQ(page->status(), "with text: action \"375\"");
    EXPECT_FALSE(std::dynamic_pointer_cast<StyledComboBoxCell>(box->cell())->isPopupOpen);
    EXPECT_FALSE(server->popup());
}

} // namespace
