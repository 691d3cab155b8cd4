#include "ParameterDefinitions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(ParameterDefinitions, TableInCreationOrder) {
    namespace U = ParameterUnit;
    struct Row {
        std::uint64_t address;
        const char* identifier;
        const char* name;
        std::uint32_t unit;
        float minimum, maximum, defaultValue;
        bool logarithmic;
        std::optional<float> midpoint;
        std::size_t valueStrings;
    };
    const Row rows[] = {
        {0, "mix", "Mix", U::percent, 0, 100, 30, false, {}, 0},
        {2, "delayMs", "Delay MS", U::milliseconds, 1, 5000, 375, true, 100.0f, 0},
        {12, "delayNote", "Delay Note", U::indexed, 0, 14, 7, false, {}, 15},
        {11, "delayType", "Delay Type", U::indexed, 0, 1, 0, false, {}, 2},
        {1, "feedback", "Feedback", U::percent, 0, 150, 45, false, {}, 0},
        {3, "modDepth", "Depth", U::milliseconds, 0, 100, 0, false, {}, 0},
        {4, "modRate", "Rate", U::hertz, 0.01f, 5, 0.01f, true, 1.0f, 0},
        {5, "lfoType", "Shape", U::indexed, 0, 3, 0, false, {}, 4},
        {6, "width", "Width", U::percent, -200, 200, 100, false, {}, 0},
        {8, "spread", "Spread", U::milliseconds, -25, 25, 0, false, {}, 0},
        {9, "lowCut", "Low Cut", U::hertz, 20, 20000, 20, true, {}, 0},
        {10, "highCut", "High Cut", U::hertz, 20, 20000, 20000, true, {}, 0},
        {7, "model", "Model", U::indexed, 0, 3, 0, false, {}, 4},
        {13, "dirt", "Dirt", U::percent, -100, 100, 0, false, {}, 0},
    };
    const auto& definitions = parameterDefinitions();
    ASSERT_EQ(definitions.size(), std::size(rows));
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        const ParameterDefinition& d = definitions[i];
        const Row& r = rows[i];
        SCOPED_TRACE(r.identifier);
        EXPECT_EQ(d.address, r.address);
        EXPECT_EQ(d.identifier, r.identifier);
        EXPECT_EQ(d.name, r.name);
        EXPECT_EQ(d.unit, r.unit);
        EXPECT_EQ(d.minimum, r.minimum);
        EXPECT_EQ(d.maximum, r.maximum);
        EXPECT_EQ(d.defaultValue, r.defaultValue);
        EXPECT_EQ(d.logarithmic, r.logarithmic);
        EXPECT_EQ(d.midpoint, r.midpoint);
        EXPECT_EQ(d.valueStrings.size(), r.valueStrings);
        EXPECT_EQ(d.dependents.empty(), r.address != ParameterAddress::delayType);
        EXPECT_EQ(parameterDefinition(r.address), &d);
        EXPECT_EQ(parameterDefinition(r.identifier), &d);
    }
    EXPECT_EQ(parameterDefinition(14), nullptr);
    EXPECT_EQ(parameterDefinition("tempo"), nullptr);
}

TEST(ParameterDefinitions, ValueStringsAndDependents) {
    const auto* note = parameterDefinition(ParameterAddress::delayNote);
    const std::vector<std::string> notes{"1/32",  "1/16",  "1/8",  "1/4",  "1/2",
                                         "1/32.", "1/16.", "1/8.", "1/4.", "1/2.",
                                         "1/32T", "1/16T", "1/8T", "1/4T", "1/2T"};
    EXPECT_EQ(note->valueStrings, notes);
    EXPECT_EQ(parameterDefinition("delayType")->valueStrings,
              (std::vector<std::string>{"NOTE", "MS"}));
    EXPECT_EQ(parameterDefinition("lfoType")->valueStrings,
              (std::vector<std::string>{"TRI", "SIN", "SQR", "RND"}));
    EXPECT_EQ(parameterDefinition("model")->valueStrings,
              (std::vector<std::string>{"BBD 1", "BBD 2", "PT 1", "PT 2"}));
    EXPECT_EQ(parameterDefinition("delayType")->dependents,
              (std::vector<std::uint64_t>{ParameterAddress::delayMs, ParameterAddress::delayNote}));
}

// The order of the tree's children as a host lists them, and of the first push into
// the kernel.
TEST(ParameterDefinitions, ConfigurationOrderStartsWithTheDelayTypeAndNamesEachOnce) {
    const auto& order = parameterConfigurationOrder();
    const std::array<std::string_view, 14> expected{
        "delayType", "mix",   "delayMs", "delayNote", "feedback", "modDepth", "modRate",
        "lfoType",   "width", "spread",  "lowCut",    "highCut",  "model",    "dirt"};
    EXPECT_EQ(order, expected);
    std::set<std::uint64_t> addresses;
    for (std::string_view identifier : order) {
        const ParameterDefinition* d = parameterDefinition(identifier);
        ASSERT_NE(d, nullptr) << identifier;
        addresses.insert(d->address);
    }
    EXPECT_EQ(addresses.size(), ParameterAddress::count);
    EXPECT_EQ(*addresses.rbegin(), ParameterAddress::count - 1);
}

} // namespace
