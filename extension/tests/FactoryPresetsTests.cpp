#include "FactoryPresets.h"
#include "ParameterDefinitions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(FactoryPresets, ListStartsWithDefaultThenSixStylesOfTen) {
    const auto& all = allFactoryPresets();
    ASSERT_EQ(all.size(), 61u);
    EXPECT_EQ(all.front().id(), "Default-Default");
    EXPECT_EQ(all[1].id(), "Echo-Quarter Master");
    EXPECT_EQ(all.back().id(), "Runaway-Singing Emberfall");

    std::set<std::string> ids;
    for (const auto& preset : all)
        ids.insert(preset.id());
    EXPECT_EQ(ids.size(), all.size()) << "ids must be distinct";

    const auto& groups = factoryPresetGroups();
    const char* styles[] = {"Echo", "Slapback", "Chorus", "Flanger", "Vibrato", "Runaway"};
    ASSERT_EQ(groups.size(), 6u);
    std::size_t next = 1;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        EXPECT_EQ(groups[g].id(), styles[g]);
        ASSERT_EQ(groups[g].presets.size(), 10u);
        for (const auto& preset : groups[g].presets) {
            EXPECT_EQ(preset.style, styles[g]);
            EXPECT_EQ(preset.id(), all[next++].id()) << "groups keep list order";
        }
    }
}

TEST(FactoryPresets, DefaultPresetValues) {
    const FactoryPreset& d = defaultFactoryPreset();
    EXPECT_EQ(d.mix, 30);
    EXPECT_EQ(d.feedback, 45);
    EXPECT_EQ(d.delayType, DelayTimeType::note);
    EXPECT_EQ(d.delayNote, DelayNoteDivision::dottedEighth);
    EXPECT_EQ(d.delayMs, 375);
    EXPECT_EQ(d.modulationDepth, 0);
    EXPECT_EQ(d.modulationRate, 0.01f);
    EXPECT_EQ(d.lfoType, ModulationLFOType::triangle);
    EXPECT_EQ(d.width, 100);
    EXPECT_EQ(d.spread, 0);
    EXPECT_EQ(d.lowCut, 20);
    EXPECT_EQ(d.highCut, 20000);
    EXPECT_EQ(d.model, DelayModel::bbd1);
    EXPECT_EQ(d.dirt, 0);
}

// Each preset value must be one its parameter accepts, note presets carry their
// division's time at 120 BPM and ms presets carry the quarter note.
TEST(FactoryPresets, EveryValueLiesInItsParameterRange) {
    auto inRange = [](std::uint64_t address, float value) {
        const ParameterDefinition* p = parameterDefinition(address);
        return p && value >= p->minimum && value <= p->maximum;
    };
    namespace A = ParameterAddress;
    for (const auto& p : allFactoryPresets()) {
        SCOPED_TRACE(p.id());
        EXPECT_TRUE(inRange(A::mix, p.mix));
        EXPECT_TRUE(inRange(A::feedback, p.feedback));
        EXPECT_TRUE(inRange(A::delayMs, p.delayMs));
        EXPECT_TRUE(inRange(A::modDepth, p.modulationDepth));
        EXPECT_TRUE(inRange(A::modRate, p.modulationRate));
        EXPECT_TRUE(inRange(A::width, p.width));
        EXPECT_TRUE(inRange(A::spread, p.spread));
        EXPECT_TRUE(inRange(A::lowCut, p.lowCut));
        EXPECT_TRUE(inRange(A::highCut, p.highCut));
        EXPECT_TRUE(inRange(A::dirt, p.dirt));
        EXPECT_LT(p.lowCut, p.highCut);
        if (p.delayType == DelayTimeType::note)
            EXPECT_EQ(p.delayMs, milliseconds(p.delayNote, 120.0f));
        else
            EXPECT_EQ(p.delayNote, DelayNoteDivision::quarter);
    }
}

