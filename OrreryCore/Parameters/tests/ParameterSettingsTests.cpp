#include "Parameters/ParameterSettings.h"

#include "Foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {

using Unit = AudioUnitParameterUnit;
using Source = ParameterEditor;
using State = ParameterEditorState;
using Event = AUParameterAutomationEventType;

void drainMainQueue() {
    RunLoop::main().runUntilIdle();
}

struct FakeUnit : OrreryAudioUnit {
    std::vector<std::pair<AUParameterAddress, AUValue>> received;
    std::shared_ptr<AUParameterTree> tree;
    void setParameter(AUParameterAddress address, AUValue value) override {
        received.emplace_back(address, value);
    }
    std::shared_ptr<AUParameterTree> parameterTree() const override { return tree; }
    void setParameterTree(std::shared_ptr<AUParameterTree> t) override { tree = std::move(t); }
};

// A settings object over three parameters, in the list order type, delay, shape.
struct TestSettings : ParameterSettings {
    TestSettings() {
        setupParameters({
            AudioParameter::create(11, "delayType", "Delay Type", Unit::indexed, {0, 1}, 0,
                                   ValueIncrement::linear(), std::vector<std::string>{"NOTE", "MS"},
                                   std::vector<AUParameterAddress>{2}),
            AudioParameter::create(2, "delayMs", "Delay MS", Unit::milliseconds, {1, 5000}, 375,
                                   ValueIncrement::logarithmic(100)),
            AudioParameter::create(5, "lfoType", "Shape", Unit::indexed, {0, 3}, 0,
                                   ValueIncrement::linear(),
                                   std::vector<std::string>{"TRI", "SIN", "SQR", "RND"}),
        });
    }
    std::vector<std::pair<AUParameterAddress, AUValue>> dependentCalls;
    void updateDependentValues(AUParameterAddress address, AUValue value) override {
        dependentCalls.emplace_back(address, value);
    }
    AudioParameter& param(std::size_t i) const { return *parameters().at(i); }
};

// Settings bound to a unit, listening, with the configuration push forgotten.
struct BoundSettings : ::testing::Test {
    std::shared_ptr<TestSettings> settings;
    std::shared_ptr<FakeUnit> unit;
    void SetUp() override { wire(); }
    void wire() {
        settings = std::make_shared<TestSettings>();
        unit = std::make_shared<FakeUnit>();
        settings->configureAudioUnit(unit);
        settings->setupParameterTreeListeners();
        unit->received.clear();
    }
};

using Received = std::vector<std::pair<AUParameterAddress, AUValue>>;

