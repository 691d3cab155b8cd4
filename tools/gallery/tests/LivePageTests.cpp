// The live page's value controls and declarative controls on a private virtual X screen,
// driven with real X input (xdotool): a slider logs while it is dragged, a segmented
// control logs the segment chosen, the multi-knob slider and the declarative text field
// log their edits, and one notch of the wheel scrolls the page by its step.

#include "GalleryPageScreen.h"

#include <gtest/gtest.h>

#include "AppKit/NSScrollView.h"
#include "AppKit/NSSlider.h"
#include "Controls/StyledSegmentedControl.h"

#include <set>
#include <string>
#include <vector>

namespace {

// The log's lines from the `from`th on that start with `prefix`.
std::vector<std::string> linesFrom(std::size_t from, const std::string& prefix) {
    const auto& lines = GalleryActionLog::shared()->lines;
    std::vector<std::string> found;
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].rfind(prefix, 0) == 0)
            found.push_back(lines[i]);
    return found;
}

std::vector<std::string> at(CGPoint p) {
    return {"mousemove", std::to_string(int(p.x)), std::to_string(int(p.y))};
}

TEST_F(GalleryPageOnScreen, ASliderLogsItsValueWhileDraggedAndASegmentedControlItsSegment) {
    open({"sliders", "segmented-controls"});
    auto slider = std::dynamic_pointer_cast<NSSlider>(page->control("sliders", "at 35"));
    auto tabs = std::dynamic_pointer_cast<StyledSegmentedControl>(
        page->control("segmented-controls", "selection shown"));
    ASSERT_TRUE(slider && tabs);

    // Pressed at a quarter of the track, dragged to three quarters, let go there.
    const CGPoint middle = onScreen(*slider);
    const CGFloat w = slider->bounds().width();
    const CGPoint quarter{middle.x - w / 4, middle.y}, threeQuarters{middle.x + w / 4, middle.y};
    const std::size_t before = GalleryActionLog::shared()->lines.size();
    xdotool(join({at(quarter),
                  {"mousedown", "1"},
                  at(middle),
                  {"sleep", "0.1"},
                  at(threeQuarters),
                  {"sleep", "0.1"},
                  {"mouseup", "1"}}),
            [&] { return slider->doubleValue() > 60 && !slider->cell()->isHighlighted; });
    const auto lines = linesFrom(before, "at 35: action ");
    const std::set<std::string> values(lines.begin(), lines.end());
    EXPECT_GE(values.size(), 3u) << "a line for the press and for each step of the drag";
    EXPECT_EQ(page->status(), "at 35: action " + galleryNumber(slider->doubleValue()));

    // A click on the last segment chooses it; the log names it.
    const auto cell = std::dynamic_pointer_cast<StyledSegmentedCell>(tabs->cell());
    const CGRect last = cell->frameOfSegment(2, tabs->bounds());
    const CGPoint origin = onScreen(*tabs);
    const CGPoint onLast{origin.x - tabs->bounds().width() / 2 + last.midX(), origin.y};
    xdotool(join({at(onLast), {"click", "1"}}), [&] { return tabs->selectedSegment() == 2; });
    EXPECT_EQ(page->status(), "selection shown: action \"Output\"");
}

TEST_F(GalleryPageOnScreen, TheMultiKnobSliderAndTheDeclarativeFieldsLogTheirEdits) {
    open({"multi-knob-sliders", "text-fields"});
    auto slider = page->control("multi-knob-sliders", "one value");
    auto field = page->control("text-fields", "declarative");
    ASSERT_TRUE(slider && field);

    // The track lies between the two 14-point icons (2 points in): a click on its middle
    // is half way along the range 0...10, away from the knob at 3.
    const std::size_t before = GalleryActionLog::shared()->lines.size();
    xdotool(join({at(onScreen(*slider)), {"click", "1"}}),
            [&] { return page->status() == "one value: slide complete 5"; });
    EXPECT_EQ(
        linesFrom(before, "one value: "),
        (std::vector<std::string>{"one value: slide started 5", "one value: slide complete 5"}));

    // Typed into, the declarative field reports each keystroke with its text.
    xdotool(join({at(onScreen(*field)), {"click", "1"}, {"type", "--delay", "20", "7"}}),
            [&] { return page->status().find("declarative: editing \"") == 0; });
    EXPECT_NE(page->status().find('7'), std::string::npos) << page->status();
}

TEST_F(GalleryPageOnScreen, OneNotchOfTheWheelScrollsThePageByItsStep) {
    open({});
    if (IsSkipped() || HasFatalFailure())
        return;
    const auto& sections = page->sections();
    ASSERT_EQ(sections->documentVisibleRect().minY(), 0);
    const CGPoint margin =
        shown->screenPoint(sections->convertToView(CGPoint{4, sections->bounds().midY()}, nullptr));
    xdotool(join({at(margin), {"click", "5"}}),
            [&] { return sections->documentVisibleRect().minY() > 0; });
    EXPECT_EQ(sections->documentVisibleRect().minY(), GalleryPage::wheelStep);
}

} // namespace