TEST(FactoryPresets, SampledRowsMatchTheirTable) {
    struct Case {
        const char* id;
        DelayTimeType type;
        DelayNoteDivision note;
        float delayMs, feedback, width, highCut;
        ModulationLFOType lfo;
        DelayModel model;
    };
    using N = DelayNoteDivision;
    using L = ModulationLFOType;
    using M = DelayModel;
    const Case cases[] = {
        {"Echo-Triplet Trouble", DelayTimeType::note, N::eighthTriplet,
         0.5f * 0.6666667f * 60000 / 120, 38, 110, 6500, L::smoothRandom, M::pt1},
        {"Slapback-Tight Tuck", DelayTimeType::ms, N::quarter, 62, 0, 100, 9000, L::sine, M::pt2},
        {"Flanger-Comb Over", DelayTimeType::ms, N::quarter, 6, 55, 120, 20000, L::square, M::pt2},
        {"Runaway-Self Portrait", DelayTimeType::note, N::quarterTriplet, 0.6666667f * 500, 98, 130,
         3600, L::sine, M::pt1},
        {"Runaway-Oscillator Down", DelayTimeType::ms, N::quarter, 2000, 115, 155, 2200, L::sine,
         M::bbd2},
    };
    for (const Case& c : cases) {
        const FactoryPreset* found = nullptr;
        for (const auto& p : allFactoryPresets())
            if (p.id() == c.id)
                found = &p;
        ASSERT_NE(found, nullptr) << c.id;
        EXPECT_EQ(found->delayType, c.type) << c.id;
        EXPECT_EQ(found->delayNote, c.note) << c.id;
        EXPECT_EQ(found->delayMs, c.delayMs) << c.id;
        EXPECT_EQ(found->feedback, c.feedback) << c.id;
        EXPECT_EQ(found->width, c.width) << c.id;
        EXPECT_EQ(found->highCut, c.highCut) << c.id;
        EXPECT_EQ(found->lfoType, c.lfo) << c.id;
        EXPECT_EQ(found->model, c.model) << c.id;
    }
    EXPECT_FLOAT_EQ(allFactoryPresets()[4].delayMs, 166.66667f);
}

