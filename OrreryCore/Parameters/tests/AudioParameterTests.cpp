#include "Parameters/AudioParameter.h"

#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace {

using Unit = AudioUnitParameterUnit;
using State = ParameterEditorState;
using Source = ParameterEditor;
using Event = AUParameterAutomationEventType;

void drainMainQueue() {
    RunLoop::main().runUntilIdle();
}

// A parameter with a recording host-side observer on its AUParameter.
struct Recorded {
    explicit Recorded(std::shared_ptr<AudioParameter> p) : param(std::move(p)) {
        param->auParameter->tokenByAddingParameterAutomationObserver(
            [this](const AUParameterAutomationEvent& e) { writes.push_back(e); });
    }
    std::shared_ptr<AudioParameter> param;
    std::vector<AUParameterAutomationEvent> writes;
};

std::shared_ptr<AudioParameter> delayMs() {
    return AudioParameter::create(2, "delayMs", "Delay MS", Unit::milliseconds, {1, 5000}, 375,
                                  ValueIncrement::logarithmic(100));
}

TEST(AudioParameter, CreatesTheHostParameterWithFlagsAndUnitName) {
    using Strings = std::optional<std::vector<std::string>>;
    using Deps = std::optional<std::vector<AUParameterAddress>>;
    struct Case {
        Unit unit;
        Strings strings;
        Deps deps;
        AudioUnitParameterOptions flags;
        std::string unitName;
    };
    const Strings two = std::vector<std::string>{"NOTE", "MS"};
    const Strings none;
    const std::vector<Case> cases{
        {Unit::percent, none, Deps{}, 0xC0000000, "%"},
        {Unit::hertz, Strings{std::vector<std::string>{}}, Deps{std::vector<AUParameterAddress>{}},
         0xC0000000, "Hz"}, // empty strings and dependents add nothing
        {Unit::indexed, two, Deps{}, 0xC0200000, ""},
        {Unit::indexed, two, Deps{std::vector<AUParameterAddress>{2, 12}}, 0xD0300000, ""},
        {Unit::indexed, none, Deps{std::vector<AUParameterAddress>{2}}, 0xD0100000, ""},
        {Unit::decibels, none, Deps{}, 0xC2000000, "dB"},
        {Unit::linearGain, none, Deps{}, 0xC2000000, ""},
        {Unit::absoluteCents, none, Deps{}, 0xC2000000, ""},
        {Unit::milliseconds, none, Deps{}, 0xC0000000, "MS"},
        {Unit::customUnit, none, Deps{}, 0xC0000000, ""},
    };
    for (const Case& c : cases) {
        auto p = AudioParameter::create(11, "id", "Name", c.unit, {-2, 3}, 1.5f,
                                        ValueIncrement::linear(), c.strings, c.deps);
        auto& au = *p->auParameter;
        SCOPED_TRACE(static_cast<int>(c.unit));
        EXPECT_EQ(au.flags(), c.flags);
        EXPECT_EQ(au.unitName(), c.unitName);
        EXPECT_EQ(p->displayableSuffix(), c.unitName);
        EXPECT_EQ(au.unit(), c.unit);
        EXPECT_EQ(au.identifier(), "id");
        EXPECT_EQ(au.displayName(), "Name");
        EXPECT_EQ(au.address(), 11u);
        EXPECT_EQ(au.minValue(), -2.0f);
        EXPECT_EQ(au.maxValue(), 3.0f);
        EXPECT_EQ(au.value(), 1.5f);
        EXPECT_EQ(au.valueStrings(), c.strings);
        EXPECT_EQ(au.dependentParameters(), c.deps);
        EXPECT_EQ(p->value.get(), 1.5f);
        EXPECT_FALSE(p->isBeingInteractivelyEdited.get());
        EXPECT_EQ(p->id(), "id");
    }
}

TEST(AudioParameter, UnitDependentPresentation) {
    struct Case {
        Unit unit;
        float displayable, save, display;
        bool indexed;
        std::string suffix;
    };
    for (const Case& c : std::vector<Case>{{Unit::absoluteCents, 12.5f, 0.01f, 100, false, ""},
                                           {Unit::indexed, 1250, 1, 1, true, ""},
                                           {Unit::percent, 1250, 1, 1, false, "%"},
                                           {Unit::hertz, 1250, 1, 1, false, "Hz"}}) {
        auto p = AudioParameter::create(0, "x", "X", c.unit, {0, 5000}, 1250);
        SCOPED_TRACE(static_cast<int>(c.unit));
        EXPECT_EQ(p->displayableValue(), c.displayable);
        EXPECT_EQ(p->saveScaleFactor(), c.save);
        EXPECT_EQ(p->displayScaleFactor(), c.display);
        EXPECT_EQ(p->isIndexed(), c.indexed);
        EXPECT_EQ(displayableSuffix(c.unit), c.suffix);
    }
}

TEST(AudioParameter, DummyIsAPlaceholderWithARealHostParameter) {
    auto d = AudioParameter::dummyParam();
    EXPECT_EQ(d->address, 0u);
    EXPECT_EQ(d->identifier, "");
    EXPECT_EQ(d->name, "");
    EXPECT_EQ(d->units, Unit::customUnit);
    EXPECT_EQ(d->valueRange, (ValueRange{0, 0}));
    EXPECT_EQ(d->defaultValue, 0.0f);
    EXPECT_EQ(d->valueIncrement, ValueIncrement::linear());
    EXPECT_FALSE(d->valueStrings.has_value());
    EXPECT_FALSE(d->dependentParameterAddresses.has_value());
    ASSERT_NE(d->auParameter, nullptr);
    EXPECT_EQ(d->auParameter->flags(), 0xC0000000u);
}

