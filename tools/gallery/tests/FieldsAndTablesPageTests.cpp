// The library's text fields, validating fields, tables and outline view on the gallery's
// interactive page, driven with real X input (xdotool) on the private virtual screen.

#include "GalleryPageScreen.h"

#include <gtest/gtest.h>

#include "AppKit/NSButton.h"
#include "AppKit/NSOutlineView.h"
#include "AppKit/NSScrollView.h"
#include "Controls/StyledTextField.h"
#include "Controls/ValidatingTextField.h"

#include <string>
#include <vector>

namespace {

// The table a cell's scroll view shows.
template <class Table = NSTableView>
std::shared_ptr<Table> tableIn(const std::shared_ptr<NSView>& v) {
    auto scroll = std::dynamic_pointer_cast<NSScrollView>(v);
    return scroll ? std::dynamic_pointer_cast<Table>(scroll->documentView()) : nullptr;
}

TEST_F(GalleryPageOnScreen, TypingEditsAStyledFieldAndAnInvalidEntryShowsItsMessage) {
    open({"text-fields", "validating-fields"});
    auto field =
        std::dynamic_pointer_cast<StyledTextField>(page->control("text-fields", "with text"));
    auto validating =
        std::dynamic_pointer_cast<ValidatingTextField>(page->control("validating-fields", "valid"));
    ASSERT_TRUE(field && validating);

    // Clicked into, typed into and tabbed out of: the field holds what was typed.
    xdotool(join({clickAt(onScreen(*field)), {"type", "--delay", "20", "75"}, {"key", "Tab"}}),
            [&] { return field->stringValue().find("75") != std::string::npos; });
    EXPECT_NE(field->stringValue(), "250");

    // A letter in the delay field makes it invalid and brings up its message above it.
    const auto& popover = validating->popoverController()->popover();
    ASSERT_FALSE(popover->isShown());
    xdotool(join({clickAt(onScreen(*validating)), {"type", "x"}}),
            [&] { return popover->isShown(); });
    EXPECT_FALSE(validating->isValid());
    EXPECT_EQ(popover->contentTextField()->stringValue(), "A whole number of ms, 1 to 2000");
    // Made valid again and left: the message goes.
    xdotool({"key", "BackSpace", "Tab"}, [&] { return !popover->isShown(); });
}

TEST_F(GalleryPageOnScreen, ClickedRowsSelectReturnActsAndATriangleExpandsAnOutlineRow) {
    open({"tables"});
    auto styled = tableIn(page->control("tables", "one row selected"));
    auto keyed = tableIn(page->control("tables", "keyboard-action table"));
    auto outline = tableIn<NSOutlineView>(page->control("tables", "outline, collapsed"));
    ASSERT_TRUE(styled && keyed && outline);

    // A click on a row of the styled table selects it and sends the table's action.
    xdotool(clickAt(onScreen(*styled->rowViewAtRow(2))),
            [&] { return styled->selectedRow() == 2; });
    EXPECT_EQ(page->status(), "delay lines: action");

    // In the keyboard-action table, a click selects; Return, once released, acts.
    xdotool(clickAt(onScreen(*keyed->rowViewAtRow(3))), [&] { return keyed->selectedRow() == 3; });
    xdotool({"key", "Return"},
            [&] { return page->status() == "keyboard-action table: secondary action"; });

    // The triangle of the first outline row opens it: its three children follow it.
    ASSERT_EQ(outline->numberOfRows(), 3);
    std::shared_ptr<NSButton> triangle;
    for (const auto& view : outline->rowViewAtRow(0)->subviews())
        if (auto button = std::dynamic_pointer_cast<NSButton>(view);
            button && button->tag() == 1000)
            triangle = button;
    ASSERT_TRUE(triangle);
    xdotool(clickAt(onScreen(*triangle)), [&] { return outline->numberOfRows() == 6; });
    EXPECT_TRUE(outline->isItemExpanded(outline->itemAtRow(0)));
}

} // namespace
