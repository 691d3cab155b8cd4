#include "Metal/MTLHalf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

TEST(Half, RoundsToNearestEvenAndSaturatesToInfinity) {
    struct Case {
        const char* what;
        float value;
        uint16_t half;
    };
    const float tiny = std::ldexp(1.0f, -24); // the smallest subnormal half
    const Case cases[] = {
        {"zero", 0.0f, 0x0000},
        {"negative zero", -0.0f, 0x8000},
        {"one", 1.0f, 0x3C00},
        {"minus two", -2.0f, 0xC000},
        {"above one: 2.5", 2.5f, 0x4100},
        {"above one: 1000", 1000.0f, 0x63D0},
        {"tie between 1 and the next half goes to the even 1", 1.0f + std::ldexp(1.0f, -11),
         0x3C00},
        {"tie above an odd mantissa goes up to even", 1.0f + 3 * std::ldexp(1.0f, -11), 0x3C02},
        {"just over a tie rounds up", 1.0f + std::ldexp(1.0f, -11) + std::ldexp(1.0f, -20), 0x3C01},
        {"largest half", 65504.0f, 0x7BFF},
        {"below the overflow tie", 65519.0f, 0x7BFF},
        {"the overflow tie becomes infinity", 65520.0f, 0x7C00},
        {"far above", 1e10f, 0x7C00},
        {"minus infinity", -std::numeric_limits<float>::infinity(), 0xFC00},
        {"smallest normal", std::ldexp(1.0f, -14), 0x0400},
        {"smallest subnormal", tiny, 0x0001},
        {"half of it ties to even zero", tiny / 2, 0x0000},
        {"one and a half of it ties to even two", tiny * 1.5f, 0x0002},
        {"slightly more than half rounds up", tiny * 0.5001f, 0x0001},
        {"below every half", 1e-10f, 0x0000},
        {"sub-normal to normal carry", std::ldexp(1.0f, -14) - tiny / 4, 0x0400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MTLHalf::fromFloat(c.value), c.half);
        uint16_t bulk[9];
        float values[9];
        std::fill(values, values + 9, c.value);
        MTLHalf::fromFloats(values, bulk, 9); // eight at once and one alone
        EXPECT_EQ(bulk[0], c.half);
        EXPECT_EQ(bulk[8], c.half);
    }
    uint16_t nan = MTLHalf::fromFloat(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(nan & 0x7C00, 0x7C00);
    EXPECT_NE(nan & 0x03FF, 0);
    EXPECT_TRUE(std::isnan(MTLHalf::toFloat(nan)));
}

TEST(Half, EveryHalfSurvivesTheRoundTripAndBulkMatchesSingle) {
    for (uint32_t h = 0; h < 0x10000; ++h) {
        float f = MTLHalf::toFloat(uint16_t(h));
        if (std::isnan(f))
            continue;
        ASSERT_EQ(MTLHalf::fromFloat(f), h) << std::hex << h;
    }
    std::mt19937 random(7);
    std::vector<float> values(100003);
    for (float& v : values) {
        uint32_t bits = random();
        std::memcpy(&v, &bits, 4);
    }
    std::vector<uint16_t> bulk(values.size());
    MTLHalf::fromFloats(values.data(), bulk.data(), values.size());
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(bulk[i], MTLHalf::fromFloat(values[i])) << values[i];
}

} // namespace
