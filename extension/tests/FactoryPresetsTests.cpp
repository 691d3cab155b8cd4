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