// Every factory preset, in list order, with every value it carries: a host's saved
// projects recall them by id, and users know them by ear.
TEST(FactoryPresets, EveryPresetCarriesItsValuesInListOrder) {
    using T = DelayTimeType;
    using N = DelayNoteDivision;
    using L = ModulationLFOType;
    using M = DelayModel;
    struct Row {
        const char* name;
        const char* style;
        float mix, feedback;
        DelayTimeType delayType;
        DelayNoteDivision delayNote;
        float delayMs, modulationDepth, modulationRate;
        ModulationLFOType lfoType;
        float width, spread, lowCut, highCut;
        DelayModel model;
    };
    const Row rows[] = {
        {"Quarter Master", "Echo", 35, 45, T::note, N::quarter, 500, 1.5f, 0.3f, L::smoothRandom,
         120, 6, 150, 5000, M::bbd1},
        {"Eighth Wonder", "Echo", 32, 40, T::note, N::eighth, 250, 1, 0.35f, L::smoothRandom, 115,
         4, 180, 6000, M::bbd1},
        {"Dotted Line", "Echo", 38, 52, T::note, N::dottedEighth, 375, 1.5f, 0.25f, L::smoothRandom,
         130, 8, 200, 4500, M::bbd2},
        {"Triplet Trouble", "Echo", 30, 38, T::note, N::eighthTriplet, 166.66667f, 1, 0.4f,
         L::smoothRandom, 110, 3, 160, 6500, M::pt1},
        {"Sixteenth Chapel", "Echo", 28, 32, T::note, N::sixteenth, 125, 0, 0.5f, L::sine, 105, 2,
         200, 7000, M::pt1},
        {"Cathedral Quarter", "Echo", 42, 58, T::note, N::dottedQuarter, 750, 2, 0.2f, L::sine, 145,
         14, 220, 3600, M::bbd2},
        {"Magnetic Drum", "Echo", 34, 44, T::note, N::dottedSixteenth, 187.5f, 2.5f, 0.45f,
         L::smoothRandom, 120, 5, 180, 5200, M::pt2},
        {"Oil Can Rain", "Echo", 36, 60, T::note, N::quarterTriplet, 333.33334f, 4, 0.35f,
         L::smoothRandom, 125, 7, 300, 2200, M::bbd2},
        {"Cosmic Chamber", "Echo", 45, 65, T::note, N::dottedQuarter, 750, 2.5f, 0.22f, L::sine,
         160, 15, 200, 3200, M::bbd1},
        {"Bounce Alley", "Echo", 40, 50, T::note, N::eighth, 250, 0, 0.5f, L::sine, 180, 20, 200,
         5000, M::pt1},
        {"Sun Room", "Slapback", 35, 8, T::ms, N::quarter, 120, 0, 0.5f, L::sine, 100, 0, 150, 6500,
         M::bbd1},
        {"Rockabilly Snap", "Slapback", 40, 5, T::ms, N::quarter, 95, 0, 0.5f, L::sine, 100, 0, 120,
         7000, M::bbd1},
        {"Memphis Bounce", "Slapback", 38, 12, T::ms, N::quarter, 135, 0, 0.5f, L::sine, 100, 0,
         180, 5500, M::bbd2},
        {"Doubled Down", "Slapback", 45, 0, T::ms, N::quarter, 75, 0, 0.5f, L::sine, 100, 0, 20,
         8000, M::pt1},
        {"Quiff Slap", "Slapback", 42, 6, T::ms, N::quarter, 110, 0, 0.5f, L::sine, 100, 0, 140,
         6000, M::bbd1},
        {"Tight Tuck", "Slapback", 35, 0, T::ms, N::quarter, 62, 0, 0.5f, L::sine, 100, 0, 20, 9000,
         M::pt2},
        {"Nashville Tuck", "Slapback", 30, 4, T::ms, N::quarter, 85, 0, 0.5f, L::sine, 100, 0, 120,
         7500, M::pt1},
        {"Hard Snap", "Slapback", 48, 10, T::ms, N::quarter, 100, 0, 0.5f, L::sine, 100, 0, 200,
         5000, M::pt2},
        {"Warm Bounce", "Slapback", 36, 15, T::ms, N::quarter, 145, 0, 0.5f, L::sine, 100, 0, 200,
         4200, M::bbd2},
        {"Cardboard Clap", "Slapback", 50, 3, T::ms, N::quarter, 70, 0, 0.5f, L::sine, 100, 0, 400,
         3500, M::bbd2},
        {"Seaside Wide", "Chorus", 40, 5, T::ms, N::quarter, 16, 6, 0.55f, L::sine, 150, 4, 20,
         20000, M::bbd1},
        {"Sea Two Classic", "Chorus", 35, 0, T::ms, N::quarter, 14, 4, 0.8f, L::sine, 130, 3, 20,
         20000, M::bbd1},
        {"Tiny Duplicate", "Chorus", 45, 8, T::ms, N::quarter, 12, 8, 0.65f, L::triangle, 160, 5,
         20, 20000, M::bbd2},
        {"Lush Eight", "Chorus", 42, 6, T::ms, N::quarter, 20, 10, 0.4f, L::sine, 175, 6, 20, 20000,
         M::pt1},
        {"Glass Shimmer", "Chorus", 38, 0, T::ms, N::quarter, 8, 3, 1.2f, L::sine, 140, 2, 20,
         12000, M::pt2},
        {"Warm Ensemble", "Chorus", 44, 10, T::ms, N::quarter, 24, 9, 0.35f, L::triangle, 165, 8,
         120, 6500, M::bbd2},
        {"String Machine", "Chorus", 48, 4, T::ms, N::quarter, 28, 12, 0.28f, L::sine, 185, 10, 20,
         5500, M::bbd2},
        {"Analogue Drift", "Chorus", 36, 6, T::ms, N::quarter, 18, 5, 0.22f, L::smoothRandom, 145,
         5, 20, 20000, M::pt1},
        {"Wide Awake", "Chorus", 40, 0, T::ms, N::quarter, 15, 7, 0.7f, L::sine, 200, 12, 20, 20000,
         M::pt2},
        {"Velvet Swirl", "Chorus", 46, 12, T::ms, N::quarter, 22, 6, 0.5f, L::triangle, 155, 7, 20,
         7000, M::bbd1},
        {"Jet Wash", "Flanger", 50, 75, T::ms, N::quarter, 1.5f, 4, 0.15f, L::triangle, 100, 0, 20,
         20000, M::bbd1},
        {"Electric Paramour", "Flanger", 45, 60, T::ms, N::quarter, 2.5f, 3, 0.2f, L::triangle, 120,
         1, 20, 20000, M::bbd1},
        {"Electric Mistrust", "Flanger", 48, 70, T::ms, N::quarter, 3, 5, 0.08f, L::triangle, 130,
         2, 20, 20000, M::pt1},
        {"Sweep Thing", "Flanger", 50, 65, T::ms, N::quarter, 2, 6, 0.3f, L::sine, 100, 0, 20,
         20000, M::bbd2},
        {"Metal Sweep", "Flanger", 50, 85, T::ms, N::quarter, 1.2f, 3.5f, 0.45f, L::triangle, 100,
         0, 20, 20000, M::pt2},
        {"Turbine", "Flanger", 47, 72, T::ms, N::quarter, 4, 8, 0.12f, L::sine, 140, 3, 20, 20000,
         M::bbd2},
        {"Hollow Body", "Flanger", 42, 50, T::ms, N::quarter, 5, 2, 0.6f, L::sine, 115, 2, 20, 6000,
         M::bbd1},
        {"Chrome Sweep", "Flanger", 50, 80, T::ms, N::quarter, 1.8f, 4.5f, 0.25f, L::triangle, 110,
         1, 20, 11000, M::pt1},
        {"Comb Over", "Flanger", 45, 55, T::ms, N::quarter, 6, 3, 0.9f, L::square, 120, 2, 20,
         20000, M::pt2},
        {"Through Zero", "Flanger", 50, 68, T::ms, N::quarter, 1, 2.5f, 0.18f, L::triangle, 160, 1,
         20, 20000, M::bbd2},
        {"Seasick", "Vibrato", 100, 0, T::ms, N::quarter, 6, 7, 4.5f, L::sine, 100, 0, 20, 20000,
         M::bbd1},
        {"Gentle Waver", "Vibrato", 100, 0, T::ms, N::quarter, 8, 2.5f, 4, L::sine, 100, 0, 20,
         20000, M::bbd1},
        {"Wobble Box", "Vibrato", 100, 0, T::ms, N::quarter, 7, 5, 5, L::sine, 100, 0, 20, 20000,
         M::bbd2},
        {"Rotary Lite", "Vibrato", 100, 0, T::ms, N::quarter, 10, 4, 3.2f, L::sine, 140, 3, 20,
         20000, M::pt1},
        {"Warble Warble", "Vibrato", 100, 0, T::ms, N::quarter, 5, 6, 2.4f, L::triangle, 100, 0, 20,
         20000, M::bbd2},
        {"Pitch Drift", "Vibrato", 100, 0, T::ms, N::quarter, 12, 3, 0.6f, L::smoothRandom, 100, 0,
         20, 20000, M::pt1},
        {"Slow Sway", "Vibrato", 100, 0, T::ms, N::quarter, 15, 8, 0.9f, L::sine, 130, 4, 20, 20000,
         M::pt2},
        {"Panic Vibrato", "Vibrato", 100, 0, T::ms, N::quarter, 4, 9, 5, L::triangle, 100, 0, 20,
         20000, M::bbd2},
        {"Tape Flutter", "Vibrato", 100, 0, T::ms, N::quarter, 9, 2, 1.8f, L::smoothRandom, 100, 0,
         20, 6000, M::bbd2},
        {"Stepped Waver", "Vibrato", 100, 0, T::ms, N::quarter, 8, 5, 1.5f, L::square, 100, 0, 20,
         20000, M::pt2},
        {"Infinite Regress", "Runaway", 45, 95, T::note, N::quarter, 500, 0, 0.5f, L::sine, 140, 10,
         200, 4000, M::bbd1},
        {"Runaway Train", "Runaway", 50, 120, T::note, N::eighth, 250, 0, 0.5f, L::sine, 100, 8,
         250, 3500, M::bbd2},
        {"Feedback Loop", "Runaway", 48, 105, T::note, N::dottedQuarter, 750, 0, 0.5f, L::sine, 150,
         15, 180, 3000, M::pt1},
        {"Event Horizon", "Runaway", 55, 110, T::ms, N::quarter, 1200, 0, 0.5f, L::sine, 170, 20,
         150, 2500, M::bbd2},
        {"Screaming Kettle", "Runaway", 60, 140, T::ms, N::quarter, 12, 0, 0.5f, L::sine, 100, 0,
         300, 8000, M::pt2},
        {"Drone Chamber", "Runaway", 50, 100, T::ms, N::quarter, 750, 2, 0.2f, L::sine, 160, 18,
         220, 2800, M::bbd1},
        {"Self Portrait", "Runaway", 46, 98, T::note, N::quarterTriplet, 333.33334f, 0, 0.5f,
         L::sine, 130, 6, 200, 3600, M::pt1},
        {"Oscillator Down", "Runaway", 52, 115, T::ms, N::quarter, 2000, 0, 0.5f, L::sine, 155, 22,
         120, 2200, M::bbd2},
        {"Wall of Noise", "Runaway", 65, 135, T::ms, N::quarter, 60, 0, 0.5f, L::sine, 100, 0, 300,
         5000, M::pt2},
        {"Singing Emberfall", "Runaway", 55, 125, T::ms, N::quarter, 180, 1, 0.3f, L::smoothRandom,
         100, 5, 250, 4500, M::bbd1},
    };
    const auto& all = allFactoryPresets();
    ASSERT_EQ(all.size(), std::size(rows) + 1);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        const FactoryPreset& p = all[i + 1];
        SCOPED_TRACE(std::string(r.style) + "-" + r.name);
        EXPECT_EQ(p.name, r.name);
        EXPECT_EQ(p.style, r.style);
        EXPECT_EQ(p.id(), std::string(r.style) + "-" + r.name);
        EXPECT_EQ(p.mix, r.mix);
        EXPECT_EQ(p.feedback, r.feedback);
        EXPECT_EQ(p.delayType, r.delayType);
        EXPECT_EQ(p.delayNote, r.delayNote);
        EXPECT_FLOAT_EQ(p.delayMs, r.delayMs);
        EXPECT_EQ(p.modulationDepth, r.modulationDepth);
        EXPECT_EQ(p.modulationRate, r.modulationRate);
        EXPECT_EQ(p.lfoType, r.lfoType);
        EXPECT_EQ(p.width, r.width);
        EXPECT_EQ(p.spread, r.spread);
        EXPECT_EQ(p.lowCut, r.lowCut);
        EXPECT_EQ(p.highCut, r.highCut);
        EXPECT_EQ(p.model, r.model);
        EXPECT_EQ(p.dirt, 0);
    }
}

