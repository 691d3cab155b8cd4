// The knob driven by mouse events through a window: begin / change / end of a drag
// through both mappings, the minimum distance, resets, indexed steps, the frame that
// follows the value, and a drag cut short.

#include "KnobControl.h"
#include "TestSupport/ControlHarness.h"
#include "TestSupport/ParameterRecorder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace SwiftUI;

namespace {

using Unit = AudioUnitParameterUnit;
using Event = ParameterRecorder::Event;
using Writes = std::vector<ParameterRecorder::Write>;

// A 60 × 280 knob at the top-left of the window, whose frame number is its identifier.
AnyView knob(const ParameterRecorder& rec) {
    return KnobControl(rec.binding(), 6, 0.005f, 51,
                       [](int frame) {
                           return Color::gray().frame(60, 280).accessibilityIdentifier(
                               "frame " + std::to_string(frame));
                       })
        .frame(200, 300, Alignment::topLeading());
}

int shownFrame(ControlHarness& hosted) {
    for (int i = 1; i <= 51; ++i)
        if (hosted.host->graph().find("frame " + std::to_string(i)))
            return i;
    return 0;
}

std::shared_ptr<AudioParameter> linear(float value = 50) {
    return AudioParameter::create(0, "mix", "Mix", Unit::percent, {0, 100}, value);
}

struct Knob : ::testing::Test {
    RunLoopTestScope scope;
};

TEST_F(Knob, AVerticalDragIsOneEditThroughEitherMapping) {
    struct Case {
        const char* name;
        std::shared_ptr<AudioParameter> param;
        float up10, down20; // after 10 points up, then 20 points down
    } cases[] = {
        {"linear", linear(50), 55, 45},
        {"logarithmic",
         AudioParameter::create(9, "lowCut", "Low Cut", Unit::hertz, {20, 20000}, 632.456f,
                                ValueIncrement::logarithmic()),
         20 * std::pow(1000.0f, 0.55f), 20 * std::pow(1000.0f, 0.45f)},
    };
    for (const auto& c : cases) {
        ParameterRecorder rec(c.param);
        const float start = rec.param->value.peek();
        ControlHarness hosted(knob(rec), {200, 300});
        hosted.press({30, 100});
        hosted.drag({30, 94}); // the drag begins: no change yet
        EXPECT_TRUE(rec.param->isBeingInteractivelyEdited.peek());
        hosted.drag({30, 84});
        hosted.drag({30, 104});
        EXPECT_TRUE(rec.param->isBeingInteractivelyEdited.peek());
        hosted.release({30, 104});
        EXPECT_FALSE(rec.param->isBeingInteractivelyEdited.peek());
        ASSERT_EQ(rec.writes.size(), 4u) << c.name;
        EXPECT_EQ(rec.writes[0], (ParameterRecorder::Write{Event::touch, start})) << c.name;
        EXPECT_EQ(rec.writes[1].event, Event::value);
        EXPECT_NEAR(rec.writes[1].value, c.up10, c.up10 * 1e-4) << c.name;
        EXPECT_EQ(rec.writes[2].event, Event::value);
        EXPECT_NEAR(rec.writes[2].value, c.down20, c.down20 * 1e-4) << c.name;
        EXPECT_EQ(rec.writes[3].event, Event::release);
        EXPECT_EQ(rec.writes[3].value, rec.writes[2].value);
    }
}

TEST_F(Knob, TheEndCarriesTheLastValueSentEvenBeforeTheMirrorCatchesUp) {
    ParameterRecorder rec(linear(50));
    ControlHarness hosted(knob(rec), {200, 300});
    // Events back to back, with no turn of the main queue in between.
    auto send = [&](NSEvent::Type type, CGFloat y) {
        hosted.window->sendEvent(
            NSEvent::mouse(type, hosted.host->convertToView(CGPoint{30, y}, nullptr)));
    };
    send(NSEvent::Type::leftMouseDown, 100);
    send(NSEvent::Type::leftMouseDragged, 94);
    send(NSEvent::Type::leftMouseDragged, 84);
    send(NSEvent::Type::leftMouseDragged, 74);
    send(NSEvent::Type::leftMouseUp, 74);
    const Writes expected{
        {Event::touch, 50}, {Event::value, 55}, {Event::value, 60}, {Event::release, 60}};
    ASSERT_EQ(rec.writes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(rec.writes[i].event, expected[i].event) << i;
        EXPECT_NEAR(rec.writes[i].value, expected[i].value, 1e-4) << i;
    }
    hosted.turn();
    EXPECT_NEAR(rec.param->value.peek(), 60, 1e-4);
}

TEST_F(Knob, NothingHappensBeforeTheMinimumDistanceAndAPlainClickDoesNothing) {
    ParameterRecorder rec(linear());
    ControlHarness hosted(knob(rec), {200, 300});
    hosted.press({30, 30});
    hosted.drag({30, 25});
    hosted.drag({33, 26});
    EXPECT_TRUE(rec.writes.empty());
    hosted.release({30, 25});
    EXPECT_TRUE(rec.writes.empty());
    hosted.click({30, 30});
    EXPECT_TRUE(rec.writes.empty());
    EXPECT_FALSE(rec.param->isBeingInteractivelyEdited.peek());
}

TEST_F(Knob, DoubleClickAndOptionClickResetWithOneChange) {
    struct Case {
        const char* name;
        std::function<void(ControlHarness&)> gesture;
    } cases[] = {
        {"double-click",
         [](ControlHarness& h) {
             h.doubleClick({30, 30});
         }},
        {"option-click",
         [](ControlHarness& h) {
             h.click({30, 30}, NSEvent::option);
         }},
    };
    for (const auto& c : cases) {
        ParameterRecorder rec(linear(50));
        rec.param->setValue(80, ParameterEditor::parameterObserver, ParameterEditorState::change);
        ControlHarness hosted(knob(rec), {200, 300});
        c.gesture(hosted);
        EXPECT_EQ(rec.writes, (Writes{{Event::value, 50}})) << c.name;
        EXPECT_EQ(rec.param->value.peek(), 50) << c.name;
    }
}

TEST_F(Knob, IndexedStepsWaitForHalfAnIndexOfTravel) {
    ParameterRecorder rec(AudioParameter::create(5, "lfoType", "Shape", Unit::indexed, {0, 3}, 0,
                                                 ValueIncrement::linear(),
                                                 std::vector<std::string>{"a", "b", "c", "d"}));
    ControlHarness hosted(knob(rec), {200, 300});
    hosted.press({30, 200});
    hosted.drag({30, 194}); // begins
    CGFloat y = 194;
    for (int point = 0; point < 33; ++point)
        hosted.drag({30, --y}); // 0.015 of an index per point: 0.495 after 33
    EXPECT_EQ(rec.writes, (Writes{{Event::touch, 0}}));
    hosted.drag({30, --y}); // 0.51: the next index
    EXPECT_EQ(rec.writes, (Writes{{Event::touch, 0}, {Event::value, 1}}));
    hosted.release({30, y});
    EXPECT_EQ(rec.writes.back(), (ParameterRecorder::Write{Event::release, 1}));
}

TEST_F(Knob, TravelPastTheEndIsNotStoredSoTheWayBackMovesAtOnce) {
    ParameterRecorder rec(linear(90));
    ControlHarness hosted(knob(rec), {200, 300});
    hosted.press({30, 250});
    hosted.drag({30, 244});
    hosted.drag({30, 40}); // far past the top
    EXPECT_EQ(rec.writes.back(), (ParameterRecorder::Write{Event::value, 100}));
    hosted.drag({30, 50}); // ten points back down
    EXPECT_NEAR(rec.writes.back().value, 95, 1e-4);
    hosted.release({30, 50});
}

TEST_F(Knob, TheFrameFollowsTheValueFromAnySource) {
    ParameterRecorder rec(AudioParameter::create(9, "lowCut", "Low Cut", Unit::hertz, {20, 20000},
                                                 20, ValueIncrement::logarithmic()));
    ControlHarness hosted(knob(rec), {200, 300});
    EXPECT_EQ(shownFrame(hosted), 1);
    rec.param->setValue(632.456f, ParameterEditor::parameterObserver, ParameterEditorState::change);
    hosted.turn();
    hosted.turn();
    EXPECT_EQ(shownFrame(hosted), 26);
    rec.param->setValue(20000, ParameterEditor::parameterObserver, ParameterEditorState::change);
    hosted.turn();
    hosted.turn();
    EXPECT_EQ(shownFrame(hosted), 51);
}

// A knob that a flag outside the tree replaces.
struct Replaceable : View<Replaceable> {
    std::shared_ptr<Observed<bool>> shown;
    std::function<AnyView()> content;
    AnyView body() const { return shown->get() ? content() : AnyView(Text("another dial")); }
};

TEST_F(Knob, ADragCutShortEndsTheEditSoOutsideChangesApplyAgain) {
    ParameterRecorder rec(linear(50));
    auto shown = std::make_shared<Observed<bool>>(true);
    ControlHarness hosted(Replaceable{{}, shown, [&rec] { return knob(rec); }}, {200, 300});
    hosted.press({30, 100});
    hosted.drag({30, 94});
    hosted.drag({30, 84});
    ASSERT_TRUE(rec.param->isBeingInteractivelyEdited.peek());
    shown->set(false); // the dial is replaced mid-drag
    hosted.turn();
    EXPECT_FALSE(rec.param->isBeingInteractivelyEdited.peek());
    EXPECT_EQ(rec.writes, (Writes{{Event::touch, 50}, {Event::value, 55}, {Event::release, 55}}));
    hosted.release({30, 84});
    EXPECT_EQ(rec.writes.size(), 3u);
    rec.param->setValue(20, ParameterEditor::parameterObserver, ParameterEditorState::change);
    hosted.turn();
    EXPECT_EQ(rec.param->value.peek(), 20);
}

TEST_F(Knob, AnEmptyRangeShowsTheFirstFrameAndDragsToItsOnlyValue) {
    ParameterRecorder rec(AudioParameter::dummyParam());
    ControlHarness hosted(knob(rec), {200, 300});
    EXPECT_EQ(shownFrame(hosted), 1);
    hosted.press({30, 100});
    hosted.drag({30, 94});
    hosted.drag({30, 80});
    hosted.release({30, 80});
    for (const auto& w : rec.writes)
        EXPECT_EQ(w.value, 0);
    EXPECT_EQ(shownFrame(hosted), 1);
}

} // namespace
