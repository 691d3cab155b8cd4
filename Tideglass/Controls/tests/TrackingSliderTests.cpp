// The tracking slider: fixed steps by drag or scroll, its callbacks and actions, its
// cursor, its value publisher and its guards against values it cannot hold.

#include "Controls/TrackingSlider.h"

#include "AppKit/NSCursor.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// A 20 × 20 slider at (40, 40) of a 100 × 100 key window, recording its callbacks
// and actions in order ("started 0.5", "action 0.51", "complete 0.51").
struct SliderScene {
    RunLoopTestScope scope;
    std::shared_ptr<TrackingSlider> slider = make<TrackingSlider>(CGRect{40, 40, 20, 20});
    ControlHarness h = ControlHarness::holding(slider, {100, 100});
    std::vector<std::string> log;
    AnyCancellable actions;
    SliderScene() {
        slider->setDoubleValue(0.5);
        slider->onSlideStarted = [this](double v) { note("started", v); };
        slider->onSlideComplete = [this](double v) { note("complete", v); };
        actions = doubleValuePublisher(slider).sink([this](const double& v) { note("action", v); });
    }
    void note(const char* what, double v) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%s %g", what, v);
        log.emplace_back(buffer);
    }
    // A drag from the centre: each move `dy` points (window points, y down) after `dt`
    // seconds, so its speed is |dy| / dt.
    void drag(std::vector<CGFloat> moves, double dt = 0.01, CGFloat dx = 0) {
        CGPoint p{50, 50};
        h.press(p);
        for (CGFloat dy : moves) {
            scope.clock().advance(dt);
            p = {p.x + dx, p.y + dy};
            h.drag(p);
        }
        scope.clock().advance(dt);
        h.release(p);
    }
};

