#include "Foundation/Formatter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(NumberFormatter, FormatsNumbersWithTheAffixesOfTheirSign) {
    auto f = make<NSNumberFormatter>();
    f->positiveSuffix = "%";
    f->negativeSuffix = " below";
    struct Case {
        std::any object;
        std::optional<std::string> text;
    } cases[] = {
        {12, "12%"},
        {12.5, "12%"},
        {13.5, "14%"}, // half to even, no fraction digits
        {-3.0, "-3 below"},
        {-0.2, "0%"},
        {std::string("12"), std::nullopt},
        {std::any(), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f->stringFor(c.object), c.text);
    f->maximumFractionDigits = 2;
    EXPECT_EQ(f->stringFor(0.125), "0.12%");
    EXPECT_EQ(f->stringFor(2.5), "2.5%");
    // Very large and infinite numbers, and more fraction digits than a double holds.
    EXPECT_EQ(f->stringFor(1e20), "100000000000000000000%");
    EXPECT_EQ(f->stringFor(1e300)->size(), 302u); // every digit, nothing cut off
    EXPECT_EQ(f->stringFor(-HUGE_VAL), "-\u221e below");
    f->maximumFractionDigits = 400;
    EXPECT_EQ(f->stringFor(0.5), "0.5%");
}

TEST(NumberFormatter, ReadsWholeNumbersWithTheirAffixesOrLeniently) {
    auto f = make<NSNumberFormatter>();
    f->positiveSuffix = "%";
    struct Case {
        std::string text;
        bool lenient;
        std::optional<double> value;
    } cases[] = {
        {"12%", false, 12},       {"-4", false, -4},           {"12", false, std::nullopt},
        {"12", true, 12},         {"1e2%", false, 100},        {"12 %", false, std::nullopt},
        {"", true, std::nullopt}, {"a+b", true, std::nullopt},
    };
    for (const auto& c : cases) {
        f->setLenient(c.lenient);
        std::any object = std::string("untouched");
        std::string error;
        bool ok = f->getObjectValue(&object, c.text, &error);
        EXPECT_EQ(ok, c.value.has_value()) << c.text;
        if (c.value)
            EXPECT_EQ(std::any_cast<double>(object), *c.value) << c.text;
        else
            EXPECT_EQ(error, "Invalid number") << c.text;
    }
}

TEST(LocalizedStandardRange, IgnoresCaseAndAccentsAndGivesByteOffsets) {
    struct Case {
        std::string text, needle;
        std::optional<std::pair<size_t, size_t>> range;
    } cases[] = {
        {"$speed", "$", std::pair<size_t, size_t>{0, 1}},
        {"a$b$c", "$", std::pair<size_t, size_t>{1, 2}},
        {"Caf\xc3\xa9 au lait", "CAFE", std::pair<size_t, size_t>{0, 5}},
        {"cafe\xcc\x81!", "caf\xc3\xa9", std::pair<size_t, size_t>{0, 6}}, // combining accent
        {"speed", "$", std::nullopt},
        {"", "$", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(localizedStandardRange(c.text, c.needle), c.range) << c.text;
}

} // namespace
