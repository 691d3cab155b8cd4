#include "AudioToolbox/AUAudioUnit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const AudioComponentDescription effect{kAudioUnitType_Effect, fourCharCode("test"),
                                       fourCharCode("Tst1"), 0, 0};

// A unit whose render block records the events of each cycle.
class RecordingUnit : public AUAudioUnit {
  public:
    struct Seen {
        AUEventSampleTime time;
        AURenderEventType type;
        AUParameterAddress address;
        AUValue value;
    };
    std::vector<std::vector<Seen>> cycles;

    AUInternalRenderBlock internalRenderBlock() override {
        return
            [this](AudioUnitRenderActionFlags*, const AudioTimeStamp*, AUAudioFrameCount, NSInteger,
                   AudioBufferList*, const AURenderEvent* event, const AURenderPullInputBlock&) {
                auto& cycle = cycles.emplace_back();
                for (; event; event = event->head.next)
                    cycle.push_back({event->head.eventSampleTime, event->head.eventType,
                                     event->parameter.parameterAddress, event->parameter.value});
                return noErr;
            };
    }

  protected:
    using AUAudioUnit::AUAudioUnit;
};

std::shared_ptr<AUParameterTree> twoParameterTree() {
    auto make = [](const char* id, AUParameterAddress address) {
        return AUParameterTree::createParameter(id, id, address, 0, 10,
                                                AudioUnitParameterUnit::generic, "", 0xC0000000,
                                                std::nullopt, std::nullopt);
    };
    return AUParameterTree::createTree({make("gain", 0), make("time", 1)});
}

TEST(AUAudioUnit, InstantiationFailsWithoutAComponent) {
    AUError error;
    EXPECT_EQ(AUAudioUnit::instantiate<RecordingUnit>(AudioComponentDescription{}, 0, &error),
              nullptr);
    EXPECT_NE(error.code, 0);
    EXPECT_FALSE(error.message.empty());
    auto unit = AUAudioUnit::instantiate<RecordingUnit>(effect, 0);
    ASSERT_TRUE(unit);
    EXPECT_TRUE(unit->componentDescription().sameComponent(effect));
    EXPECT_EQ(fourCharString(unit->componentDescription().componentType), "aufx");
}

TEST(AUAudioUnit, MaximumFramesAreFixedWhileResourcesAreAllocated) {
    auto unit = AUAudioUnit::instantiate<RecordingUnit>(effect, 0);
    unit->setMaximumFramesToRender(4096);
    EXPECT_FALSE(unit->renderResourcesAllocated());
    ASSERT_FALSE(unit->allocateRenderResources());
    EXPECT_TRUE(unit->renderResourcesAllocated());
    unit->setMaximumFramesToRender(128);
    EXPECT_EQ(unit->maximumFramesToRender(), 4096u);
    unit->deallocateRenderResources();
    EXPECT_FALSE(unit->renderResourcesAllocated());
}

