#include "DelayEnums.h"

#include <gtest/gtest.h>

namespace {

TEST(DelayEnums, RawValuesConvertOnlyWhenExact) {
    struct Case {
        float raw;
        std::optional<DelayNoteDivision> note;
        std::optional<DelayTimeType> type;
    };
    const Case cases[] = {
        {0.0f, DelayNoteDivision::thirtySecond, DelayTimeType::note},
        {1.0f, DelayNoteDivision::sixteenth, DelayTimeType::ms},
        {2.0f, DelayNoteDivision::eighth, std::nullopt},
        {7.0f, DelayNoteDivision::dottedEighth, std::nullopt},
        {14.0f, DelayNoteDivision::halfTriplet, std::nullopt},
        {15.0f, std::nullopt, std::nullopt},
        {0.5f, std::nullopt, std::nullopt},
        {-1.0f, std::nullopt, std::nullopt},
        {-0.0f, DelayNoteDivision::thirtySecond, DelayTimeType::note},
        {std::nanf(""), std::nullopt, std::nullopt},
        {INFINITY, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fromRawValue<DelayNoteDivision>(c.raw), c.note) << c.raw;
        EXPECT_EQ(fromRawValue<DelayTimeType>(c.raw), c.type) << c.raw;
    }
}

TEST(DelayEnums, AllCasesAreInDeclarationOrderWithPositionsAsRawValues) {
    const auto models = allCases<DelayModel>();
    const DelayModel expected[] = {DelayModel::bbd1, DelayModel::bbd2, DelayModel::pt1,
                                   DelayModel::pt2};
    ASSERT_EQ(models.size(), 4u);
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(models[i], expected[i]);
        EXPECT_EQ(rawValue(models[i]), static_cast<float>(i));
    }
    EXPECT_EQ(allCases<ModulationLFOType>().back(), ModulationLFOType::smoothRandom);
    EXPECT_EQ(allCases<DelayNoteDivision>().size(), 15u);
    EXPECT_EQ(allCases<DelayTimeType>().size(), 2u);
}

TEST(DelayEnums, NoteDivisionsArePlainDottedAndTripletRows) {
    struct Case {
        DelayNoteDivision division;
        float beats;
        float msAt120;
    };
    const Case cases[] = {
        {DelayNoteDivision::thirtySecond, 0.125f, 62.5f},
        {DelayNoteDivision::sixteenth, 0.25f, 125.0f},
        {DelayNoteDivision::eighth, 0.5f, 250.0f},
        {DelayNoteDivision::quarter, 1.0f, 500.0f},
        {DelayNoteDivision::half, 2.0f, 1000.0f},
        {DelayNoteDivision::dottedThirtySecond, 0.1875f, 93.75f},
        {DelayNoteDivision::dottedSixteenth, 0.375f, 187.5f},
        {DelayNoteDivision::dottedEighth, 0.75f, 375.0f},
        {DelayNoteDivision::dottedQuarter, 1.5f, 750.0f},
        {DelayNoteDivision::dottedHalf, 3.0f, 1500.0f},
        {DelayNoteDivision::thirtySecondTriplet, 0.125f * 0.6666667f, 0.125f * 0.6666667f * 500.0f},
        {DelayNoteDivision::sixteenthTriplet, 0.25f * 0.6666667f, 0.25f * 0.6666667f * 500.0f},
        {DelayNoteDivision::eighthTriplet, 0.5f * 0.6666667f, 0.5f * 0.6666667f * 500.0f},
        {DelayNoteDivision::quarterTriplet, 0.6666667f, 0.6666667f * 500.0f},
        {DelayNoteDivision::halfTriplet, 2.0f * 0.6666667f, 2.0f * 0.6666667f * 500.0f},
    };
    for (const Case& c : cases) {
        EXPECT_FLOAT_EQ(beats(c.division), c.beats) << static_cast<int>(c.division);
        EXPECT_FLOAT_EQ(milliseconds(c.division, 120.0f), c.msAt120);
    }
    EXPECT_FLOAT_EQ(milliseconds(DelayNoteDivision::quarter, 60.0f), 1000.0f);
}

} // namespace