TEST(ParameterSettingsConfigure, BuildsTheTreeAndPushesValuesInListOrder) {
    auto settings = std::make_shared<TestSettings>();
    auto unit = std::make_shared<FakeUnit>();
    EXPECT_EQ(settings->audioUnit(), nullptr);
    settings->configureAudioUnit(unit);
    EXPECT_EQ(settings->audioUnit(), unit);
    ASSERT_NE(unit->tree, nullptr);
    ASSERT_EQ(unit->tree->children().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(unit->tree->children()[i], settings->param(i).auParameter);
    EXPECT_EQ(unit->received, (Received{{11, 0}, {2, 375}, {5, 0}}));

    // What is pushed is each parameter's current value, not its default.
    auto moved = std::make_shared<TestSettings>();
    moved->param(1).value.set(820);
    moved->param(2).value.set(3);
    auto second = std::make_shared<FakeUnit>();
    moved->configureAudioUnit(second);
    EXPECT_EQ(second->received, (Received{{11, 0}, {2, 820}, {5, 3}}));
    EXPECT_FALSE(unit->tree->hasImplementorValueObserver()) << "listeners come later";

    // The unit is held weakly.
    unit.reset();
    EXPECT_EQ(settings->audioUnit(), nullptr);
}

TEST(ParameterSettingsConfigure, EmptyListGivesAnEmptyTreeAndPushesNothing) {
    auto settings = std::make_shared<ParameterSettings>();
    auto unit = std::make_shared<FakeUnit>();
    settings->configureAudioUnit(unit);
    ASSERT_NE(unit->tree, nullptr);
    EXPECT_TRUE(unit->tree->children().empty());
    EXPECT_TRUE(unit->received.empty());
}

TEST(ParameterSettingsConfigure, SetupParametersReplacesTheList) {
    auto settings = std::make_shared<TestSettings>();
    auto kept = settings->parameters().at(2);
    settings->setupParameters({kept});
    auto unit = std::make_shared<FakeUnit>();
    settings->configureAudioUnit(unit);
    ASSERT_EQ(unit->tree->children().size(), 1u);
    EXPECT_EQ(unit->tree->children()[0], kept->auParameter);
    EXPECT_EQ(unit->received, (Received{{5, 0}}));
}

TEST(ParameterSettingsConfigure, ListenersNeedALiveUnitWithATree) {
    auto settings = std::make_shared<TestSettings>();
    settings->setupParameterTreeListeners(); // no unit: nothing to do, no crash
    auto unit = std::make_shared<FakeUnit>();
    settings->configureAudioUnit(unit);
    auto tree = unit->tree;
    unit->tree.reset();
    settings->setupParameterTreeListeners();
    EXPECT_FALSE(tree->hasImplementorValueObserver());
    unit->tree = tree;
    settings->setupParameterTreeListeners();
    EXPECT_TRUE(tree->hasImplementorValueObserver());
    EXPECT_TRUE(tree->hasImplementorStringFromValueCallback());
    EXPECT_TRUE(tree->hasImplementorValueFromStringCallback());
}

TEST_F(BoundSettings, RoutesAddressesToParameterDependentsAndUnit) {
    struct Case {
        AUParameterAddress address;
        AUValue value;
        Received unitGets;
        float delayMsShown;
        Received dependentCalls;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case& c : std::vector<Case>{
             // unclamped to the unit, clamped in the mirror
             {2, 6000, {{2, 6000}}, 5000, {}},
             // an address no parameter has still reaches the unit
             {42, 3, {{42, 3}}, 375, {}},
             // a parameter with dependents calls the hook with the value as received
             {11, 1.5f, {{11, 1.5f}}, 375, {{11, 1.5f}}},
             // non-finite values never reach the unit; the mirror clamps them
             {2, nan, {}, 1, {}},
             {2, inf, {}, 5000, {}},
             {2, -inf, {}, 1, {}},
             {42, nan, {}, 375, {}},
         }) {
        wire();
        SCOPED_TRACE(std::to_string(c.address) + " " + std::to_string(c.value));
        settings->setValue(c.value, c.address, Source::parameterObserver);
        EXPECT_EQ(unit->received, c.unitGets);
        EXPECT_EQ(settings->dependentCalls, c.dependentCalls);
        drainMainQueue();
        EXPECT_EQ(settings->param(1).value.get(), c.delayMsShown);
    }
}

TEST(ParameterSettingsRouting, OnlyTheFirstParameterOfAnAddressIsWritten) {
    struct Twins : ParameterSettings {
        Twins() {
            for (int i = 0; i < 2; ++i)
                both.push_back(AudioParameter::create(
                    11, "delayType", "Delay Type", Unit::indexed, {0, 1}, 0,
                    ValueIncrement::linear(), std::nullopt, std::vector<AUParameterAddress>{2}));
            setupParameters(both);
        }
        std::vector<std::shared_ptr<AudioParameter>> both;
        int dependentCalls = 0;
        void updateDependentValues(AUParameterAddress, AUValue) override { ++dependentCalls; }
    };
    auto twins = std::make_shared<Twins>();
    auto unit = std::make_shared<FakeUnit>();
    twins->configureAudioUnit(unit);
    unit->received.clear();
    twins->setValue(1, 11, Source::parameterObserver);
    drainMainQueue();
    EXPECT_EQ(twins->both[0]->value.get(), 1.0f);
    EXPECT_EQ(twins->both[1]->value.get(), 0.0f) << "the search stops at the first match";
    EXPECT_EQ(twins->dependentCalls, 1);
    EXPECT_EQ(unit->received, (Received{{11, 1}}));
}

TEST_F(BoundSettings, ControlGestureReachesUnitAndIsRecordedByTheHost) {
    std::vector<AUParameterAutomationEvent> recorded;
    auto token = unit->tree->tokenByAddingParameterAutomationObserver(
        [&](const AUParameterAutomationEvent& e) { recorded.push_back(e); });

    AudioParameter& delay = settings->param(1);
    delay.isBeingInteractivelyEdited.set(true);
    delay.setValue(400, Source::ui, State::beginInteractive);
    delay.setValue(450, Source::ui, State::change);
    delay.setValue(450, Source::ui, State::change); // equal: dropped
    delay.setValue(500, Source::ui, State::change);
    delay.setValue(500, Source::ui, State::endInteractive);
    delay.isBeingInteractivelyEdited.set(false);

    const std::vector<std::pair<Event, AUValue>> expected{
        {Event::touch, 400}, {Event::value, 450}, {Event::value, 500}, {Event::release, 500}};
    ASSERT_EQ(recorded.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(recorded[i].eventType, expected[i].first);
        EXPECT_EQ(recorded[i].value, expected[i].second);
        EXPECT_EQ(recorded[i].address, 2u);
    }
    // Each host write came back through the tree's observer and reached the kernel.
    EXPECT_EQ(unit->received, (Received{{2, 400}, {2, 450}, {2, 500}, {2, 500}}));
    drainMainQueue();
    EXPECT_EQ(delay.value.get(), 500.0f);

    // Removed, the host observer hears no more.
    unit->tree->removeParameterObserver(token);
    delay.setValue(600, Source::ui, State::change);
    EXPECT_EQ(recorded.size(), expected.size());
}

TEST_F(BoundSettings, AValueRoutedFromTheEditorIsOneHostChange) {
    std::vector<AUParameterAutomationEvent> recorded;
    auto token = unit->tree->tokenByAddingParameterAutomationObserver(
        [&](const AUParameterAutomationEvent& e) { recorded.push_back(e); });
    settings->setValue(450, 2, Source::ui);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].eventType, Event::value);
    EXPECT_EQ(recorded[0].value, 450);
    // Once back through the tree's observer, once directly.
    EXPECT_EQ(unit->received, (Received{{2, 450}, {2, 450}}));
    drainMainQueue();
    EXPECT_EQ(settings->param(1).value.get(), 450.0f);
    unit->tree->removeParameterObserver(token);
}