TEST(FactoryPresets, WritesTheDelayTypeBeforeTheDelayItUses) {
    namespace A = ParameterAddress;
    struct Case {
        const char* id;
        std::uint64_t delayAddress;
        float delayValue;
    };
    const Case cases[] = {
        {"Echo-Dotted Line", A::delayNote, rawValue(DelayNoteDivision::dottedEighth)},
        {"Slapback-Sun Room", A::delayMs, 120},
    };
    for (const Case& c : cases) {
        const FactoryPreset* preset = nullptr;
        for (const auto& p : allFactoryPresets())
            if (p.id() == c.id)
                preset = &p;
        ASSERT_TRUE(preset) << c.id;
        const std::uint64_t order[] = {A::mix,      A::feedback, A::delayType, c.delayAddress,
                                       A::modDepth, A::modRate,  A::lfoType,   A::width,
                                       A::spread,   A::lowCut,   A::highCut,   A::model,
                                       A::dirt};
        const auto writes = presetParameterWrites(*preset);
        for (std::size_t k = 0; k < writes.size(); ++k)
            EXPECT_EQ(writes[k].address, order[k]) << c.id << " write " << k;
        EXPECT_EQ(writes[2].value, rawValue(preset->delayType)) << c.id;
        EXPECT_EQ(writes[3].value, c.delayValue) << c.id;
        EXPECT_EQ(writes[11].value, rawValue(preset->model)) << c.id;
    }
}

} // namespace