TEST(ValueIncrement, Equality) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        ValueIncrement a, b;
        bool equal;
    };
    for (const Case& c : std::vector<Case>{
             {ValueIncrement::linear(), ValueIncrement::linear(), true},
             {ValueIncrement::logarithmic(), ValueIncrement::logarithmic(), true},
             {ValueIncrement::logarithmic(100), ValueIncrement::logarithmic(100), true},
             {ValueIncrement::logarithmic(100), ValueIncrement::logarithmic(1), false},
             {ValueIncrement::logarithmic(100), ValueIncrement::logarithmic(), false},
             {ValueIncrement::logarithmic(), ValueIncrement::linear(), false},
             {ValueIncrement::logarithmic(nan), ValueIncrement::logarithmic(nan), false},
         })
        EXPECT_EQ(c.a == c.b, c.equal);
}

TEST(AudioParameter, ClampsAndShowsTheValueOnlyAfterTheMainQueueRan) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float in, stored;
    };
    for (const Case& c : std::vector<Case>{
             {std::nanf(""), 1}, {6000, 5000}, {-3, 1}, {inf, 5000}, {-inf, 1}, {250.5f, 250.5f}}) {
        Recorded r(delayMs());
        r.param->setValue(c.in, Source::ui, State::change);
        SCOPED_TRACE(c.in);
        ASSERT_EQ(r.writes.size(), 1u);
        EXPECT_EQ(r.writes[0].value, c.stored);
        EXPECT_EQ(r.writes[0].eventType, Event::value);
        EXPECT_GT(r.writes[0].hostTime, 0u);
        EXPECT_EQ(r.param->value.get(), 375.0f) << "never synchronously";
        drainMainQueue();
        EXPECT_EQ(r.param->value.get(), c.stored);
    }
}

TEST(AudioParameter, EqualValuesPassOnlyAsGestureEdges) {
    // A write of the current value: `change` is dropped whole; begin and end pass
    // (to the host only from the user interface) and queue a mirror update.
    struct Case {
        State state;
        Source source;
        std::optional<Event> hostEvent;
        bool queued;
    };
    for (const Case& c : std::vector<Case>{
             {State::change, Source::ui, std::nullopt, false},
             {State::change, Source::parameterObserver, std::nullopt, false},
             {State::beginInteractive, Source::ui, Event::touch, true},
             {State::beginInteractive, Source::parameterObserver, std::nullopt, true},
             {State::endInteractive, Source::ui, Event::release, true},
             {State::endInteractive, Source::parameterObserver, std::nullopt, true},
         }) {
        Recorded r(delayMs());
        SCOPED_TRACE(static_cast<int>(c.state) * 10 + static_cast<int>(c.source));
        r.param->setValue(375, c.source, c.state);
        if (c.hostEvent) {
            ASSERT_EQ(r.writes.size(), 1u);
            EXPECT_EQ(r.writes[0].eventType, *c.hostEvent);
            EXPECT_EQ(r.writes[0].value, 375.0f);
        } else {
            EXPECT_TRUE(r.writes.empty());
        }
        // Move the mirror by hand: only a queued update brings it back.
        r.param->value.set(900);
        drainMainQueue();
        EXPECT_EQ(r.param->value.get(), c.queued ? 375.0f : 900.0f);
    }
}

TEST(AudioParameter, TreeWritesDoNotMoveAControlTheUserDrags) {
    struct Case {
        Source source;
        bool editing;
        float shown;
    };
    for (const Case& c : std::vector<Case>{{Source::parameterObserver, true, 375},
                                           {Source::ui, true, 800},
                                           {Source::parameterObserver, false, 800},
                                           {Source::ui, false, 800}}) {
        Recorded r(delayMs());
        r.param->isBeingInteractivelyEdited.set(c.editing);
        r.param->setValue(800, c.source, State::change);
        drainMainQueue();
        EXPECT_EQ(r.param->value.get(), c.shown)
            << static_cast<int>(c.source) << " editing " << c.editing;
        EXPECT_EQ(r.writes.size(), c.source == Source::ui ? 1u : 0u);
    }
}

TEST(AudioParameter, AWriteFollowingAStillQueuedOneIsNotDropped) {
    // A preset's own delay write after the delay-type conversion: the mirror
    // still shows 375 while the conversion's 500 is queued; writing 375 back must
    // reach the host and win.
    Recorded r(delayMs());
    r.param->setValue(500, Source::ui, State::change);
    r.param->setValue(375, Source::ui, State::change);
    ASSERT_EQ(r.writes.size(), 2u);
    EXPECT_EQ(r.writes[1].value, 375.0f);
    drainMainQueue();
    EXPECT_EQ(r.param->value.get(), 375.0f);
    EXPECT_EQ(r.param->auParameter->value(), 375.0f);

    // A repeat of the last write is still dropped.
    r.param->setValue(375, Source::ui, State::change);
    EXPECT_EQ(r.writes.size(), 2u);
}

TEST(AudioParameter, WritesFromAnotherThreadReachTheMirrorOnTheMainQueue) {
    Recorded r(delayMs());
    std::thread([&] { r.param->setValue(1200, Source::ui, State::change); }).join();
    ASSERT_EQ(r.writes.size(), 1u) << "the host write happens on the calling thread";
    EXPECT_EQ(r.param->value.get(), 375.0f);
    drainMainQueue();
    EXPECT_EQ(r.param->value.get(), 1200.0f);
}

} // namespace