TEST_F(BoundSettings, HostWriteThroughTheTreeReachesKernelAndMirror) {
    unit->tree->parameter(std::string("lfoType"))->setValue(2);
    EXPECT_EQ(unit->received, (Received{{5, 2}}));
    EXPECT_EQ(settings->param(2).value.get(), 0.0f);
    drainMainQueue();
    EXPECT_EQ(settings->param(2).value.get(), 2.0f);
}

TEST_F(BoundSettings, LapsedObjectsAreNotReached) {
    // Unit gone: parameters still follow, nothing else is reached.
    auto tree = unit->tree;
    unit.reset();
    settings->setValue(700, 2, Source::parameterObserver);
    drainMainQueue();
    EXPECT_EQ(settings->param(1).value.get(), 700.0f);

    // Settings gone: the tree's observer holds it weakly and does nothing.
    std::weak_ptr<TestSettings> weak = settings;
    settings.reset();
    EXPECT_TRUE(weak.expired()) << "the tree does not keep the settings alive";
    tree->parameter(AUParameterAddress{2})->setValue(800);
    drainMainQueue();
}

TEST_F(BoundSettings, HostTextOfValues) {
    auto shape = unit->tree->parameter(AUParameterAddress{5}); // four strings
    auto delay = unit->tree->parameter(AUParameterAddress{2}); // none
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        std::shared_ptr<AUParameter> param;
        std::optional<float> value;
        std::string text;
    };
    for (const Case& c : std::vector<Case>{
             {shape, 1.7f, "SIN"},
             {shape, -0.5f, "TRI"}, // truncation toward zero
             {shape, 3.99f, "RND"},
             {shape, 7, "7"},
             {shape, -1, "-1"},
             {shape, 1e20f, "100000002004087734272"},
             {shape, inf, "inf"},
             {shape, -inf, "-inf"},
             {shape, nan, "-"},
             {delay, 2.5f, "2"},
             {delay, 2.7f, "3"},
             {delay, std::nullopt, "-"},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.param->string(c.value ? &*c.value : nullptr), c.text);
    }
}

