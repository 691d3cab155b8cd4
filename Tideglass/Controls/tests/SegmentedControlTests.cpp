// The styled segmented control: widths from labels, hidden selection, segment states,
// its own focus ring around the key segment, art drawn upright.

#include "Controls/StyledSegmentedControl.h"

#include "AppKit/NSStringDrawing.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Kind = CGDisplayItem::Kind;
using State = StyledControlState;

struct FlippedSegmentedControl : StyledSegmentedControl {
    using StyledSegmentedControl::StyledSegmentedControl;
    bool isFlipped() const override { return true; }
};

// Three labelled segments at (10, 10) of a key window.
template <class Control = StyledSegmentedControl> struct SegmentScene {
    RunLoopTestScope scope;
    std::shared_ptr<Control> control = [] {
        auto c = make<Control>(CGRect{10, 10, 300, 30});
        c->setSegmentCount(3);
        const char* labels[] = {"One", "Two", "Three"};
        for (int i = 0; i < 3; ++i) {
            c->setLabel(labels[i], i);
            c->setWidth(0, i);
        }
        c->setSelectedSegment(1);
        return c;
    }();
    ControlHarness h = ControlHarness::holding(control, {330, 50});
    std::shared_ptr<StyledSegmentedCell> cell() const {
        return std::dynamic_pointer_cast<StyledSegmentedCell>(control->cell());
    }
    // The bezel art drawn, segment by segment.
    std::vector<std::string> art() {
        std::vector<std::string> names;
        for (auto& item : h.items(Kind::image))
            names.push_back(item.imageName);
        return names;
    }
    // The middle of segment i, in window points.
    CGPoint middleOf(int i) {
        const CGRect f = cell()->frameOfSegment(i, control->bounds());
        return {10 + f.midX(), 10 + f.midY()};
    }
};

TEST(StyledSegmentedControl, LabelledSegmentsTakeTheirLabelsWidthPlusThePadding) {
    SegmentScene<> s;
    auto font = s.cell()->font;
    const NSEdgeInsets p = SegmentedCellStyle().segmentPadding();
    EXPECT_EQ(p.left + p.right, 42);
    s.control->setSegmentCount(4); // the fourth has no label
    s.control->setWidth(80, 0);
    s.control->setWidth(80, 3);
    EXPECT_DOUBLE_EQ(s.control->width(0), NSStringSize("One", {.font = font}).width + 42);
    EXPECT_DOUBLE_EQ(s.control->width(3), 80);
}

TEST(StyledSegmentedControl, TheSelectionShowsOnlyOnceItIsNoLongerHidden) {
    SegmentScene<> s;
    const SegmentedCellStyle style;
    EXPECT_TRUE(s.control->hideSelection());
    EXPECT_EQ(s.art(),
              (std::vector<std::string>{"tgui-window-tab", "tgui-window-tab", "tgui-window-tab"}));
    s.control->setHideSelection(false);
    s.h.turn();
    EXPECT_EQ(s.art(), (std::vector<std::string>{"tgui-window-tab", "tgui-window-tab-selected",
                                                 "tgui-window-tab"}));
    EXPECT_EQ(s.h.text("Two")->color, style.textColor(State::selected)->cgColor());
    EXPECT_EQ(s.h.text("One")->color, style.textColor(State::default_)->cgColor());
}

TEST(StyledSegmentedControl, OnlyTheHeldSegmentIsPressedAndADisabledControlIsPlain) {
    SegmentScene<> s;
    s.h.press(s.middleOf(2));
    EXPECT_EQ(s.art(), (std::vector<std::string>{"tgui-window-tab", "tgui-window-tab",
                                                 "tgui-window-tab-down"}));
    s.h.release(s.middleOf(2));
    EXPECT_EQ(s.control->selectedSegment(), 2);
    EXPECT_EQ(s.art(),
              (std::vector<std::string>{"tgui-window-tab", "tgui-window-tab", "tgui-window-tab"}));

    s.control->setHideSelection(false);
    s.control->setEnabled(false);
    s.h.press(s.middleOf(0));
    EXPECT_EQ(s.art(), (std::vector<std::string>{"tgui-window-tab", "tgui-window-tab",
                                                 "tgui-window-tab-selected"}));
    const auto disabled = SegmentedCellStyle().textColor(State::default_ | State::disabled);
    for (const char* label : {"One", "Two"})
        EXPECT_EQ(s.h.text(label)->color, disabled->cgColor()) << label;
}

