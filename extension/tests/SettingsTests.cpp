#include "EffectFixture.h"

#include "Dispatch/Dispatch.h"

#include <cmath>
#include <functional>
#include <limits>
#include <thread>

namespace {

using SettingsTest = EffectFixture;
namespace A = ParameterAddress;

// Switching the delay type converts the delay time from the kernel's current values.
TEST_F(SettingsTest, DelayTypeSwitchConvertsTheDelayTime) {
    struct Case {
        const char* what;
        float tempo;   // the host's tempo (0: none)
        float from;    // delay type before the switch
        float delayMs; // written first (the host's order: time, then type)
        float delayNote;
        float to; // the delay type written
        float expectMs, expectNote;
    };
    const float q = rawValue(DelayNoteDivision::quarter);
    const float dottedEighth = rawValue(DelayNoteDivision::dottedEighth);
    const float quarterTriplet = rawValue(DelayNoteDivision::quarterTriplet);
    const Case cases[] = {
        {"1/8. to ms at 120", 120, 0, 100, dottedEighth, 1, 375, dottedEighth},
        {"no whole index gives the quarter", 120, 0, 100, 7.5f, 1, 500, 7.5f},
        {"333 ms to 1/4T at 120", 120, 1, 333, q, 0, 333, quarterTriplet},
        {"1000 ms to 1/4 at 60", 60, 1, 1000, 0, 0, 1000, q},
        {"no host tempo counts 120", 0, 0, 100, q, 1, 500, q},
        {"a negative host tempo counts 120", -90, 0, 100, q, 1, 500, q},
        {"1/4 to ms at 90", 90, 0, 100, q, 1, 60000.0f / 90, q},
        {"1250 ms, midway between 1/2 and 1/2., takes the first", 120, 1, 1250, q, 0, 1250,
         rawValue(DelayNoteDivision::half)},
        {"the same type changes nothing", 120, 1, 333, 2, 1, 333, 2},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        parameter("delayType").setValue(c.from);
        unit->dspKernel().hostTempo = c.tempo;
        parameter("delayMs").setValue(c.delayMs);
        parameter("delayNote").setValue(c.delayNote);
        parameter("delayType").setValue(c.to);
        EXPECT_FLOAT_EQ(kernelValue("delayMs"), c.expectMs) << c.what;
        EXPECT_FLOAT_EQ(kernelValue("delayNote"), c.expectNote) << c.what;
    }
}

TEST_F(SettingsTest, DelayTypeValuesOtherThanNoteOrMsChangeNothing) {
    parameter("delayMs").setValue(200);
    settings().updateDependentValues(A::delayType, 0); // the type a new editor starts from
    settings().updateDependentValues(A::delayType, 0.5f);
    settings().updateDependentValues(A::delayMs, 1);
    EXPECT_EQ(kernelValue("delayNote"), rawValue(DelayNoteDivision::dottedEighth));
    EXPECT_EQ(kernelValue("delayMs"), 200);
}

TEST(SettingsMeters, DecibelsMapToZeroToHundred) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> cases[] = {{-80, 0}, {-70, 0}, {-60, 0}, {-30, 50},
                                               {0, 100}, {3, 100}, {nan, 0}};
    for (auto [decibels, level] : cases)
        EXPECT_DOUBLE_EQ(Settings::meterLevel(decibels), level) << decibels;
}

