#include "Utilities/OrreryFont.h"
#include "Utilities/Utilities.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

TEST(Utilities, PaddedIndexStringHasTwoDigitsUpToNine) {
    struct Case {
        long value;
        const char* text;
    } cases[] = {{0, "00"}, {1, "01"}, {7, "07"}, {9, "09"}, {10, "10"}, {51, "51"}, {123, "123"}};
    for (const auto& c : cases)
        EXPECT_EQ(paddedIndexString(c.value), c.text) << c.value;
}

TEST(Utilities, SafeIndexGivesNoneOutsideTheCollection) {
    const std::vector<std::string> three{"a", "b", "c"};
    EXPECT_EQ(safe(three, 2), "c");
    EXPECT_EQ(safe(three, 0), "a");
    EXPECT_EQ(safe(three, 3), std::nullopt);
    EXPECT_EQ(safe(three, -1), std::nullopt);
    EXPECT_EQ(safe(std::vector<int>{}, 0), std::nullopt);
    const std::optional<std::vector<std::string>> none;
    EXPECT_EQ(safe(none, 0), std::nullopt);
    const std::optional<std::vector<std::string>> some = three;
    EXPECT_EQ(safe(some, 1), "b");
    EXPECT_EQ(safe(std::array<int, 2>{4, 5}, 1), 5);
}

TEST(Utilities, ClampedToTheThreeKindsOfRange) {
    EXPECT_EQ(clamped(5, ClosedRange<int>{0, 3}), 3);
    EXPECT_EQ(clamped(-2, ClosedRange<int>{0, 3}), 0);
    EXPECT_EQ(clamped(2, ClosedRange<int>{0, 3}), 2);
    EXPECT_EQ(clamped(5, atLeast(7)), 7);
    EXPECT_EQ(clamped(9, atLeast(7)), 9);
    EXPECT_EQ(clamped(5, atMost(4)), 4);
    EXPECT_EQ(clamped(3, atMost(4)), 3);
    // The lower bound is applied first, so an inverted range gives the upper bound.
    EXPECT_EQ(clamped(5.0f, ClosedRange<float>{10, 0}), 0.0f);
}

TEST(Utilities, TextCaseFollowsUnicode) {
    EXPECT_EQ(uppercased("chorus"), "CHORUS");
    EXPECT_EQ(uppercased("1.2.0 Available"), "1.2.0 AVAILABLE");
    EXPECT_EQ(uppercased("größe"), "GRÖSSE");
    EXPECT_EQ(lowercased("ÉCHO On"), "écho on");
    EXPECT_EQ(lowercased(""), "");
    const std::string broken = "a\xff";
    EXPECT_EQ(uppercased(broken), broken);
}

TEST(Utilities, FontNamesAndCompanySite) {
    EXPECT_STREQ(fontName(OrreryFont::rocket), "Rocket");
    EXPECT_STREQ(fontName(OrreryFont::dosisLight), "Dosis-Light");
    EXPECT_STREQ(fontName(OrreryFont::dosisMedium), "Dosis-Medium");
    EXPECT_EQ(companySite().scheme(), "https");
    EXPECT_FALSE(companySite().host().empty());
    EXPECT_EQ(&companySite(), &companySite());
}

} // namespace
