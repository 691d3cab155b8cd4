// What the library's controls, tables and fields start with before anything sets
// them. The cursor button's art comes from the application's own catalogue, so it is
// shown in a copy of this program that runs from a folder of its own: with the art
// there, and without it (which ends the program).

#include "Controls/Buttons.h"
#include "Controls/StyledSegmentedControl.h"
#include "Controls/StyledSlider.h"
#include "Controls/TablesAndFields.h"
#include "Controls/TrackingSlider.h"
#include "SwiftUISupport/StyledPopUpButtonWrapper.h"

#include "AppKit/NSImage.h"

#include <gtest/gtest.h>

#include "Styles/tests/ProbeCopy.h"

#include <cstdlib>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

TEST(InitialValues, ButtonsAndCells) {
    EXPECT_EQ(make<StyledButton>()->fixedWidth, std::nullopt);
    EXPECT_EQ(make<DarkHighlightButton>()->customCursor, NSCursor::arrow());
    auto push = make<QuarroPushButtonCell>();
    EXPECT_EQ(push->titleEdgeInsets, (NSEdgeInsets{4, 0, 6, 0}));
    EXPECT_EQ(push->edgeInsets, (NSEdgeInsets{3, 4, 5, 4}));
    EXPECT_EQ(make<StyledCheckBoxCell>()->xOffset, -2);
}

TEST(InitialValues, ImageViewsSlidersAndSegments) {
    auto view = make<ClickableImageView>();
    int clicks = 0;
    auto subscription = view->clicked.sink([&](const std::monostate&) { ++clicks; });
    view->clicked.send(std::monostate{});
    EXPECT_EQ(clicks, 1);
    make<ClickableImageView>()->clicked.send(std::monostate{}); // a subject of its own per view
    EXPECT_EQ(clicks, 1);

    EXPECT_TRUE(make<StyledSegmentedCell>()->cachedSegmentFrames().empty());
    EXPECT_EQ(make<StyledSlider>()->fixedWidth, std::nullopt);

    auto tracking = make<TrackingSlider>();
    EXPECT_EQ(tracking->incrementBy, 0.01);
    EXPECT_EQ(tracking->minimumPanVelocity, 5);
    EXPECT_EQ(tracking->currentValue, 0);
    EXPECT_EQ(tracking->maximumValue, 1);
    ASSERT_NE(tracking->cursor, nullptr);
    EXPECT_EQ(tracking->cursor->image()->name(), "cursor-trackingslider");
    EXPECT_EQ(tracking->cursor->hotSpot(), (CGPoint{3, 4}));

    EXPECT_EQ(PopupItem<int>(std::nullopt, "None").object, std::nullopt);
}

TEST(InitialValues, FieldsAndTables) {
    auto field = make<ValidatingTextField>();
    ASSERT_NE(field->popoverController(), nullptr);
    EXPECT_NE(make<ValidatingTextField>()->popoverController(), field->popoverController())
        << "each field has a controller of its own";

    auto header = make<ActionableTableHeaderView>();
    EXPECT_EQ(header->addItemButton->image()->name(), "properties-table-add");
    EXPECT_EQ(header->addItemButton->alternateImage()->name(), "properties-table-add-down");
    EXPECT_EQ(header->optionButton->image()->name(), "properties-tableheader-overflow");
    EXPECT_EQ(header->optionButton->alternateImage()->name(),
              "properties-tableheader-overflow-down");
    EXPECT_EQ(header->subscriptionCount(), 1u) << "the one clip-view subscription";
    EXPECT_FALSE(make<KeyboardActionTableView>()->keyboardAction);
    EXPECT_EQ(make<StyledTableHeaderCell>()->tintColor, NSColor::controlBackgroundColor());
    auto row = make<StyledTableRowView>();
    EXPECT_EQ(row->selectionHorizontalInset, 8);
    EXPECT_EQ(row->selectionCornerRadius, 3);
}

// Run only in the copies started below.
TEST(CursorButtonProbe, MakeACursorButton) {
    if (!std::getenv("TIDEGLASS_CURSOR_PROBE"))
        GTEST_SKIP() << "runs only in the copies started by the cursor-button test";
    auto button = make<CursorButton>();
    EXPECT_EQ(button->cursorImage()->name(), "cursor-cycle");
    EXPECT_EQ(button->cursorHotSpot, (CGPoint{3, 4}));
}

TEST(CursorButton, TakesTheApplicationsCursorArtAndEndsTheProgramWithoutIt) {
    const fs::path root =
        fs::temp_directory_path() / ("tideglass-cursor-" + std::to_string(::getpid()));
    const fs::path with = root / "with", without = root / "without";
    fs::create_directories(with / "Assets");
    fs::create_directories(without);
    std::ofstream(with / "Assets" / "cursor-cycle.svg")
        << R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
        << R"(<rect width="16" height="16"/></svg>)";

    auto found =
        runProbeCopy(with, "CursorButtonProbe.MakeACursorButton", "TIDEGLASS_CURSOR_PROBE=1");
    EXPECT_TRUE(found.succeeded) << found.errors;
    auto missing =
        runProbeCopy(without, "CursorButtonProbe.MakeACursorButton", "TIDEGLASS_CURSOR_PROBE=1");
    EXPECT_FALSE(missing.succeeded);
    EXPECT_NE(missing.errors.find("no image named cursor-cycle"), std::string::npos)
        << missing.errors;
    fs::remove_all(root);
}

} // namespace