// A cell whose segment 0 reports a given highlight state.
struct ReportingCell : StyledSegmentedCell {
    int reported = 1;
    int segmentHighlightState(int segment) const override { return segment == 0 ? reported : 1; }
};

TEST(StyledSegmentedCell, OnlyHighlightStatesTwoThreeAndFiveCountAsPressed) {
    auto cell = make<ReportingCell>();
    cell->setSegmentCount(2);
    cell->setSelectedSegment(0);
    for (int reported : {-1, 0, 1, 2, 3, 4, 5, 6}) {
        SCOPED_TRACE(reported);
        cell->reported = reported;
        const bool pressed = reported == 2 || reported == 3 || reported == 5;
        EXPECT_EQ(cell->segmentState(0),
                  pressed ? State::default_ | State::highlighted : State::default_);
    }
    cell->reported = 2;
    cell->hideSelection = false;
    cell->isEnabled = false;
    EXPECT_EQ(cell->segmentState(0),
              State::default_ | State::disabled | State::highlighted | State::selected);
    EXPECT_EQ(cell->segmentState(1), State::default_ | State::disabled);
}

TEST(StyledSegmentedControl, TheRingSurroundsTheKeySegmentWheneverTheControlHasFocus) {
    struct Case {
        const char* what;
        std::function<void(SegmentScene<>&)> act;
        bool ring;
    };
    const Case cases[] = {
        {"focus elsewhere", [](SegmentScene<>&) {}, false},
        {"focused in the key window", [](SegmentScene<>& s) { s.h.focus(s.control); }, true},
        {"focused in a window no longer key",
         [](SegmentScene<>& s) {
             s.h.focus(s.control);
             s.h.window->resignKeyWindow();
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SegmentScene<> s;
        EXPECT_EQ(s.cell()->focusRingMaskBounds({}, *s.control), CGRect{}); // nothing drawn yet
        c.act(s);
        s.h.turn();
        auto strokes = s.h.items(Kind::stroke);
        ASSERT_EQ(strokes.size(), c.ring ? 1u : 0u);
        // Mask bounds: the key segment (0, or the selected 1 once focused) in the frame
        // it was drawn in.
        const int key = s.cell()->keySegment();
        EXPECT_EQ(key, c.ring ? 1 : 0);
        const CGRect mask = s.cell()->focusRingMaskBounds({}, *s.control);
        EXPECT_EQ(mask, s.cell()->segmentRect(key, s.cell()->cachedSegmentFrames().at(key)));
        if (c.ring) {
            const CGRect r = mask.offsetBy(10, 10).insetBy(2, 2);
            EXPECT_EQ(strokes[0].rect, r.insetBy(-1, -1)); // grown by half the line width
            EXPECT_EQ(strokes[0].lineWidth, 2);
        }
    }
}

TEST(StyledSegmentedControl, ArtIsUprightInAFlippedViewAndSizesTheControl) {
    SegmentScene<> plain;
    SegmentScene<FlippedSegmentedControl> flipped;
    auto a = plain.h.image("tgui-window-tab"), b = flipped.h.image("tgui-window-tab");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->rect, b->rect);
    EXPECT_EQ(a->transform.d, b->transform.d);
    // The art is 26 points high, centred in the 30-point frame; it sets the least size.
    EXPECT_EQ(a->rect.height(), 26);
    EXPECT_EQ(a->rect.minY(), 12);
    // Each label is centred on its segment's art, both ways, in either kind of view.
    for (auto* scene : {&plain.h, &flipped.h}) {
        auto art = scene->items(Kind::image);
        auto labels = scene->texts();
        ASSERT_EQ(art.size(), 3u);
        ASSERT_EQ(labels.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(labels[i].text);
            EXPECT_NEAR(labels[i].rect.midY(), art[i].rect.midY(), 0.5);
            EXPECT_NEAR(labels[i].rect.midX(), art[i].rect.midX(), 0.5);
        }
    }
    auto empty = make<StyledSegmentedControl>();
    EXPECT_EQ(empty->intrinsicContentSize(), (CGSize{80, 26}));
}

TEST(StyledSegmentedControl, AForeignCellHidesNoSelectionButTheControlStillRedraws) {
    SegmentScene<> s;
    s.control->setCell(make<NSSegmentedControl>()->cell());
    s.h.turn();
    s.control->setHideSelection(true);
    EXPECT_FALSE(s.control->hideSelection());
    EXPECT_TRUE(s.control->needsDisplay());
}

} // namespace
