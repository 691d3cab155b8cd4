// The styled slider: its callbacks by event type, the scroll wheel, and bar, fill and
// knob drawn from the artwork where the geometry puts them.

#include "Controls/StyledSlider.h"

#include "AppKit/NSApplication.h"
#include "Foundation/RunLoop.h"
#include "TestSupport/ControlHarness.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Kind = CGDisplayItem::Kind;

// A view that records the scroll events that reach it (the slider's next responder).
struct ScrollCatcher : NSView {
    using NSView::NSView;
    bool isFlipped() const override { return true; }
    int scrolls = 0;
    void scrollWheel(const NSEvent&) override { ++scrolls; }
};

// A 200 × 20 slider over 0…100 at (10, 10) of a key window, recording its callbacks
// as "started 50" and the like.
template <class Slider = StyledSlider> struct SliderScene {
    RunLoopTestScope scope;
    std::shared_ptr<Slider> slider = make<Slider>(CGRect{10, 10, 200, 20});
    std::shared_ptr<ScrollCatcher> container = make<ScrollCatcher>(CGRect{0, 0, 220, 40});
    std::vector<std::string> calls;
    ControlHarness h = [this] {
        container->addSubview(slider);
        return ControlHarness(container, {220, 40});
    }();
    SliderScene() {
        slider->setMaxValue(100);
        auto record = [this](const char* what) {
            return [this, what](double v) { calls.push_back(what + (" " + fmt(v))); };
        };
        slider->onSlideStarted = record("started");
        slider->onSlideOngoing = record("ongoing");
        slider->onSlideComplete = record("complete");
    }
    static std::string fmt(double v) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", v);
        return buffer;
    }
    // A window point at the slider's value v (the knob's centre travels 7…193).
    CGPoint at(double v) const { return {10 + 7 + 186 * v / 100, 20}; }
};

TEST(StyledSlider, ADragCallsEachCallbackForItsOwnEventWithTheValue) {
    SliderScene s;
    s.h.press(s.at(50));
    s.h.drag(s.at(60));
    s.h.drag(s.at(70));
    s.h.release(s.at(70));
    EXPECT_EQ(s.calls,
              (std::vector<std::string>{"started 50", "ongoing 60", "ongoing 70", "complete 70"}));
    EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 70);
}

