#include "Utilities/DateUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Foundation/RunLoop.h"

namespace {

TEST(DegreeUtil, NormalisesIntoTheHalfOpenRangeAboveMinus180) {
    struct Case {
        double degrees, normalised;
    } cases[] = {{540, 180}, {-180, 180}, {190, -170}, {180, 180},   {-179, -179},
                 {720, 0},   {-540, 180}, {-190, 170}, {359.5, -0.5}};
    for (auto c : cases)
        EXPECT_DOUBLE_EQ(DegreeUtil::normalise(c.degrees), c.normalised) << c.degrees;
    EXPECT_DOUBLE_EQ(DegreeUtil::degreesToRadians(180), std::numbers::pi);
    EXPECT_DOUBLE_EQ(DegreeUtil::degreesToRadians(-90), -std::numbers::pi / 2);
    // Multiplied before dividing: converting through a precomputed pi / 180 rounds
    // differently, and an angle saved in radians would then not compare equal.
    for (double degrees : {3.0, 57.0, 90.5, 1000.0})
        EXPECT_EQ(DegreeUtil::degreesToRadians(degrees), degrees * std::numbers::pi / 180)
            << degrees;
}

TEST(DateUtil, ComparesTheAbsoluteTimeSinceADate) {
    RunLoopTestScope scope;
    scope.clock().advance(100);
    Date past = Date::now().addingTimeInterval(-10);
    Date future = Date::now().addingTimeInterval(10); // counts as 10 s passed
    struct Case {
        double seconds;
        std::optional<Date> date;
        bool ifNil, more, less;
    } cases[] = {
        {5, past, false, true, false},         {5, future, false, true, false},
        {10, past, false, false, false},       {15, future, false, false, true},
        {1e9, std::nullopt, true, true, true}, {0, std::nullopt, false, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateUtil::hasMoreThan(c.seconds, c.date, c.ifNil), c.more) << c.seconds;
        EXPECT_EQ(DateUtil::hasLessThan(c.seconds, c.date, c.ifNil), c.less) << c.seconds;
    }
}

} // namespace
