// The multi-knob slider: its model (mixed values, snapping, percent, icons, reset,
// notifications, unsafe input), where the track puts fill, knob and ghosts, and drags
// on the view with their callbacks.

#include "SwiftUISupport/TideSlider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "AppKit/NSEvent.h"
#include "Foundation/RunLoop.h"
#include "Styles/TideglassResources.h"
#include "TestSupport/ControlHarness.h"

using namespace SwiftUI;

namespace {

constexpr CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN();

std::shared_ptr<TideSliderModel>
model(std::vector<CGFloat> starting, CGFloat increment = 3, bool snap = false,
      SliderIconClickBehaviour icons = SliderIconClickBehaviour::maxMin, CGFloat defaultValue = 5) {
    return std::make_shared<TideSliderModel>(std::move(starting), defaultValue, 0, 10, increment,
                                             snap, icons);
}

// Records the callbacks as "started 5" and the like.
struct Recorder {
    std::vector<std::string> calls;
    void attach(TideSliderModel& m) {
        m.onSlideStarted = note("started");
        m.onSlideOngoing = note("ongoing");
        m.onSlideComplete = note("complete");
    }
    std::function<void(double)> note(const char* what) {
        return [this, what](double v) {
            char text[48];
            std::snprintf(text, sizeof text, "%s %g", what, v);
            calls.push_back(text);
        };
    }
};

TEST(TideSliderModel, StartingValuesGiveOneValueOnlyWhenTheyAgree) {
    struct Case {
        const char* what;
        std::vector<CGFloat> starting;
        std::optional<CGFloat> value;
    };
    const Case cases[] = {
        {"all equal", {3, 3, 3}, 3},
        {"one value", {7}, 7},
        {"differing", {3, 4}, std::nullopt},
        {"none", {}, std::nullopt},
        {"the first and last agree, not the middle", {3, 4, 3}, std::nullopt},
        {"not a number", {nan}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto m = model(c.starting);
        EXPECT_EQ(m->value(), c.value);
        EXPECT_EQ(m->percent().has_value(), c.value.has_value());
    }
}

TEST(TideSliderModel, SnapsToTheIncrementWithinTheRange) {
    struct Case {
        CGFloat increment, v, snapped;
    };
    const Case cases[] = {
        {3, 7.4, 6},    {3, 9.9, 9}, {3, 10.6, 10},
        {3, -2, 0},     {3, 1.5, 3}, // halves away from zero
        {0, 7.4, 7.4},               // no increment: no snapping
        {-3, 7.4, 7.4},              // nor a negative one
        {0, 12, 10},                 // still within the range
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "increment " << c.increment << ", " << c.v);
        auto m = model({}, c.increment);
        EXPECT_DOUBLE_EQ(m->snapped(c.v), c.snapped);
    }
}

TEST(TideSliderModel, PercentAndValueSettersKeepTheArithmeticSafe) {
    auto m = model({4});
    EXPECT_DOUBLE_EQ(*m->percent(), 0.4);
    m->setPercent(1.5);
    EXPECT_EQ(m->value(), 10);
    m->setPercent(-1);
    EXPECT_EQ(m->value(), 0);
    m->setPercent(nan);
    m->setValue(nan);
    EXPECT_EQ(m->value(), 0) << "NaN is ignored";
    m->setPercent(std::nullopt);
    EXPECT_EQ(m->value(), std::nullopt);

    m->setMinimumValue(nan);
    m->setMaximumValue(nan);
    EXPECT_EQ(m->minimumValue(), 0);
    EXPECT_EQ(m->maximumValue(), 10);
    m->setMinimumValue(20); // above the maximum: clamps take the minimum
    EXPECT_EQ(m->clamped(15), 20);
    EXPECT_EQ(m->snapped(15), 20);
    m->setPercent(0.5);
    EXPECT_EQ(m->value(), 20);
    m->setMaximumValue(20);
    EXPECT_EQ(m->fraction(20), 0) << "an empty range's fraction is 0, not NaN";
}

TEST(TideSliderModel, IconsAndResetCallOnlyTheCompleteCallback) {
    using B = SliderIconClickBehaviour;
    struct Case {
        const char* what;
        std::vector<CGFloat> starting;
        B behaviour;
        std::function<void(TideSliderModel&)> act;
        CGFloat value;
    };
    const Case cases[] = {
        {"left to the minimum", {4}, B::maxMin, [](auto& m) { m.leftIconClicked(); }, 0},
        {"right to the maximum", {4}, B::maxMin, [](auto& m) { m.rightIconClicked(); }, 10},
        {"right steps up", {4}, B::increment, [](auto& m) { m.rightIconClicked(); }, 7},
        {"right stops at the maximum",
         {9},
         B::increment,
         [](auto& m) { m.rightIconClicked(); },
         10},
        {"left on a mixed model steps from the default",
         {1, 2},
         B::increment,
         [](auto& m) { m.leftIconClicked(); },
         2},
        {"left never goes below the minimum",
         {1},
         B::increment,
         [](auto& m) { m.leftIconClicked(); },
         0},
        {"reset to the default", {1, 2}, B::maxMin, [](auto& m) { m.resetToDefault(); }, 5},
        {"reset to an equal value still completes",
         {5},
         B::maxMin,
         [](auto& m) { m.resetToDefault(); },
         5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto m = model(c.starting, 3, false, c.behaviour);
        Recorder r;
        r.attach(*m);
        c.act(*m);
        EXPECT_EQ(m->value(), c.value);
        ASSERT_EQ(r.calls.size(), 1u);
        EXPECT_EQ(r.calls[0].rfind("complete", 0), 0u) << r.calls[0];
    }
}

TEST(TideSliderModel, NotifiesOnlyWhenAValueChanges) {
    auto m = model({4});
    struct Step {
        const char* what;
        std::function<void()> change;
        bool notifies;
    };
    const Step steps[] = {
        {"the same value", [&] { m->setValue(4); }, false},
        {"another value", [&] { m->setValue(5); }, true},
        {"mixed", [&] { m->setValue(std::nullopt); }, true},
        {"mixed again", [&] { m->setValue(std::nullopt); }, false},
        {"the same snap", [&] { m->setSnap(false); }, false},
        {"a new increment", [&] { m->setIncrementBy(2); }, true},
        {"the same starting values", [&] { m->setStartingValues({4}); }, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        int notified = 0;
        auto tracking = withObservationTracking(
            [&] {
                m->value();
                m->snap();
                m->incrementBy();
                m->startingValues();
            },
            [&] { ++notified; });
        s.change();
        tracking.cancel(); // one that did not fire ends with its step
        EXPECT_EQ(notified, s.notifies ? 1 : 0);
    }
}

TEST(TideSliderTrack, PlacesFillKnobAndGhostsByWidthAndModel) {
    struct Case {
        const char* what;
        std::vector<CGFloat> starting;
        CGFloat w;
        CGFloat fill, knob;
        double opacity;
        std::vector<CGFloat> ghosts; // of indices 1…4 that exist
    };
    const Case cases[] = {
        {"a value", {5}, 200, 100, 100, 1, {}},
        {"a value near the start", {0.2}, 200, 16, 8, 1, {}},
        {"a value at the end", {10}, 200, 200, 192, 1, {}},
        {"three mixed values", {2, 5, 8}, 200, 0, 40, 0.3, {100, 160}},
        {"five mixed values: the most knobs", {1, 2, 3, 4, 5}, 200, 0, 20, 0.3, {40, 60, 80, 100}},
        {"six mixed values", {1, 2, 3, 4, 5, 6}, 200, 200, 20, 0, {}},
        {"mixed, none", {}, 200, 0, 8, 0.3, {}},
        {"a narrow track", {5}, 10, 0, 0, 1, {}},
        {"a narrow mixed track", {2, 5, 8}, 10, 0, 0, 0.3, {}},
        {"no track", {5}, 0, 0, 0, 1, {}},
        {"13 wide keeps the knob inside", {10}, 13, 13, 6.5, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto m = model(c.starting);
        const TideSliderTrack t{*m, c.w};
        EXPECT_DOUBLE_EQ(t.fillWidth(), c.fill);
        EXPECT_DOUBLE_EQ(t.knobX(), c.knob);
        EXPECT_DOUBLE_EQ(t.knobOpacity(), c.opacity);
        std::vector<CGFloat> ghosts;
        for (int i = 1; i < TideSliderTrack::maxKnobs; ++i)
            if (auto x = t.ghostX(i))
                ghosts.push_back(*x);
        EXPECT_EQ(ghosts, c.ghosts);
    }
    auto m = model({5});
    const TideSliderTrack t{*m, 200};
    EXPECT_EQ(t.position(5, 0), 0) << "the start's end zone";
    EXPECT_EQ(t.position(195, 0), 200) << "the end's end zone";
    EXPECT_EQ(t.position(-30, 0), 0);
    EXPECT_EQ(t.position(100, 5), 105) << "the grab offset";
}

// Drags straight on the track, without a window: the callbacks' order in every path.
TEST(TideSliderDrag, CallbacksBalanceInEveryPath) {
    struct Move {
        CGFloat x;
        bool shift = false;
    };
    struct Case {
        const char* what;
        std::vector<CGFloat> starting;
        bool snap;
        CGFloat w;
        std::vector<Move> moves; // the first is the press
        std::vector<std::string> calls;
        std::optional<CGFloat> value;
    };
    const Case cases[] = {
        {"a press jumps and drags follow",
         {5},
         false,
         200,
         {{40}, {60}, {60}},
         {"started 2", "ongoing 3", "ongoing 3", "complete 3"},
         3},
        {"a press just beside the knob's 16-point box jumps",
         {5},
         false,
         200,
         {{91}},
         {"started 4.55", "complete 4.55"},
         4.55},
        {"a press in the start zone sets the minimum",
         {5},
         false,
         200,
         {{7}},
         {"started 0", "complete 0"},
         0},
        {"a press in the end zone sets the maximum",
         {5},
         false,
         200,
         {{193}},
         {"started 10", "complete 10"},
         10},
        {"snapping: unchanged values call nothing",
         {5},
         true,
         200,
         {{40}, {45}, {80}, {130}},
         {"started 3", "ongoing 6", "complete 6"},
         6},
        {"Shift snaps a free slider",
         {5},
         false,
         200,
         {{40}, {41, true}, {50, true}, {130, true}},
         {"started 2", "ongoing 3", "ongoing 6", "complete 6"},
         6},
        {"a grabbed mixed knob starts once it gives a value",
         {2, 8},
         false,
         200,
         {{41}, {51}, {61}, {71}},
         {"started 3", "ongoing 3.5", "complete 3.5"},
         3.5},
        {"a mixed knob grabbed and let go calls nothing",
         {2, 8},
         false,
         200,
         {{41}},
         {},
         std::nullopt},
        {"a track 0 wide ignores the drag", {5}, false, 0, {{0}, {10}}, {}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto m = model(c.starting, 3, c.snap);
        Recorder r;
        r.attach(*m);
        TideSliderDrag drag;
        const CGFloat start = c.moves.front().x;
        for (const auto& move : c.moves)
            drag.changed(*m, c.w, {move.x, 12}, {move.x - start, 0}, move.shift);
        drag.ended(*m);
        EXPECT_EQ(r.calls, c.calls);
        EXPECT_EQ(m->value(), c.value);
        EXPECT_FALSE(drag.isDragging);
        for (const auto& call : r.calls)
            EXPECT_FALSE(call.find("nan") != std::string::npos) << call;
    }
}

TEST(TideSliderDrag, AKnobGrabbedOffCentreHoldsForTwentyPoints) {
    auto m = model({5}); // the knob at 100 on a 200-point track
    Recorder r;
    r.attach(*m);
    TideSliderDrag drag;
    drag.changed(*m, 200, {105, 12}, {0, 0}, false); // 5 right of the centre
    EXPECT_EQ(drag.xDragOffset, -5);
    EXPECT_EQ(m->value(), 5);
    // 2 points per event: the summed translations reach 20 at the fourth event.
    std::vector<std::optional<CGFloat>> values;
    for (int i = 1; i <= 4; ++i) {
        drag.changed(*m, 200, {105 + 2.0 * i, 12}, {2.0 * i, 0}, false);
        values.push_back(m->value());
    }
    EXPECT_EQ(values, (std::vector<std::optional<CGFloat>>{5, 5, 5, 5.4}));
    EXPECT_EQ(drag.xDistanceDragged, 20);
    EXPECT_EQ(r.calls, (std::vector<std::string>{"started 5", "ongoing 5.4"}));
}

// ---- On a window

// A slider in a 240 × 24 window; the track's rectangle found from a full fill.
struct SliderScene {
    RunLoopTestScope scope;
    std::shared_ptr<TideSliderModel> m;
    Recorder r;
    ControlHarness h;
    CGRect track;
    explicit SliderScene(std::vector<CGFloat> starting)
        : m(model({10})),
          h(AnyView(TideSlider(m, Image(TideglassResources::image("organiser-icon-star-empty")),
                               Image(TideglassResources::image("organiser-icon-star")))),
            {240, 24}) {
        h.turn();
        // The fill is drawn in three clipped pieces (its ends keep their shape): their
        // clips together are the whole fill, here the whole track.
        const auto drawn = h.drawn();
        for (size_t i = 0; i + 1 < drawn.size(); ++i)
            if (drawn[i].kind == CGDisplayItem::Kind::clip &&
                drawn[i + 1].imageName == "tgui-customslider-on")
                track = track.isEmpty() ? drawn[i].rect : track.unionWith(drawn[i].rect);
        m->setStartingValues(starting);
        m->setValue(TideSliderModel(starting, 0, 0, 1, 1, false, {}).value());
        r.attach(*m);
        h.turn();
    }
    CGPoint at(CGFloat x) const { return {track.minX() + x, track.midY()}; }
};

TEST(TideSlider, TheViewDrawsTheTrackAndADragCallsBackInOrder) {
    SliderScene s({5});
    // Between the 14-point icons, 2 points in from each end of the 240-point row and a
    // row's spacing (8) from each icon.
    EXPECT_NEAR(s.track.minX(), 2 + 14 + 8, 0.5);
    EXPECT_NEAR(s.track.width(), 240 - 2 * (2 + 14 + 8), 0.5);
    auto knob = s.h.image("tgui-customslider-handle");
    ASSERT_TRUE(knob);
    EXPECT_NEAR(knob->rect.midX(), s.track.minX() + s.track.width() / 2, 0.5);
    // The knob's centre 12 points down the track, the middle of the 24-point row.
    EXPECT_NEAR(knob->rect.midY(), 12, 0.5);
    s.h.press(s.at(20));
    EXPECT_TRUE(s.h.image("tgui-customslider-handle-down")) << "the knob is held";
    s.h.drag(s.at(s.track.width() - 2));
    s.h.release(s.at(s.track.width() - 2));
    ASSERT_EQ(s.r.calls.size(), 3u);
    EXPECT_EQ(s.r.calls[0].rfind("started", 0), 0u);
    EXPECT_EQ(s.r.calls[1], "ongoing 10");
    EXPECT_EQ(s.r.calls[2], "complete 10");
    EXPECT_TRUE(s.h.image("tgui-customslider-handle"));
}

TEST(TideSlider, GhostKnobsShowMixedValuesAndAnOptionClickResets) {
    SliderScene s({2, 5, 8});
    auto knobs = s.h.items(CGDisplayItem::Kind::image);
    int translucent = 0;
    for (const auto& item : knobs)
        if (item.imageName == "tgui-customslider-handle" && std::abs(item.alpha - 0.3) < 1e-9)
            ++translucent;
    EXPECT_EQ(translucent, 3) << "the main knob and two ghosts";
    s.h.click(s.at(100), NSEvent::option);
    EXPECT_EQ(s.m->value(), 5);
    EXPECT_EQ(s.r.calls, (std::vector<std::string>{"complete 5"})) << "no drag started";
}

} // namespace
