#include "model/smithchrt.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SmithChrt Chart800x400() {
    SmithChrt s;
    s.chartRadius = 190.0;
    s.chartCentre = {610, -200};
    return s;
}

TEST(Conversions, GammaPolarOfZ0AndShort) {
    const SmithChrt s;
    const GammaPolar centre = s.ZToGammaPolar(s.chartZ0);
    EXPECT_EQ(centre.magnitude, 0.0);
    EXPECT_EQ(centre.angle, 0.0);
    const GammaPolar shortCircuit = s.ZToGammaPolar({0, 0});
    EXPECT_EQ(shortCircuit.magnitude, 1.0);
    EXPECT_EQ(shortCircuit.angle, 180.00000000514476);
}

TEST(Conversions, SingularPointsGiveNaN) {
    const SmithChrt s;
    const Complex g = s.ZToGamma({-50, 0});
    EXPECT_TRUE(std::isnan(g.re) && std::isnan(g.im));
    const Complex z = s.GammaToZ({1, 0});
    EXPECT_TRUE(std::isnan(z.re) && std::isnan(z.im));
}

TEST(Conversions, PolarRoundTripIsCloseOnly) {
    const SmithChrt s;
    const Complex z{23, -41};
    const GammaPolar p = s.ZToGammaPolar(z);
    const Complex back = s.GammaPolarToZ(p.magnitude, p.angle);
    EXPECT_NEAR(back.re, z.re, 1e-6);
    EXPECT_NEAR(back.im, z.im, 1e-6);
}

TEST(Conversions, ScreenMappingTruncatesTowardZero) {
    const SmithChrt s = Chart800x400();
    EXPECT_EQ(s.ZToScreen(s.chartZ0), s.chartCentre);
    EXPECT_EQ(s.ZToScreen({0, 0}), (Point{610 - 190, -200}));
    EXPECT_EQ(s.ZToScreen({0, 50}), (Point{610, -200 + 190}));
    // gamma.re of 1 ohm is -49/51: -182.549... truncates to -182, not -183.
    EXPECT_EQ(s.ZToScreen({1, 0}).x, 610 - 182);
}

TEST(Conversions, ScreenToZInvertsTheWindowPixel) {
    const SmithChrt s = Chart800x400();
    const Complex z = s.ScreenToZ(610, 200);
    EXPECT_EQ(z, s.chartZ0);
    // Beside the chart the resistance is negative.
    EXPECT_LT(s.ScreenToZ(10, 200).re, 0.0);
    EXPECT_NEAR(s.ScreenDistancePercent({0, 0}, {114, 152}), 100.0, 1e-12);
}

TEST(Conversions, NonFiniteImpedancesGiveTheInvalidPoint) {
    SmithChrt s = Chart800x400();
    const Point p = s.ZToScreen({NAN, 0});
    EXPECT_EQ(p.x, kInvalidCoordinate);
    s.chartRadius = 1e300;
    EXPECT_EQ(s.ZToScreen({10, 0}).x, kInvalidCoordinate);
    // Distances between extreme points do not overflow.
    EXPECT_GT(s.ScreenDistancePercent({INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}), 0.0);
}

} // namespace