TEST(AUAudioUnit, RenderBlockDeliversScheduledEventsInTheirCycle) {
    auto unit = AUAudioUnit::instantiate<RecordingUnit>(effect, 0);
    auto render = unit->renderBlock();
    AudioTimeStamp time{};
    time.mSampleTime = 1000;
    EXPECT_EQ(render(nullptr, &time, 64, 0, nullptr, {}), kAudioUnitErr_Uninitialized);

    ASSERT_FALSE(unit->allocateRenderResources());
    render = unit->renderBlock();
    auto schedule = unit->scheduleParameterBlock();
    schedule(1050, 0, 1, 5.0f);
    schedule(1010, 0, 0, 1.0f);
    schedule(AUEventSampleTimeImmediate, 0, 0, 2.0f);
    schedule(1010, 32, 1, 3.0f); // a ramp
    schedule(1064, 0, 0, 4.0f);  // the next cycle's first sample
    schedule(900, 0, 1, 6.0f);   // late: applied at once
    ASSERT_EQ(render(nullptr, &time, 64, 0, nullptr, {}), noErr);
    time.mSampleTime = 1064;
    ASSERT_EQ(render(nullptr, &time, 64, 0, nullptr, {}), noErr);

    using S = RecordingUnit::Seen;
    const std::vector<S> first{{900, AURenderEventParameter, 1, 6.0f},
                               {1000, AURenderEventParameter, 0, 2.0f},
                               {1010, AURenderEventParameter, 0, 1.0f},
                               {1010, AURenderEventParameterRamp, 1, 3.0f},
                               {1050, AURenderEventParameter, 1, 5.0f}};
    ASSERT_EQ(unit->cycles.size(), 2u) << "the refused call rendered nothing";
    ASSERT_EQ(unit->cycles[0].size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(unit->cycles[0][i].time, first[i].time) << i;
        EXPECT_EQ(unit->cycles[0][i].type, first[i].type) << i;
        EXPECT_EQ(unit->cycles[0][i].address, first[i].address) << i;
        EXPECT_EQ(unit->cycles[0][i].value, first[i].value) << i;
    }
    ASSERT_EQ(unit->cycles[1].size(), 1u);
    EXPECT_EQ(unit->cycles[1][0].value, 4.0f);
}

TEST(AUAudioUnit, FullStateHoldsIdentityAndParameterValues) {
    auto unit = AUAudioUnit::instantiate<RecordingUnit>(effect, 0);
    EXPECT_FALSE(unit->fullState()) << "no tree, nothing to save";
    unit->setParameterTree(twoParameterTree());
    unit->parameterTree()->parameter(0)->setValue(2.5f);
    unit->parameterTree()->parameter(1)->setValue(7.0f);
    auto state = unit->fullState();
    ASSERT_TRUE(state);
    EXPECT_EQ(*(*state)["type"].integer(), kAudioUnitType_Effect);
    EXPECT_EQ(*(*state)["manufacturer"].integer(), fourCharCode("Tst1"));
    const PropertyListValue* values = &(*state)["parameters"];
    EXPECT_EQ((*values)["gain"]->number(), 2.5);
    EXPECT_EQ((*values)["time"]->number(), 7.0);
}

TEST(AUAudioUnit, RestoringAppliesWhatIsValid) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        PropertyListDictionary state;
        float gain, time; // after restoring over gain 1, time 1
    };
    auto values = [](PropertyListValue gain, PropertyListValue time) {
        return PropertyListDictionary{{"gain", gain}, {"time", time}};
    };
    const std::int64_t manufacturer = fourCharCode("Tst1");
    const Case cases[] = {
        {"plain", {{"parameters", values(3.0, 4)}}, 3, 4},
        {"clamped", {{"parameters", values(-5.0, 99.0)}}, 0, 10},
        {"not numbers", {{"parameters", values("3", true)}}, 1, 1},
        {"not finite", {{"parameters", values(nan, inf)}}, 1, 1},
        {"one missing", {{"parameters", PropertyListDictionary{{"time", 6.0}}}}, 1, 6},
        {"same component",
         {{"manufacturer", manufacturer}, {"parameters", values(2.0, 2.0)}},
         2,
         2},
        {"foreign component",
         {{"manufacturer", std::int64_t{1}}, {"parameters", values(2.0, 2.0)}},
         1,
         1},
        {"identity of the wrong type", {{"type", "aufx"}, {"parameters", values(2.0, 2.0)}}, 1, 1},
        {"parameters not a dictionary", {{"parameters", 5}}, 1, 1},
    };
    for (const Case& c : cases) {
        auto unit = AUAudioUnit::instantiate<RecordingUnit>(effect, 0);
        unit->setParameterTree(twoParameterTree());
        unit->parameterTree()->parameter(0)->setValue(1.0f);
        unit->parameterTree()->parameter(1)->setValue(1.0f);
        unit->setFullState(c.state);
        EXPECT_EQ(unit->parameterTree()->parameter(0)->value(), c.gain) << c.what;
        EXPECT_EQ(unit->parameterTree()->parameter(1)->value(), c.time) << c.what;
    }
}

} // namespace