// The tick reads meters when the kernel published some, and drops them to zero once
// more than 0.25 s passed without.
TEST_F(SettingsTest, MetersFollowTheKernelAndTimeOut) {
    DSPKernel& kernel = unit->dspKernel();
    auto publish = [&](float decibels) {
        for (int c = 0; c < 2; ++c) {
            kernel.inLevelDb[c] = decibels;
            kernel.outLevelDb[c] = decibels;
            kernel.inHoldDb[c] = decibels;
            kernel.outHoldDb[c] = decibels;
        }
        kernel.meterIsStereo = 0;
        kernel.metersUpdated.fetch_or(1, std::memory_order_release);
    };
    publish(-30);
    RunLoop::main().run(1.0 / 60.0 + 1e-6);
    EXPECT_DOUBLE_EQ(settings().inLevelL.get(), 50);
    EXPECT_DOUBLE_EQ(settings().outHoldR.get(), 50);
    EXPECT_FALSE(settings().isMeterStereo.get());

    // Meters that keep arriving never time out.
    for (int i = 0; i < 30; ++i) {
        publish(-6);
        RunLoop::main().run(1.0 / 60.0);
    }
    EXPECT_DOUBLE_EQ(settings().outLevelL.get(), 90);

    RunLoop::main().run(0.2);
    EXPECT_DOUBLE_EQ(settings().outLevelL.get(), 90) << "0.2 s without meters";
    RunLoop::main().run(0.1);
    EXPECT_DOUBLE_EQ(settings().outLevelL.get(), 0) << "0.3 s without meters";
    EXPECT_DOUBLE_EQ(settings().inHoldR.get(), 0);
    EXPECT_FALSE(settings().isMeterStereo.get()) << "kept on timeout";
}

// Each of the eight meters reads its own kernel value, and the tick goes on while the
// run loop tracks a gesture or an open menu.
TEST_F(SettingsTest, EachMeterReadsItsOwnKernelValueAlsoWhileTracking) {
    DSPKernel& kernel = unit->dspKernel();
    kernel.inLevelDb[0] = -6;
    kernel.inLevelDb[1] = -12;
    kernel.outLevelDb[0] = -18;
    kernel.outLevelDb[1] = -24;
    kernel.inHoldDb[0] = -30;
    kernel.inHoldDb[1] = -36;
    kernel.outHoldDb[0] = -42;
    kernel.outHoldDb[1] = -48;
    kernel.metersUpdated.fetch_or(1, std::memory_order_release);
    RunLoop::main().run(1.0 / 60.0 + 1e-6, RunLoop::Mode::eventTracking);
    Settings& s = settings();
    const std::pair<const Observed<double>*, double> meters[] = {
        {&s.inLevelL, 90}, {&s.inLevelR, 80}, {&s.outLevelL, 70}, {&s.outLevelR, 60},
        {&s.inHoldL, 50},  {&s.inHoldR, 40},  {&s.outHoldL, 30},  {&s.outHoldR, 20}};
    for (std::size_t i = 0; i < std::size(meters); ++i)
        EXPECT_NEAR(meters[i].first->get(), meters[i].second, 1e-9) << "meter " << i;
}

TEST_F(SettingsTest, ConfiguringTwiceLeavesOnePollTimer) {
    auto first = settings().pollTimer();
    ASSERT_TRUE(first && first->isValid());
    settings().configureAudioUnit(unit);
    auto second = settings().pollTimer();
    EXPECT_FALSE(first->isValid());
    ASSERT_TRUE(second && second->isValid());
    EXPECT_NE(first, second);
    int ticks = 0;
    // Count firings: only the live timer ticks.
    unit->setOnParamValueUpdate([&](AUParameterAddress, AUValue) { ++ticks; });
    RunLoop::main().run(0.1);
    EXPECT_EQ(ticks, 0) << "no render events, no echoes";
}

TEST_F(SettingsTest, ValueProviderReadsTheKernel) {
    unit->dspKernel().setParameter(A::feedback, 77);
    EXPECT_EQ(parameter("feedback").value(), 77);
    std::weak_ptr<EmberfallAudioUnit> weak = unit;
    auto tree = unit->parameterTree();
    controller.reset();
    unit.reset();
    ASSERT_TRUE(weak.expired());
    EXPECT_EQ(tree->parameter(A::modRate)->value(), tree->parameter(A::modRate)->minValue())
        << "the unit is gone";
}

// ---- Presets ----