TEST(StyledSlider, ActionsOutsideADragCallNothing) {
    struct Case {
        const char* what;
        std::function<void(SliderScene<>&)> act;
    };
    const Case cases[] = {
        {"sent with no current event", [](SliderScene<>& s) { s.slider->sendAction(); }},
        {"sent while a key is dispatched",
         [](SliderScene<>& s) {
             NSApplication::CurrentEventScope key(NSEvent::key(NSEvent::Type::keyDown, "k", 40));
             s.slider->sendAction();
         }},
        {"another target set, then dragged",
         [](SliderScene<>& s) {
             auto other = make<NSView>();
             s.slider->setTarget(other);
             s.h.dragFromTo(s.at(10), s.at(90));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        c.act(s);
        EXPECT_TRUE(s.calls.empty());
    }
}

TEST(StyledScrollableSlider, TheWheelMovesAQuarterPercentPerPoint) {
    struct Case {
        const char* what;
        double start;
        CGFloat dx, dy;
        bool inverted = false;
        NSUserInterfaceLayoutDirection direction = NSUserInterfaceLayoutDirection::leftToRight;
        double expected;
    };
    using D = NSUserInterfaceLayoutDirection;
    const Case cases[] = {
        {"up by 4 points", 50, 0, 4, false, D::leftToRight, 51},
        {"natural scrolling: the other way", 50, 0, 4, true, D::leftToRight, 49},
        {"sideways, left to right", 50, 4, 0, false, D::leftToRight, 49},
        {"sideways, right to left", 50, 4, 0, false, D::rightToLeft, 51},
        {"past the maximum: clamped", 99, 0, 8, false, D::leftToRight, 100},
        {"a zero delta", 50, 0, 0, false, D::leftToRight, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene<StyledScrollableSlider> s;
        int actions = 0;
        s.slider->setDoubleValue(c.start);
        s.slider->setUserInterfaceLayoutDirection(c.direction);
        s.slider->onSlideOngoing = [&](double) { ++actions; };
        s.h.scroll(s.at(50), c.dx, c.dy, true, 0, c.inverted);
        EXPECT_DOUBLE_EQ(s.slider->doubleValue(), c.expected);
        EXPECT_EQ(actions, 0) << "a scroll is not a drag";
        EXPECT_EQ(s.container->scrolls, 0) << "the slider keeps its scroll events";
    }
}

TEST(StyledScrollableSlider, ACircularSliderWrapsAndADisabledOneIgnoresTheWheel) {
    SliderScene<StyledScrollableSlider> s;
    // A plain slider cell, which can be circular (the styled cell is always linear).
    auto plain = make<NSSliderCell>();
    s.slider->setCell(plain);
    s.slider->setMaxValue(100);
    s.slider->setSliderType(NSSliderType::circular);
    int sent = 0;
    struct Counter : NSObject {
        int* sent;
        void count(NSObject*) { ++*sent; }
    };
    auto counter = make<Counter>();
    counter->sent = &sent;
    s.slider->setTarget(counter);
    s.slider->setAction(&Counter::count);

    s.slider->setDoubleValue(0);
    s.h.scroll(s.at(50), 0, -8); // a step of −2 from the minimum
    EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 98);
    s.slider->setDoubleValue(99);
    s.h.scroll(s.at(50), 0, 8); // +2 past the maximum
    EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 2);
    EXPECT_EQ(sent, 2);

    s.slider->setEnabled(false);
    s.h.scroll(s.at(50), 0, 8);
    EXPECT_DOUBLE_EQ(s.slider->doubleValue(), 2);
    EXPECT_EQ(sent, 2);
    EXPECT_EQ(s.container->scrolls, 0);
}

TEST(StyledSliderCell, DrawsBarFillAndKnobFromTheArtwork) {
    // Bar: the base bar (0, 8, 200, 4) inset 2 left and right. Knob: 14 × 14 centred
    // on the bar, x = round(f × 186) within [0, 196 − 12]. Fill: bar start to knob centre.
    struct Case {
        const char* what;
        double value;
        bool enabled;
        bool held;
        CGFloat knobX;
        const char* knobArt;
        CGFloat alpha;
    };
    const Case cases[] = {
        {"at the minimum", 0, true, false, 0, "tgui-slider-handle", 1},
        {"half way", 50, true, false, 93, "tgui-slider-handle", 1},
        {"at the maximum: the knob stops at bar width − 12", 100, true, false, 184,
         "tgui-slider-handle", 1},
        {"disabled: half opacity", 50, false, false, 93, "tgui-slider-handle", 0.5},
        {"held down", 50, true, true, 93, "tgui-slider-handle-down", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        s.slider->setDoubleValue(c.value);
        s.slider->setEnabled(c.enabled);
        if (c.held)
            s.h.press(s.at(c.value));
        auto drawn = itemsOfKind(s.h.drawnBy(*s.slider), Kind::image);
        ASSERT_EQ(drawn.size(), 3u);
        EXPECT_EQ(drawn[0].imageName, "tgui-slider-alley");
        EXPECT_EQ(drawn[0].rect, (CGRect{2, 8, 196, 4}));
        EXPECT_EQ(drawn[1].imageName, "tgui-slider");
        EXPECT_EQ(drawn[1].rect, (CGRect{2, 8, c.knobX + 7 - 2, 4}));
        EXPECT_EQ(drawn[2].imageName, c.knobArt);
        EXPECT_EQ(drawn[2].rect, (CGRect{c.knobX, 3, 14, 14}));
        for (const auto& item : drawn)
            EXPECT_DOUBLE_EQ(item.alpha, c.alpha) << item;
    }
}

TEST(StyledSlider, WithKeyboardFocusInTheKeyWindowItDrawsTheLibraryRing) {
    struct Case {
        const char* what;
        bool focused, key, enabled;
        bool ring;
    };
    const Case cases[] = {
        {"focused in the key window", true, true, true, true},
        {"focused in a window that is not key", true, false, true, false},
        {"not focused", false, true, true, false},
        {"disabled: it takes no focus", true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SliderScene s;
        s.slider->setEnabled(c.enabled);
        if (c.focused)
            EXPECT_EQ(s.h.focus(s.slider), c.enabled);
        if (!c.key)
            s.h.window->resignKeyWindow();
        auto drawn = s.h.drawnBy(*s.slider);
        auto strokes = itemsOfKind(drawn, Kind::stroke);
        auto fills = itemsOfKind(drawn, Kind::fill);
        if (!c.ring) {
            EXPECT_TRUE(strokes.empty());
            continue;
        }
        // Around the whole slider (its cell's focus-ring mask: the frame), inside it.
        const auto colour = StyledSliderCell::classStyle()->focusRingColor();
        ASSERT_EQ(strokes.size(), 1u);
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_EQ(strokes[0].rect, (CGRect{0, 0, 200, 20}));
        EXPECT_EQ(*strokes[0].color, colour->cgColor());
        EXPECT_EQ(*fills[0].color, colour->withAlphaComponent(0.3)->cgColor());
    }
}

TEST(StyledSliderCell, TheKnobStaysOnANarrowBar) {
    // A slider 14 points wide: bar 10, so the knob's x is at most max(10 − 12, 1) = 1.
    for (double value : {0.0, 50.0, 100.0}) {
        SCOPED_TRACE(value);
        auto slider = make<StyledSlider>(CGRect{0, 0, 14, 20});
        slider->setMaxValue(100);
        slider->setDoubleValue(value);
        auto* cell = dynamic_cast<StyledSliderCell*>(slider->cell().get());
        CGRect knob = cell->knobRect(false);
        EXPECT_GE(knob.minX(), 0);
        EXPECT_LE(knob.minX(), 1);
    }
}

TEST(StyledSlider, IntrinsicSizeFromTheFixedWidthAndTheArtwork) {
    struct Case {
        const char* what;
        std::optional<CGFloat> fixedWidth;
        CGSize expected;
    };
    const Case cases[] = {
        {"no fixed width: the plain slider's", std::nullopt, {NSView::noIntrinsicMetric, 21}},
        {"wider than the bar art", 150, {150, 14}},
        {"narrower than the bar art: the art's width", 5, {14, 14}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto slider = make<StyledSlider>();
        slider->fixedWidth = c.fixedWidth;
        EXPECT_EQ(slider->intrinsicContentSize(), c.expected);
    }
}

} // namespace
