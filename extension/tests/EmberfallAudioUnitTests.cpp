#include "EffectFixture.h"

#include "Foundation/PropertyList.h"

#include <cmath>
#include <limits>
#include <random>
#include <thread>

namespace {

using AudioUnitTest = EffectFixture;

TEST_F(AudioUnitTest, BussesCapabilitiesAndDefaults) {
    ASSERT_EQ(unit->inputBusses()->count(), 1u);
    ASSERT_EQ(unit->outputBusses()->count(), 1u);
    EXPECT_EQ(unit->inputBusses()->busType(), AUAudioUnitBusType::input);
    EXPECT_EQ(unit->outputBusses()->busType(), AUAudioUnitBusType::output);
    for (const auto& busses : {unit->inputBusses(), unit->outputBusses()}) {
        EXPECT_EQ((*busses)[0]->format()->sampleRate(), 44100);
        EXPECT_EQ((*busses)[0]->format()->channelCount(), 2u);
        EXPECT_EQ(busses->ownerAudioUnit(), unit);
    }
    EXPECT_EQ(unit->channelCapabilities(), (std::vector<int>{-1, -2}));
    unit->setShouldBypassEffect(true);
    EXPECT_TRUE(unit->dspKernel().bypass);
    EXPECT_TRUE(unit->shouldBypassEffect());
}

TEST_F(AudioUnitTest, ConfigurationPushesDefaultValuesWithTheDelayTypeFirst) {
    const auto& children = unit->parameterTree()->children();
    ASSERT_EQ(children.size(), 14u);
    EXPECT_EQ(children.front()->identifier(), "delayType");
    for (std::size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(children[i]->identifier(), parameterConfigurationOrder()[i]) << i;
    for (const auto& definition : parameterDefinitions())
        EXPECT_EQ(unit->dspKernel().getParameter(definition.address), definition.defaultValue)
            << definition.identifier;
}

// What a host reads of each parameter: its option flags, its unit's name and the
// parameters a change of it may change. Nothing ramps.
TEST_F(AudioUnitTest, TheHostSeesFlagsUnitNamesAndDependents) {
    struct Case {
        const char* identifier;
        AudioUnitParameterOptions flags;
        const char* unitName;
    };
    constexpr AudioUnitParameterOptions plain = 0xC0000000, strings = 0xC0200000;
    const Case cases[] = {
        {"mix", plain, "%"},        {"feedback", plain, "%"},
        {"delayMs", plain, "MS"},   {"modDepth", plain, "MS"},
        {"modRate", plain, "Hz"},   {"lfoType", strings, ""},
        {"width", plain, "%"},      {"model", strings, ""},
        {"spread", plain, "MS"},    {"lowCut", plain, "Hz"},
        {"highCut", plain, "Hz"},   {"delayType", 0xD0100000 | 0x00200000, ""},
        {"delayNote", strings, ""}, {"dirt", plain, "%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(parameter(c.identifier).flags(), c.flags);
        EXPECT_EQ(parameter(c.identifier).unitName(), c.unitName);
        if (std::string(c.identifier) != "delayType")
            EXPECT_FALSE(parameter(c.identifier).dependentParameters());
    }
    EXPECT_EQ(
        parameter("delayType").dependentParameters(),
        (std::vector<AUParameterAddress>{ParameterAddress::delayMs, ParameterAddress::delayNote}));
}

// Host writes through the tree: value, text and the values that must stop before the
// kernel.
TEST_F(AudioUnitTest, HostWritesAndTextThroughTheTree) {
    struct Case {
        const char* identifier;
        float write;
        float kernel; // raw value the kernel keeps
        float mirror; // the editor's mirror after the main queue ran
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {"feedback", 80, 80, 80}, {"delayMs", 6000, 6000, 5000}, // the kernel clamps for itself
        {"model", 2, 2, 2},       {"mix", nan, 30, 30},
        {"width", inf, 100, 100}, {"width", -inf, 100, 100},
    };
    for (const Case& c : cases) {
        parameter(c.identifier).setValue(c.write);
        drainMainQueue();
        EXPECT_EQ(kernelValue(c.identifier), c.kernel) << c.identifier << " " << c.write;
        EXPECT_EQ(settings().parameterAt(parameter(c.identifier).address())->value.get(), c.mirror)
            << c.identifier << " " << c.write;
    }

    struct Text {
        const char* identifier;
        float value;
        const char* text;
    };
    const Text texts[] = {{"delayNote", 7, "1/8."},
                          {"delayType", 1, "MS"},
                          {"model", 2, "PT 1"},
                          {"lfoType", 3, "RND"}};
    for (const Text& t : texts)
        EXPECT_EQ(parameter(t.identifier).string(&t.value), t.text);

    // Typed text that is no finite number reads as 0, never as NaN or infinity.
    for (const char* typed : {"nan", "inf", "-inf", "1e40", "NaN"}) {
        AUParameter& feedback = parameter("feedback");
        feedback.setValue(80);
        feedback.setValue(feedback.value(typed));
        EXPECT_EQ(kernelValue("feedback"), 0) << typed;
    }
}

TEST_F(AudioUnitTest, FullStateCarriesThePresetId) {
    auto bare = AUAudioUnit::instantiate<EmberfallAudioUnit>(emberfallDescription, 0);
    ASSERT_TRUE(bare);
    EXPECT_FALSE(bare->fullState()) << "no base state, no dictionary of the id alone";

    std::vector<std::string> told;
    unit->setOnPresetIdUpdate([&](const std::string& id) { told.push_back(id); });
    unit->setCurrentPresetId("Echo-Dotted Line");
    unit->setCurrentPresetId("Echo-Dotted Line");
    EXPECT_EQ(told, (std::vector<std::string>{"Echo-Dotted Line", "Echo-Dotted Line"}));
    auto state = unit->fullState();
    ASSERT_TRUE(state);
    EXPECT_EQ(*(*state)["currentPresetId"].string(), "Echo-Dotted Line");

    struct Case {
        const char* what;
        std::optional<PropertyListValue> entry;
    };
    const Case cases[] = {{"no key", std::nullopt}, {"a number", PropertyListValue(5)}};
    for (const Case& c : cases) {
        told.clear();
        PropertyListDictionary restored = *state;
        restored.erase("currentPresetId");
        if (c.entry)
            restored["currentPresetId"] = *c.entry;
        unit->setFullState(restored);
        EXPECT_EQ(unit->currentPresetId(), "") << c.what;
        EXPECT_EQ(told, std::vector<std::string>{""}) << c.what;
    }
}

// A value a host may write: in range, on a bound, out of range by a little or by
// far, a fraction of an indexed step, or no finite number at all.
float hostValue(std::mt19937& random, const AUParameter& parameter) {
    const float lo = parameter.minValue(), hi = parameter.maxValue(), span = hi - lo;
    auto uniform = [&](float a, float b) {
        return std::uniform_real_distribution<float>(a, b)(random);
    };
    switch (std::uniform_int_distribution<int>(0, 9)(random)) {
    case 0:
        return lo;
    case 1:
        return hi;
    case 2:
        return uniform(hi, hi + 10 * span);
    case 3:
        return uniform(lo - 10 * span, lo);
    case 4:
        return std::uniform_int_distribution<int>(0, 1)(random) ? 3e38f : -3e38f;
    case 5:
        return std::numeric_limits<float>::quiet_NaN();
    case 6:
        return std::uniform_int_distribution<int>(0, 1)(random)
                   ? std::numeric_limits<float>::infinity()
                   : -std::numeric_limits<float>::infinity();
    default:
        return uniform(lo, hi);
    }
}

std::string stateBytes(const EmberfallAudioUnit& unit) {
    std::optional<PropertyListDictionary> state = unit.fullState();
    if (!state)
        return "";
    return PropertyListSerialization::write(*state).value_or("unwritable");
}

// Save, load into a new instance, save again: the same bytes, whatever values the
// host wrote before the first save (through the tree as automation does, through the
// unit as the editor does, or as a render event), and every saved value is what the
// new instance then holds.
TEST(AudioUnitState, ASavedStateRestoresAndSavesAgainToTheSameBytes) {
    RunLoopTestScope scope;
    struct Effect {
        std::shared_ptr<AudioUnitViewController> controller = make<AudioUnitViewController>();
        std::shared_ptr<EmberfallAudioUnit> unit;
        Effect() {
            AUError error;
            unit = std::dynamic_pointer_cast<EmberfallAudioUnit>(
                controller->createAudioUnit(emberfallDescription, &error));
            RunLoop::main().runUntilIdle();
        }
    };
    std::mt19937 random(20261211);
    const auto& presets = allFactoryPresets();

    // One unit renders throughout, so that render events reach it too.
    Effect host;
    ASSERT_TRUE(host.unit);
    host.unit->setMaximumFramesToRender(64);
    ASSERT_FALSE(host.unit->allocateRenderResources());
    BlockRenderer renderer(*host.unit, 2, 64);
    auto schedule = host.unit->scheduleParameterBlock();
    const auto& parameters = host.unit->parameterTree()->children();
    auto any = [&] { return parameters[random() % parameters.size()]; };

    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        if (round % 7 == 0)
            host.controller->settings()->applyFactoryPreset(presets[random() % presets.size()]);
        for (int write = 0; write < 6; ++write) {
            auto parameter = any();
            switch (write % 3) {
            case 0:
                parameter->setValue(hostValue(random, *parameter));
                break;
            case 1:
                host.unit->setParameter(parameter->address(), hostValue(random, *parameter));
                break;
            default:
                schedule(AUEventSampleTimeImmediate, 0, parameter->address(),
                         hostValue(random, *parameter));
            }
        }
        ASSERT_EQ(renderer.render(64), noErr);
        RunLoop::main().runUntilIdle();
        const std::string saved = stateBytes(*host.unit);
        ASSERT_FALSE(saved.empty());

        Effect restored;
        ASSERT_TRUE(restored.unit);
        std::optional<PropertyListValue> read = PropertyListSerialization::read(saved);
        ASSERT_TRUE(read && read->dictionary());
        restored.unit->setFullState(*read->dictionary());
        RunLoop::main().runUntilIdle();
        EXPECT_EQ(stateBytes(*restored.unit), saved);
        for (const auto& parameter : parameters)
            EXPECT_EQ(restored.unit->dspKernel().getParameter(parameter->address()),
                      *(*(*read)["parameters"])[parameter->identifier()]->number())
                << parameter->identifier();
    }
    host.unit->deallocateRenderResources();
}

TEST_F(AudioUnitTest, PresetIdSetOffTheMainThreadIsToldOnTheMainThread) {
    std::vector<bool> onMain;
    unit->setOnPresetIdUpdate(
        [&](const std::string&) { onMain.push_back(Runtime::isMainThread()); });
    std::thread host([&] { unit->setCurrentPresetId("Chorus-Wide Awake"); });
    host.join();
    EXPECT_TRUE(onMain.empty()) << "handed over, not called on the host's thread";
    drainMainQueue();
    EXPECT_EQ(onMain, std::vector<bool>{true});
}

// A restored state is applied as far as it is valid and never overwrites its own
// delay times by converting them.
TEST_F(AudioUnitTest, RestoringAppliesValidValuesAndKeepsSavedDelayTimes) {
    auto state = *unit->fullState();
    auto& values = *state["parameters"].dictionary();
    values["delayType"] = 1.0;   // ms, over the Default's note
    values["delayMs"] = 123.0;   // not the converted 375
    values["delayNote"] = 2.0;   // not the nearest division
    values["model"] = 9.0;       // out of range
    values["feedback"] = "loud"; // wrong type
    values["mix"] = std::numeric_limits<double>::quiet_NaN();
    unit->setFullState(state);
    drainMainQueue();
    EXPECT_EQ(kernelValue("delayType"), 1);
    EXPECT_EQ(kernelValue("delayMs"), 123);
    EXPECT_EQ(kernelValue("delayNote"), 2);
    EXPECT_EQ(kernelValue("model"), 3);
    EXPECT_EQ(kernelValue("feedback"), 45);
    EXPECT_EQ(kernelValue("mix"), 30);
    allocate(44100, 2, 512);
    BlockRenderer renderer(*unit, 2, 512);
    renderer.input.assign(2, std::vector<float>(4096, 0.5f));
    for (int block = 0; block < 8; ++block) {
        ASSERT_EQ(renderer.render(512), noErr);
        for (std::uint32_t c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
                ASSERT_TRUE(std::isfinite(renderer.output(c)[i])) << block << " " << i;
    }

    // A switch after the restore converts from the restored type.
    parameter("delayType").setValue(0);
    EXPECT_EQ(kernelValue("delayNote"),
              rawValue(DelayNoteDivision::sixteenth)); // 125 ms nearest 123

    PropertyListDictionary foreign = state;
    foreign["manufacturer"] = std::int64_t{fourCharCode("Othr")};
    (*foreign["parameters"].dictionary())["feedback"] = 99.0;
    foreign["currentPresetId"] = std::string("Chorus-Wide Awake");
    const std::string presetBefore = unit->currentPresetId();
    EXPECT_TRUE(unit->namesAnotherComponent(foreign));
    EXPECT_FALSE(unit->namesAnotherComponent(state));
    unit->setFullState(foreign);
    EXPECT_EQ(kernelValue("feedback"), 45);
    EXPECT_EQ(unit->currentPresetId(), presetBefore) << "another component's state selects nothing";
}

TEST_F(AudioUnitTest, MaximumFramesBoundTheRenderCall) {
    unit->setMaximumFramesToRender(4096);
    allocate(44100, 2, 4096);
    EXPECT_EQ(unit->maximumFramesToRender(), 4096u);
    BlockRenderer renderer(*unit, 2, 4097);
    EXPECT_EQ(renderer.render(4096), noErr);
    EXPECT_EQ(renderer.render(4097), kAudioUnitErr_TooManyFramesToProcess);
}

// Render events reach the kernel at once and the editor on the next tick; the echo
// never writes the kernel again, so newer automation is not undone.
TEST_F(AudioUnitTest, RenderEventEchoUpdatesTheEditorOnly) {
    allocate(44100, 2, 256);
    BlockRenderer renderer(*unit, 2, 256);
    auto schedule = unit->scheduleParameterBlock();
    schedule(AUEventSampleTimeImmediate, 0, ParameterAddress::feedback, 70.0f);
    schedule(AUEventSampleTimeImmediate, 0, ParameterAddress::delayMs, 250.0f);
    schedule(10, 0, ParameterAddress::delayMs, 260.0f); // the later one is what the editor shows
    ASSERT_EQ(renderer.render(256), noErr);
    EXPECT_EQ(kernelValue("feedback"), 70);
    EXPECT_EQ(settings().feedback->value.get(), 45) << "not before the main thread runs";

    parameter("feedback").setValue(20); // newer automation from the host
    scope->clock().advance(1.0 / 60.0);
    RunLoop::main().run(1.0 / 30.0);
    EXPECT_EQ(settings().delayMs->value.get(), 260);
    EXPECT_EQ(kernelValue("feedback"), 20) << "a late echo must not undo newer automation";
    EXPECT_EQ(settings().feedback->value.get(), 20) << "nor show the older event";
}

} // namespace

namespace {

TEST(AudioUnitViewControllerTest, CreatingFromAnotherThreadConfiguresOnTheMainThread) {
    RunLoopTestScope scope;
    auto controller = make<AudioUnitViewController>();
    std::atomic<bool> returned{false};
    std::shared_ptr<AUAudioUnit> created;
    bool configuredWhenReturned = false;
    std::thread host([&] {
        AUError error;
        created = controller->createAudioUnit(emberfallDescription, &error);
        configuredWhenReturned = created && created->parameterTree() &&
                                 controller->settings()->emberfallAudioUnit() == created;
        returned = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return returned.load(); }, 10));
    host.join();
    EXPECT_TRUE(configuredWhenReturned);
    EXPECT_EQ(controller->audioUnit(), created);

    AUError error;
    EXPECT_FALSE(controller->createAudioUnit(AudioComponentDescription{}, &error));
    EXPECT_NE(error.code, 0);
    EXPECT_EQ(controller->audioUnit(), created) << "a failed creation keeps the unit";
}

TEST(AudioUnitViewControllerTest, AnEchoAfterTheControllerIsGoneDoesNothing) {
    RunLoopTestScope scope;
    auto controller = make<AudioUnitViewController>();
    AUError error;
    auto unit = std::dynamic_pointer_cast<EmberfallAudioUnit>(
        controller->createAudioUnit(emberfallDescription, &error));
    ASSERT_TRUE(unit);
    ASSERT_FALSE(unit->allocateRenderResources());
    BlockRenderer renderer(*unit, 2, 512);
    unit->scheduleParameterBlock()(AUEventSampleTimeImmediate, 0, ParameterAddress::mix, 80);
    ASSERT_EQ(renderer.render(128), noErr);
    controller.reset();
    unit->drainParameterEchoes();
    EXPECT_EQ(unit->dspKernel().getParameter(ParameterAddress::mix), 80);
    unit->deallocateRenderResources();
}

} // namespace