TEST_F(BoundSettings, HostTextToValue) {
    auto delay = unit->tree->parameter(AUParameterAddress{2});
    struct Case {
        std::string text;
        float value;
    };
    for (const Case& c : std::vector<Case>{
             {"12.5", 12.5f},
             {"-2", -2},
             {"+4", 4},
             {"1e3", 1000},
             {".5", 0.5f},
             {"abc", 0},
             {" 3", 0},
             {"3 ", 0},
             {"", 0},
             {"1,5", 0},
             {"+-1", 0},
             {"nan", 0},
             {"inf", 0},
             {"-infinity", 0},
             {"1e40", 0},
             {"-1e40", 0},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(delay->value(c.text), c.value);
    }
}

TEST(ParameterSettingsHash, SignOfZeroDoesNotMatterButValuesAndExtrasDo) {
    struct Extra : TestSettings {
        void hashAdditionalValues(Hasher& hasher) const override {
            hasher.combine(std::int64_t{7});
        }
    };
    auto make = [](float delay, bool extra) -> std::shared_ptr<TestSettings> {
        auto s = extra ? std::make_shared<Extra>() : std::make_shared<TestSettings>();
        s->param(1).value.set(delay);
        return s;
    };
    EXPECT_EQ(make(0.0f, false)->paramsHash(), make(-0.0f, false)->paramsHash());
    EXPECT_EQ(make(375, false)->paramsHash(), make(375, false)->paramsHash());
    EXPECT_NE(make(375, false)->paramsHash(), make(376, false)->paramsHash());
    EXPECT_NE(make(375, false)->paramsHash(), make(375, true)->paramsHash());

    // Values as floats in list order, then the subclass's extras.
    auto settings = make(375, true);
    settings->param(2).value.set(2);
    Hasher expected;
    expected.combine(0.0f);
    expected.combine(375.0f);
    expected.combine(2.0f);
    expected.combine(std::int64_t{7});
    EXPECT_EQ(settings->paramsHash(), expected.finalize());
}

TEST(ParameterSettingsVersion, ShortVersionOfTheBundle) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("orrery-version-" + std::to_string(::getpid()));
    auto bundleWith = [&](const std::string& name, const std::string& entry) {
        const fs::path dir = root / (name + ".appex");
        fs::create_directories(dir / "Contents");
        std::ofstream(dir / "Contents" / "Info.plist")
            << "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>" << entry << "</dict></plist>";
        return Bundle::atPath(dir.string());
    };
    struct Case {
        std::string name, entry, version;
    };
    for (const Case& c : std::vector<Case>{
             {"string", "<key>CFBundleShortVersionString</key><string>1.4.2</string>", "1.4.2"},
             {"number", "<key>CFBundleShortVersionString</key><integer>3</integer>", "Unknown"},
             {"absent", "<key>CFBundleVersion</key><string>9</string>", "Unknown"},
         }) {
        auto bundle = bundleWith(c.name, c.entry);
        ASSERT_NE(bundle, nullptr);
        EXPECT_EQ(ParameterSettings::shortVersion(bundle.get()), c.version) << c.name;
    }
    EXPECT_EQ(ParameterSettings::shortVersion(nullptr), "Unknown");
    // The test program's own folder has no info dictionary.
    EXPECT_EQ(ParameterSettings().pluginVersion(), "Unknown");
    fs::remove_all(root);
}

} // namespace