TEST_F(SettingsTest, ApplyingAPresetWritesItAndRecordsItsId) {
    struct Case {
        const char* id;
        float delayType;
        const char* delayIdentifier;
        float delayValue;
    };
    const Case cases[] = {
        {"Echo-Dotted Line", 0, "delayNote", rawValue(DelayNoteDivision::dottedEighth)},
        {"Slapback-Sun Room", 1, "delayMs", 120},
        {"Runaway-Self Portrait", 0, "delayNote", rawValue(DelayNoteDivision::quarterTriplet)},
    };
    for (const Case& c : cases) {
        const FactoryPreset* preset = nullptr;
        for (const auto& p : settings().factoryPresets)
            if (p.id() == c.id)
                preset = &p;
        ASSERT_NE(preset, nullptr);
        settings().applyFactoryPreset(*preset);
        EXPECT_TRUE(settings().isApplyingPreset.get());
        EXPECT_FALSE(settings().isPresetModified()) << "while applying";
        drainMainQueue();
        EXPECT_FALSE(settings().isApplyingPreset.get());
        EXPECT_EQ(settings().currentPreset()->id(), c.id);
        EXPECT_EQ(unit->currentPresetId(), c.id);
        EXPECT_FALSE(settings().isPresetModified()) << c.id;
        EXPECT_EQ(kernelValue("delayType"), c.delayType) << c.id;
        EXPECT_EQ(kernelValue(c.delayIdentifier), c.delayValue) << c.id;
        EXPECT_EQ(kernelValue("feedback"), preset->feedback) << c.id;
        EXPECT_EQ(kernelValue("model"), rawValue(preset->model)) << c.id;
    }
}

TEST_F(SettingsTest, AnyComparedChangeModifiesThePreset) {
    const FactoryPreset sunRoom = settings().factoryPresets[11]; // an ms preset
    ASSERT_EQ(sunRoom.id(), "Slapback-Sun Room");
    struct Case {
        AudioParameter* parameter;
        bool modifies;
    };
    Settings& s = settings();
    const Case cases[] = {
        {s.mix.get(), true},
        {s.feedback.get(), true},
        {s.delayMs.get(), true},
        {s.delayNote.get(), false}, // not compared for an ms preset
        {s.modulationDepth.get(), true},
        {s.modulationRate.get(), true},
        {s.lfoType.get(), true},
        {s.width.get(), true},
        {s.spread.get(), true},
        {s.lowCut.get(), true},
        {s.highCut.get(), true},
        {s.model.get(), true},
        {s.dirt.get(), true},
        {s.delayType.get(), true},
    };
    for (const Case& c : cases) {
        s.applyFactoryPreset(sunRoom);
        drainMainQueue();
        ASSERT_FALSE(s.isPresetModified());
        const float v = c.parameter->value.get();
        const ValueRange range = c.parameter->valueRange;
        const float nudged = v < range.upperBound ? std::nextafter(v, range.upperBound)
                                                  : std::nextafter(v, range.lowerBound);
        c.parameter->setValue(c.parameter->isIndexed() ? (v >= 1 ? v - 1 : v + 1) : nudged,
                              ParameterEditor::ui, ParameterEditorState::change);
        drainMainQueue();
        EXPECT_EQ(s.isPresetModified(), c.modifies) << c.parameter->identifier;
    }
}

TEST_F(SettingsTest, SteppingWrapsAtBothEnds) {
    Settings& s = settings();
    const int last = static_cast<int>(s.factoryPresets.size()) - 1;
    struct Case {
        std::optional<int> from;
        bool next;
        int to;
    };
    const Case cases[] = {{std::nullopt, true, 0},
                          {std::nullopt, false, last},
                          {last, true, 0},
                          {0, false, last},
                          {5, true, 6},
                          {5, false, 4}};
    for (const Case& c : cases) {
        s.currentPresetIndex.set(c.from);
        c.next ? s.selectNextPreset() : s.selectPreviousPreset();
        drainMainQueue();
        EXPECT_EQ(s.currentPresetIndex.get(), c.to);
        EXPECT_EQ(unit->currentPresetId(), s.factoryPresets[c.to].id());
    }
}