TEST(TrackingSlider, EachFastDragEventStepsByTheIncrementWithinTheRange) {
    struct Case {
        const char* what;
        double start;
        std::vector<CGFloat> moves; // window points, positive downwards
        double expected;
    };
    // The first move of 4 points begins the pan (no step); each later one steps.
    const Case cases[] = {
        {"upwards: up by 0.01 per event", 0.5, {-4, -1, -30, -2}, 0.53},
        {"downwards", 0.5, {4, 1, 1}, 0.48},
        {"never above the maximum", 0.995, {-4, -5, -5}, 1},
        {"never below the minimum", 0.005, {4, 5, 5}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        s.slider->setDoubleValue(c.start);
        s.drag(c.moves);
        EXPECT_NEAR(s.slider->doubleValue(), c.expected, 1e-9);
        EXPECT_TRUE(s.slider->valueWasEdited);
    }
}

TEST(TrackingSlider, SlowOrStillDragEventsDoNotStep) {
    struct Case {
        const char* what;
        std::vector<CGFloat> moves;
        double dt;
        CGFloat dx;
    };
    const Case cases[] = {
        {"4 points per second", {-4, -1, -1}, 0.25, 0},
        {"exactly the threshold", {-4, -1, -1}, 0.2, 0},
        {"sideways only: no vertical velocity", {0, 0, 0}, 0.01, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        s.drag(c.moves, c.dt, c.dx);
        EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 0.5);
        EXPECT_FALSE(s.slider->valueWasEdited);
    }
}

TEST(TrackingSlider, ActionsAndCallbacksArriveInOrder) {
    struct Case {
        const char* what;
        bool continuous;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"continuous: an action per step and one at the end",
         true,
         {"started 0.5", "action 0.51", "action 0.52", "action 0.52", "complete 0.52"}},
        {"not continuous: the action only at the end",
         false,
         {"started 0.5", "action 0.52", "complete 0.52"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        s.slider->setContinuous(c.continuous);
        s.drag({-4, -2, -2});
        EXPECT_EQ(s.log, c.expected);
    }
}

TEST(TrackingSlider, APanCancelledAfterItBeganStillCompletes) {
    SliderScene s;
    s.h.press({50, 50});
    s.scope.clock().advance(0.01);
    s.h.drag({50, 46});
    s.scope.clock().advance(0.01);
    s.h.drag({50, 40});
    s.slider->panGestureRecognizer()->setEnabled(false);
    s.h.release({50, 40});
    // Completed once, without the action.
    EXPECT_EQ(s.log, (std::vector<std::string>{"started 0.5", "complete 0.51"}));
    EXPECT_FALSE(s.slider->valueWasEdited);
}

TEST(TrackingSlider, AScrollStepsOnceByTheSignOfItsDelta) {
    struct Case {
        const char* what;
        bool horizontal;
        CGFloat dx, dy;
        bool inverted;
        double expected;
        size_t actions;
    };
    const Case cases[] = {
        {"up", false, 0, 3, false, 0.51, 1},
        {"down a lot: still one step", false, 0, -40, false, 0.49, 1},
        {"natural scrolling turns the vertical delta", false, 0, 3, true, 0.49, 1},
        {"a zero delta: nothing", false, 0, 0, false, 0.5, 0},
        {"horizontal mode ignores vertical scrolling", true, 0, 5, false, 0.5, 0},
        {"horizontal mode, sideways (never turned)", true, 2, 0, true, 0.51, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        s.slider->setHorizontalDirection(c.horizontal);
        s.h.scroll({50, 50}, c.dx, c.dy, true, 0, c.inverted);
        EXPECT_NEAR(s.slider->doubleValue(), c.expected, 1e-9);
        EXPECT_EQ(s.log.size(), c.actions);
        EXPECT_EQ(s.slider->valueWasEdited, c.actions > 0);
    }
}

// The scroll event reaches what is behind the slider as well.
struct ScrollCounter : NSView {
    using NSView::NSView;
    int scrolls = 0;
    void scrollWheel(const NSEvent&) override { ++scrolls; }
};

TEST(TrackingSlider, ADisabledSliderIgnoresDragsAndScrollsButPassesTheScrollOn) {
    RunLoopTestScope scope;
    auto behind = make<ScrollCounter>(CGRect{0, 0, 100, 100});
    auto slider = make<TrackingSlider>(CGRect{40, 40, 20, 20});
    behind->addSubview(slider);
    ControlHarness h(behind, {100, 100});
    slider->setDoubleValue(0.5);
    slider->setEnabled(false);
    int started = 0;
    slider->onSlideStarted = [&](double) { ++started; };
    h.scroll({50, 50}, 0, 3);
    h.dragFromTo({50, 50}, {50, 10}, 6);
    EXPECT_DOUBLE_EQ(slider->doubleValue(), 0.5);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(behind->scrolls, 1);
}

TEST(TrackingSlider, SettersKeepTheValueInRangeAndGettersSaturate) {
    struct Case {
        const char* what;
        double minimum, maximum, set, expected;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"5 with the default range", 0, 1, 5, 1},
        {"below the minimum", 0, 1, -3, 0},
        {"NaN is ignored", 0, 1, nan, 0.5},
        {"a minimum above the maximum: the minimum", 2, 1, 1.5, 2},
        {"a NaN bound is passed over", nan, 1, -7, -7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto slider = make<TrackingSlider>();
        slider->setDoubleValue(0.5);
        slider->minimumValue = c.minimum;
        slider->maximumValue = c.maximum;
        slider->setDoubleValue(c.set);
        EXPECT_DOUBLE_EQ(slider->doubleValue(), c.expected);
    }
    auto slider = make<TrackingSlider>();
    slider->minimumValue = -1e30;
    slider->maximumValue = 1e30;
    slider->setIntValue(-7);
    EXPECT_EQ(slider->integerValue(), -7);
    slider->setFloatValue(2.9f);
    EXPECT_EQ(slider->intValue(), 2) << "truncated toward zero";
    slider->setDoubleValue(1e20);
    EXPECT_EQ(slider->intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(slider->integerValue(), std::numeric_limits<long>::max());
    slider->setDoubleValue(-1e20);
    EXPECT_EQ(slider->intValue(), std::numeric_limits<int>::min());
}

TEST(TrackingSlider, ShowsItsCursorWhileThePointerIsOverIt) {
    SliderScene s;
    NSCursor::clearHistory();
    s.h.move({10, 10});
    s.h.move({50, 50});
    EXPECT_EQ(NSCursor::current(), s.slider->cursor);
    s.h.move({90, 90});
    EXPECT_EQ(NSCursor::history(), (std::vector<std::string>{"push cursor-trackingslider", "pop"}));
    // The area follows the bounds.
    s.slider->setFrameSize({30, 30});
    ASSERT_TRUE(s.slider->trackingArea);
    EXPECT_EQ(s.slider->trackingAreas().size(), 1u);
    EXPECT_EQ(s.slider->trackingArea->rect(), (CGRect{0, 0, 30, 30}));
}

TEST(TrackingSlider, RawDirections) {
    EXPECT_EQ(TrackingSlider::directionFromRawValue(0),
              TrackingSlider::MovementDirection::horizontal);
    EXPECT_EQ(TrackingSlider::directionFromRawValue(1),
              TrackingSlider::MovementDirection::vertical);
    EXPECT_EQ(TrackingSlider::directionFromRawValue(2), std::nullopt);
}

} // namespace
