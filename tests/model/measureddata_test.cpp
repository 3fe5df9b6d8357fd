#include "model/measureddata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// 100 MHz: 25 ohm on 50 (gamma -1/3); 200 MHz: gamma 0.5 on 100 ohm (300 ohm);
// 300 MHz: 0.1 + j0.7 ohm as an impedance file gives it.
MeasuredData Sample() {
    MeasuredData d;
    d.name = "load.s1p";
    d.points = {MeasuredPointFromImpedance(100, {25, 0}, 50),
                MeasuredPointFromGamma(200, {0.5, 0}, 100),
                MeasuredPointFromImpedance(300, {0.1, 0.7}, 50)};
    return d;
}

TEST(MeasuredData, AtADataFrequencyGivesThePointsOwnImpedance) {
    const MeasuredData d = Sample();
    for (const MeasuredPoint& p : d.points) {
        const std::optional<Complex> z = MeasuredImpedanceAt(d, p.frequency);
        ASSERT_TRUE(z.has_value());
        EXPECT_EQ(*z, p.impedance);
    }
    EXPECT_EQ(d.points[2].impedance, Complex(0.1, 0.7));
}

TEST(MeasuredData, BetweenInterpolatesGammaAndReference) {
    const MeasuredData d = Sample();
    // Halfway from gamma -1/3 on 50 ohm to gamma 0.5 on 100 ohm: gamma 1/12 on 75 ohm.
    const std::optional<Complex> z = MeasuredImpedanceAt(d, 150);
    ASSERT_TRUE(z.has_value());
    EXPECT_NEAR(z->re, 75.0 * (13.0 / 11.0), 1e-12);
    EXPECT_NEAR(z->im, 0.0, 1e-12);
    // A quarter of the way: gamma -1/3 + (5/6) / 4 = -1/8 on 62.5 ohm.
    EXPECT_NEAR(MeasuredImpedanceAt(d, 125)->re, 62.5 * (0.875 / 1.125), 1e-12);
}

TEST(MeasuredData, OutsideTheRangeThereIsNoValue) {
    const MeasuredData d = Sample();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double f : {0.0, 99.999999, 300.000001, -1.0, nan, inf}) {
        EXPECT_FALSE(MeasuredImpedanceAt(d, f).has_value()) << f;
    }
    EXPECT_FALSE(MeasuredImpedanceAt(MeasuredData{}, 100).has_value());
    MeasuredData one;
    one.points = {MeasuredPointFromGamma(5, {0, 0}, 50)};
    EXPECT_EQ(MeasuredImpedanceAt(one, 5), Complex(50, 0));
    EXPECT_FALSE(MeasuredImpedanceAt(one, 5.000001).has_value());
}

TEST(MeasuredData, AnIdealOpenHasNoFiniteImpedanceButInterpolatesBeside) {
    MeasuredData d;
    d.points = {MeasuredPointFromGamma(1, {1, 0}, 50), MeasuredPointFromGamma(2, {0, 0}, 50)};
    EXPECT_EQ(*MeasuredImpedanceAt(d, 1), Complex(std::numeric_limits<double>::infinity(), 0));
    EXPECT_NEAR(MeasuredImpedanceAt(d, 1.5)->re, 150.0, 1e-12);
}

TEST(MeasuredData, CursorGivesTheSameValuesInAnyOrder) {
    MeasuredData d;
    for (int i = 0; i < 50; ++i) {
        d.points.push_back(
            MeasuredPointFromGamma(10.0 * i + (i % 3), {0.01 * i, -0.005 * i}, 50 + i));
    }
    MeasuredCursor cursor(d);
    const double queries[] = {0,  0.5, 3,  3,   10, 11, 12.5, 480, 493, 492, 493.5,
                              20, 499, -1, 495, 1,  2,  250,  251, 300, 490, 100};
    for (double f : queries) {
        const std::optional<Complex> expected = MeasuredImpedanceAt(d, f);
        const std::optional<Complex> got = cursor.ImpedanceAt(f);
        ASSERT_EQ(got.has_value(), expected.has_value()) << f;
        if (expected) {
            EXPECT_EQ(*got, *expected) << f;
        }
    }
}

TEST(MeasuredData, CheckNamesWhatStoredDataGetsWrong) {
    MeasuredData d = Sample();
    EXPECT_EQ(CheckMeasuredData(d), "");
    d.points[1].frequency = 100;
    EXPECT_EQ(CheckMeasuredData(d), "the frequencies do not increase");
    d = Sample();
    d.points[0].reference = 0;
    EXPECT_EQ(CheckMeasuredData(d), "a reference impedance is not a positive number");
    d = Sample();
    d.points[0].gamma.re = std::numeric_limits<double>::infinity();
    EXPECT_EQ(CheckMeasuredData(d), "a reflection coefficient is not a finite number");
    d = Sample();
    d.points[0].frequency = -1;
    EXPECT_EQ(CheckMeasuredData(d), "a frequency is negative or not a number");
    EXPECT_EQ(CheckMeasuredData(MeasuredData{}), "no data points");
}

} // namespace