TEST_F(SettingsTest, SelectingByIdWritesNoParameter) {
    Settings& s = settings();
    parameter("feedback").setValue(12);
    s.selectPresetById("Flanger-Turbine");
    EXPECT_EQ(s.currentPreset()->id(), "Flanger-Turbine");
    EXPECT_EQ(kernelValue("feedback"), 12);
    s.selectPresetById("");
    EXPECT_EQ(s.currentPreset()->id(), "Default-Default");
    s.selectPresetById("Echo-No Such Preset");
    EXPECT_FALSE(s.currentPreset());
    EXPECT_FALSE(s.isPresetModified());
}

// The editor's operations touch main-thread state: called from another thread
// they end the program with a message instead of racing with the views.
TEST_F(SettingsTest, EditorOperationsEndTheProgramOffTheMainThread) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    const FactoryPreset& preset = settings().factoryPresets.at(3);
    const std::pair<const char*, std::function<void(Settings&)>> operations[] = {
        {"apply", [&](Settings& s) { s.applyFactoryPreset(preset); }},
        {"next", [](Settings& s) { s.selectNextPreset(); }},
        {"previous", [](Settings& s) { s.selectPreviousPreset(); }},
        {"select", [](Settings& s) { s.selectPresetById("Echo-Dotted Line"); }},
        {"meters", [](Settings& s) { s.updateMeters(); }},
        {"echo", [](Settings& s) { s.applyRenderEcho(ParameterAddress::mix, 50); }},
    };
    for (const auto& [what, operation] : operations)
        EXPECT_DEATH(std::thread([&] { operation(settings()); }).join(), "main thread") << what;
}

// A new view model, before any unit: the Default preset current, no meters, two
// channels, no update notice, every factory preset to step through.
TEST(SettingsEditor, ANewViewModelStartsAtTheDefaultPreset) {
    RunLoopTestScope scope;
    auto settings = Settings::create();
    EXPECT_EQ(settings->currentPresetIndex.get(), 0);
    EXPECT_EQ(settings->currentPreset()->id(), "Default-Default");
    EXPECT_FALSE(settings->isApplyingPreset.get());
    EXPECT_FALSE(settings->isPresetModified());
    EXPECT_TRUE(settings->isMeterStereo.get());
    EXPECT_EQ(settings->inLevelL.get(), 0);
    EXPECT_EQ(settings->outHoldR.get(), 0);
    EXPECT_FALSE(settings->updateDetails.get());
    EXPECT_FALSE(settings->pollTimer());
    EXPECT_FALSE(settings->emberfallAudioUnit());
    ASSERT_EQ(settings->factoryPresets.size(), allFactoryPresets().size());
    for (std::size_t i = 0; i < settings->factoryPresets.size(); ++i)
        EXPECT_EQ(settings->factoryPresets[i].id(), allFactoryPresets()[i].id()) << i;
}

TEST(SettingsEditor, ARestoredPresetIdShowsWhenTheEditorIsConfigured) {
    RunLoopTestScope scope;
    auto unit = AUAudioUnit::instantiate<EmberfallAudioUnit>(emberfallDescription, 0);
    unit->setCurrentPresetId("Vibrato-Seasick");
    auto settings = Settings::create();
    settings->configureAudioUnit(unit);
    EXPECT_EQ(settings->currentPreset()->id(), "Vibrato-Seasick");
}

// ---- Update check ----

class VersionedSettings : public Settings {
  public:
    std::string version;
    std::string pluginVersion() const override { return version; }
};

