#include "LabelFormatter.h"

#include "Parameters/AudioParameter.h"

#include <gtest/gtest.h>

namespace {

using Unit = AudioUnitParameterUnit;

std::shared_ptr<AudioParameter> param(Unit unit = Unit::milliseconds,
                                      std::optional<std::vector<std::string>> strings = {}) {
    return AudioParameter::create(1, "p", "P", unit, {0, 10000}, 0, ValueIncrement::linear(),
                                  strings);
}

TEST(DefaultLabelFormatter, FormatsWithItsPlacesAndTheSaveScale) {
    struct Case {
        Unit unit;
        int places;
        float value;
        const char* text;
    } cases[] = {
        {Unit::milliseconds, 0, 349.6f, "350"}, {Unit::milliseconds, 2, 5, "5.00"},
        {Unit::absoluteCents, 1, 5000, "50.0"}, {Unit::percent, 1, 12.25f, "12.2"},
        {Unit::percent, 1, -0.04f, "-0.0"},     {Unit::percent, -3, 7.6f, "8"},
    };
    for (const auto& c : cases) {
        DefaultLabelFormatter formatter(*param(c.unit), c.places);
        EXPECT_EQ(formatter.format(c.value), c.text) << c.value << " " << c.places;
    }
}

TEST(DefaultLabelFormatter, ReadsOnlyAWholeFiniteNumber) {
    DefaultLabelFormatter formatter(*param(Unit::absoluteCents), 1);
    struct Case {
        const char* text;
        std::optional<float> value;
    } cases[] = {
        {"12.5", 12.5f},        {"-3", -3.0f},         {"1e3", 1000.0f},
        {"", std::nullopt},     {" 12", std::nullopt}, {"12 ", std::nullopt},
        {"12ms", std::nullopt}, {"abc", std::nullopt}, {"12,5", std::nullopt},
        {"nan", std::nullopt},  {"inf", std::nullopt}, {"1e39", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatter.value(c.text), c.value) << '"' << c.text << '"';
}

TEST(LabelNameFormatter, ShowsAndReadsTheValueStrings) {
    LabelNameFormatter formatter(*param(Unit::indexed, std::vector<std::string>{"Off", "On"}));
    EXPECT_EQ(formatter.format(0.4f), "Off");
    EXPECT_EQ(formatter.format(0.5f), "On");
    EXPECT_EQ(formatter.format(-0.4f), "Off");
    for (const char* typed : {"on", "ON", "On"})
        EXPECT_EQ(formatter.value(typed), 1.0f) << typed;
    EXPECT_EQ(formatter.value("off"), 0.0f);
    for (const char* typed : {"maybe", "", " on"})
        EXPECT_EQ(formatter.value(typed), std::nullopt) << typed;
    EXPECT_TRUE(LabelNameFormatter(*param()).valueStrings.empty());
}

TEST(LabelNameFormatterDeathTest, AValueWithoutAStringEndsTheProgram) {
    LabelNameFormatter formatter(*param(Unit::indexed, std::vector<std::string>{"Off", "On"}));
    EXPECT_DEATH(formatter.format(7), "Unable to format value 7.0, no value string found");
    EXPECT_DEATH(formatter.format(-0.6f), "Unable to format value -0.6, no value string found");
    EXPECT_DEATH(formatter.format(1e30f), "no value string found");
}

} // namespace
