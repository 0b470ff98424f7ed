#include "demosys/timeline/Interpolate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Vec3 = Vector<float, 3>;
using Vec2 = Vector<float, 2>;

Interpolate zeroToOneOverASecond()
{
    Interpolate curve;
    curve.setTime(MRVTime(0u), MRVTime(1000u));
    curve.setValues(0.0f, 1.0f);
    return curve;
}

} // namespace

TEST(Interpolate, ValuesAcrossTheWindow)
{
    const Interpolate curve = zeroToOneOverASecond();
    EXPECT_FLOAT_EQ(curve.linearInterpolate(500), 0.5f);
    EXPECT_FLOAT_EQ(curve.linearInterpolate(250), 0.25f);
    EXPECT_FLOAT_EQ(curve.cosInterpolate(500, false), 1.0f - std::cos(0.7853975f));
    EXPECT_NEAR(curve.cosInterpolate(500, false), 0.2929f, 1e-4f);
    EXPECT_FLOAT_EQ(curve.cosInterpolate(500, true), std::cos(0.7853975f));

    EXPECT_EQ(curve.linearInterpolate(0), 0.0f);
    EXPECT_EQ(curve.linearInterpolate(1000), 1.0f);
    EXPECT_EQ(curve.cosInterpolate(0, false), 0.0f);
    EXPECT_FLOAT_EQ(curve.cosInterpolate(1000, true), 1.0f);
    // The quarter turn is a touch short of pi/2, so the far ends miss by a hair.
    EXPECT_NEAR(curve.cosInterpolate(1000, false), 1.0f, 1e-5f);
    EXPECT_NEAR(curve.cosInterpolate(0, true), 0.0f, 1e-5f);
}

TEST(Interpolate, ValidTimeIncludesBothEndsOfANonEmptyWindow)
{
    Interpolate curve;
    curve.setTime(MRVTime(1000u), MRVTime(2000u));
    EXPECT_FALSE(curve.validTime(999));
    EXPECT_TRUE(curve.validTime(1000));
    EXPECT_TRUE(curve.validTime(2000));
    EXPECT_FALSE(curve.validTime(2001));

    curve.setTime(MRVTime(1000u), MRVTime(1000u));
    EXPECT_FALSE(curve.validTime(1000));
    curve.setTime(MRVTime(2000u), MRVTime(1000u));
    EXPECT_FALSE(curve.validTime(1500));
}

TEST(Interpolate, OutsideTheWindowTheLineContinues)
{
    Interpolate curve;
    curve.setTime(MRVTime(1000u), MRVTime(2000u));
    curve.setValues(10.0f, 20.0f);
    // Before the start the difference must not wrap round as an unsigned.
    EXPECT_FLOAT_EQ(curve.linearInterpolate(500), 5.0f);
    EXPECT_FLOAT_EQ(curve.linearInterpolate(3000), 30.0f);
}

TEST(Interpolate, EmptyWindowJumpsInsteadOfDividingByZero)
{
    // An unconfigured curve, as effects may hold one.
    const Interpolate unset;
    EXPECT_EQ(unset.linearInterpolate(0), 0.0f);
    EXPECT_EQ(unset.cosInterpolate(100, true), 0.0f);

    Interpolate curve;
    curve.setTime(MRVTime(1000u), MRVTime(1000u));
    curve.setValues(3.0f, 8.0f);
    EXPECT_EQ(curve.linearInterpolate(999), 3.0f);
    EXPECT_EQ(curve.linearInterpolate(1000), 8.0f);
    EXPECT_FALSE(std::isnan(curve.cosInterpolate(1000, false)));
}

TEST(Interpolate, VectorsBlendPerComponent)
{
    Interpolate curve;
    curve.setTime(MRVTime(0u), MRVTime(1000u));
    curve.setVectors(Vec3(0, 2, -4), Vec3(10, 4, 4));
    const Vec3 quarter = curve.linearInterpolateVector(250);
    EXPECT_FLOAT_EQ(quarter.x(), 2.5f);
    EXPECT_FLOAT_EQ(quarter.y(), 2.5f);
    EXPECT_FLOAT_EQ(quarter.z(), -2.0f);

    curve.setVectors(Vec2(1, 2), Vec2(3, 4));
    EXPECT_EQ(curve.getStartVector(), Vec3(1, 2, 0));
    EXPECT_EQ(curve.getStopVector(), Vec3(3, 4, 0));
    const float f = 1.0f - std::cos(0.5f * 1.570795f);
    const Vec3 eased = curve.cosInterpolateVector(500, false);
    EXPECT_FLOAT_EQ(eased.x(), 1.0f + 2.0f * f);
    EXPECT_FLOAT_EQ(eased.y(), 2.0f + 2.0f * f);
    EXPECT_EQ(eased.z(), 0.0f);

    // A single value rides in x and clears y and z.
    curve.setStartValue(5.0f);
    EXPECT_EQ(curve.getStartVector(), Vec3(5, 0, 0));
}

TEST(Interpolate, TimeSettersCarryButPlainCopiesDoNot)
{
    Interpolate curve;
    curve.setStartTime(MRVTime(0, 0, 1500));
    EXPECT_EQ(curve.getStartTime().getSeconds(), 1);
    EXPECT_EQ(curve.getStartTime().getMilliseconds(), 500);
    EXPECT_EQ(curve.getStartTime().getTicks(), 1500u);
    curve.setStopTime(MRVTime(0, 75, 0));
    EXPECT_EQ(curve.getStopTime().getMinutes(), 1);
    EXPECT_EQ(curve.getStopTime().getSeconds(), 15);
    EXPECT_EQ(curve.getStopTime().getTicks(), 75000u);

    curve.setTime(MRVTime(0, 0, 1500), MRVTime(0, 75, 0));
    EXPECT_EQ(curve.getStartTime().getMilliseconds(), 1500);
    EXPECT_EQ(curve.getStopTime().getSeconds(), 75);
    EXPECT_EQ(curve.getStopTime().getTicks(), 75000u);
}
