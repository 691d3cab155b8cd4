#include "KnobMapping.h"

#include "Parameters/AudioParameter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(KnobMapping, LogarithmicWithoutMidpointPutsTheGeometricMeanAtTheCentre) {
    KnobMapping knob({20, 20000}, ValueIncrement::logarithmic());
    EXPECT_TRUE(knob.isLogarithmic());
    EXPECT_FALSE(knob.midpointExponent());
    EXPECT_NEAR(knob.normalise(632.456f), 0.5f, 1e-5f);
    EXPECT_EQ(knob.frame(632.456f, 51), 26);
    EXPECT_EQ(knob.frame(20, 51), 1);
    EXPECT_EQ(knob.frame(20000, 51), 51);
    EXPECT_NEAR(knob.denormalise(0.5f), 632.456f, 0.01f);
}

TEST(KnobMapping, AMidpointLandsOnTheCentreAndTheEndsStay) {
    KnobMapping knob({1, 5000}, ValueIncrement::logarithmic(100));
    ASSERT_TRUE(knob.midpointExponent());
    EXPECT_NEAR(knob.normalise(100), 0.5f, 1e-6f);
    EXPECT_NEAR(knob.normalise(1), 0.0f, 1e-7f);
    EXPECT_NEAR(knob.normalise(5000), 1.0f, 1e-6f);
    EXPECT_NEAR(knob.denormalise(0.5f), 100.0f, 1e-3f);
    for (float v : {1.5f, 37.0f, 375.0f, 4999.0f})
        EXPECT_NEAR(knob.denormalise(knob.normalise(v)), v, v * 1e-4f) << v;
}

TEST(KnobMapping, MidpointsOutsideTheOpenRangeGiveThePlainCurve) {
    for (float midpoint : {1.0f, 5000.0f, 0.5f, 9000.0f}) {
        KnobMapping knob({1, 5000}, ValueIncrement::logarithmic(midpoint));
        EXPECT_FALSE(knob.midpointExponent()) << midpoint;
        EXPECT_NEAR(knob.normalise(std::sqrt(5000.0f)), 0.5f, 1e-5f) << midpoint;
    }
}

TEST(KnobMapping, LinearUnlessLogarithmicWithPositiveBounds) {
    struct Case {
        ValueRange range;
        ValueIncrement increment;
        float value, position;
    } cases[] = {
        {{0, 100}, ValueIncrement::linear(), 25, 0.25f},
        {{0, 100}, ValueIncrement::logarithmic(), 25, 0.25f},  // min 0: linear
        {{-10, 10}, ValueIncrement::logarithmic(2), 5, 0.75f}, // negative min: linear
        {{-60, 0}, ValueIncrement::logarithmic(), -30, 0.5f},  // max 0: linear
    };
    for (const auto& c : cases) {
        KnobMapping knob(c.range, c.increment);
        EXPECT_FALSE(knob.isLogarithmic());
        EXPECT_FLOAT_EQ(knob.normalise(c.value), c.position);
        EXPECT_FLOAT_EQ(knob.denormalise(c.position), c.value);
    }
}

TEST(KnobMapping, AnEmptyRangeMapsToTheStartNotNaN) {
    for (auto increment : {ValueIncrement::linear(), ValueIncrement::logarithmic()}) {
        KnobMapping knob({5, 5}, increment);
        EXPECT_EQ(knob.normalise(5), 0.0f);
        EXPECT_EQ(knob.denormalise(0.7f), 5.0f);
        EXPECT_EQ(knob.frame(5, 51), 1);
    }
    // The placeholder parameter has the range 0...0.
    EXPECT_EQ(KnobMapping(*AudioParameter::dummyParam()).frame(0, 51), 1);
}

TEST(KnobMapping, FramesRoundHalfAwayFromZeroAndStayInTheStrip) {
    KnobMapping knob({0, 50}, ValueIncrement::linear());
    struct Case {
        float value;
        int frame;
    } cases[] = {{0, 1}, {0.49f, 1}, {0.5f, 2}, {24.5f, 26}, {50, 51}, {-10, 1}, {80, 51}};
    for (const auto& c : cases)
        EXPECT_EQ(knob.frame(c.value, 51), c.frame) << c.value;
    EXPECT_EQ(KnobMapping({20, 20000}, ValueIncrement::logarithmic()).frame(-1, 51), 1);
}

} // namespace