TEST(SettingsUpdate, AnnouncesOnlyANewerVersion) {
    auto feed = [](const char* version) {
        return std::string("<rss><channel><item><sparkle:shortVersionString>") + version +
               "</sparkle:shortVersionString></item></channel></rss>";
    };
    struct Case {
        const char* what;
        const char* running;
        std::optional<std::string> body; // none: the download fails
        std::optional<std::string> announced;
    };
    const Case cases[] = {
        {"newer", "1.2.0", feed("1.3.0"), "1.3.0"},
        {"equal", "1.3.0", feed("1.3.0"), std::nullopt},
        {"older", "2.0", feed("1.3.0"), std::nullopt},
        {"unknown running version", "Unknown", feed("1.3.0"), std::nullopt},
        {"malformed feed", "1.0", std::string("<rss><item><sparkle:short"), std::nullopt},
        {"feed without versions", "1.0", std::string("<rss/>"), std::nullopt},
        {"failed download", "1.0", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        RunLoopTestScope scope;
        auto settings = std::shared_ptr<VersionedSettings>(new VersionedSettings());
        settings->version = c.running;
        std::atomic<bool> downloaded{false};
        settings->setUpdateFeed(URL::string("https://updates.invalid/emberfall/emberfall.xml"),
                                [&](const URL&) -> std::optional<Data> {
                                    downloaded = true;
                                    if (!c.body)
                                        return std::nullopt;
                                    return dataFromString(*c.body);
                                });
        settings->checkForUpdate();
        if (std::string(c.running) != "Unknown")
            RunLoop::main().runUntil([&] { return downloaded.load(); }, 60);
        // The result, if any, is handed to the main queue: an announcement is waited for
        // as long as a loaded machine may need; its absence a short while.
        RunLoop::main().runUntil([&] { return settings->updateDetails.get().has_value(); },
                                 c.announced ? 60 : 0.2);
        std::optional<std::string> shown;
        if (settings->updateDetails.get())
            shown = settings->updateDetails.get()->newVersion;
        EXPECT_EQ(shown, c.announced) << c.what;
    }
}

// Configuring the editor starts the check once, on its own.
TEST(SettingsUpdate, ConfiguringTheEditorChecksForAnUpdate) {
    RunLoopTestScope scope;
    auto settings = std::shared_ptr<VersionedSettings>(new VersionedSettings());
    settings->version = "1.0";
    std::atomic<int> downloads{0};
    settings->setUpdateFeed(URL::string("https://updates.invalid/emberfall/emberfall.xml"),
                            [&](const URL&) -> std::optional<Data> {
                                ++downloads;
                                return dataFromString("<rss><channel><item><sparkle:"
                                                      "shortVersionString>1.1</sparkle:"
                                                      "shortVersionString></item></channel></rss>");
                            });
    auto unit = AUAudioUnit::instantiate<EmberfallAudioUnit>(emberfallDescription, 0);
    settings->configureAudioUnit(unit);
    EXPECT_TRUE(
        RunLoop::main().runUntil([&] { return settings->updateDetails.get().has_value(); }, 60));
    EXPECT_EQ(downloads.load(), 1);
    EXPECT_EQ(settings->updateDetails.get()->newVersion, "1.1");
}

} // namespace

namespace {

// A knob's drag reaches the host as touch, values and release, and the kernel.
TEST_F(SettingsTest, EditorGesturesReachTheHostAsTouchValueRelease) {
    std::vector<AUParameterAutomationEvent> recorded;
    auto tree = unit->parameterTree();
    AUParameterObserverToken token = tree->tokenByAddingParameterAutomationObserver(
        [&](const AUParameterAutomationEvent& event) { recorded.push_back(event); });
    using S = ParameterEditorState;
    settings().feedback->setValue(50, ParameterEditor::ui, S::beginInteractive);
    settings().feedback->setValue(60, ParameterEditor::ui, S::change);
    settings().feedback->setValue(60, ParameterEditor::ui, S::change); // equal: not passed on
    settings().feedback->setValue(70, ParameterEditor::ui, S::change);
    settings().feedback->setValue(70, ParameterEditor::ui, S::endInteractive);
    tree->removeParameterObserver(token);
    using E = AUParameterAutomationEventType;
    const std::pair<E, float> expected[] = {
        {E::touch, 50}, {E::value, 60}, {E::value, 70}, {E::release, 70}};
    ASSERT_EQ(recorded.size(), std::size(expected));
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].eventType, expected[i].first) << i;
        EXPECT_EQ(recorded[i].value, expected[i].second) << i;
    }
    EXPECT_EQ(kernelValue("feedback"), 70);
}

} // namespace
