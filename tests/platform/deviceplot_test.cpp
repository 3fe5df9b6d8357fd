// The device plot of the response panel: its figures against Rollett's K computed here, at the
// device's own frequencies or across the band, and what its series show.
#include "model/devicebinding.h"
#include "model/smithchrt.h"
#include "platform/plot/deviceplot.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>

namespace {

using C = std::complex<double>;

C Polar(double magnitude, double degrees) {
    return std::polar(magnitude, degrees * std::numbers::pi / 180);
}

Complex Of(C z) {
    return {z.real(), z.imag()};
}

// Pozar's FET (example 12.4) around 4 GHz, unconditionally stable there, with noise data over
// part of the range only.
std::shared_ptr<DeviceData> Fet() {
    auto d = std::make_shared<DeviceData>();
    d->name = "fet.s2p";
    const double f[] = {3000, 4000, 5000};
    const double s11[] = {-105, -116, -128};
    for (int i = 0; i < 3; ++i) {
        d->points.push_back({f[i], Of(Polar(0.75 - 0.03 * i, s11[i])),
                             Of(Polar(0.028 + 0.002 * i, 57)), Of(Polar(2.85 - 0.25 * i, 76)),
                             Of(Polar(0.76 - 0.03 * i, -54)), 50});
    }
    d->noise = {{3500, 1.5, {0.1, 0.5}, 20, 50}, {4500, 1.7, {0.1, 0.5}, 20, 50}};
    return d;
}

// Rollett's stability factor, Pozar (12.20a).
double RollettK(const DevicePoint& p) {
    const C s11(p.s11.re, p.s11.im), s12(p.s12.re, p.s12.im), s21(p.s21.re, p.s21.im),
        s22(p.s22.re, p.s22.im);
    const C delta = s11 * s22 - s12 * s21;
    return (1 - std::norm(s11) - std::norm(s22) + std::norm(delta)) / (2 * std::abs(s12 * s21));
}

SmithChrt WithFet() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    sc.frequency = 4000;
    LoadDevice(sc, Fet());
    return sc;
}

TEST(DevicePlotFigures, AtTheDevicesOwnPointsWhileTheBandIsOff) {
    const SmithChrt sc = WithFet();
    const DevicePlotData d = DevicePlotFigures(sc);
    ASSERT_EQ(d.frequencies, std::vector<double>({3000, 4000, 5000}));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(d.k[i], RollettK(sc.device->points[i]), 1e-12) << i;
        EXPECT_TRUE(std::isfinite(d.mu[i]));
        EXPECT_TRUE(std::isfinite(d.maxGainDb[i]));
    }
    // Noise data covers 3.5 to 4.5 GHz only.
    EXPECT_TRUE(std::isnan(d.fminDb[0]));
    EXPECT_DOUBLE_EQ(d.fminDb[1], 1.6);
    EXPECT_TRUE(std::isnan(d.fminDb[2]));
}

TEST(DevicePlotFigures, AcrossTheBandWithNoValueOutsideTheData) {
    SmithChrt sc = WithFet();
    sc.band = {2500, 4500, 5, true, false};
    const DevicePlotData d = DevicePlotFigures(sc);
    ASSERT_EQ(d.frequencies, std::vector<double>({2500, 3000, 3500, 4000, 4500}));
    EXPECT_TRUE(std::isnan(d.k[0]) && std::isnan(d.mu[0]) && std::isnan(d.maxGainDb[0]));
    EXPECT_NEAR(d.k[3], RollettK(sc.device->points[1]), 1e-12);
    EXPECT_DOUBLE_EQ(d.fminDb[4], 1.7);

    sc.device.reset();
    EXPECT_TRUE(DevicePlotFigures(sc).frequencies.empty());
}

TEST(DevicePlot, ShowsTheFiguresThatExistAndChangesOnlyWhenTheyDo) {
    QChart chart;
    CDevicePlotContent content(chart);
    SmithChrt sc = WithFet();
    ASSERT_TRUE(content.Update(sc));
    EXPECT_FALSE(content.Update(sc));
    EXPECT_EQ(content.KSeries()->count(), 3);
    EXPECT_EQ(content.GainSeries()->count(), 3);
    EXPECT_EQ(content.FminSeries()->count(), 1) << "Fmin only where there is noise data";
    EXPECT_NEAR(content.KSeries()->at(1).y(), RollettK(sc.device->points[1]), 1e-12);
    EXPECT_EQ(content.FactorAxis()->min(), 0);
    EXPECT_GE(content.FactorAxis()->max(), 2);
    EXPECT_GE(content.DbAxis()->max(), content.GainSeries()->at(0).y());

    sc.frequency = 4100;
    EXPECT_TRUE(content.Update(sc)) << "the analysis frequency moved";
    sc.band = {3000, 5000, 21, true, false};
    ASSERT_TRUE(content.Update(sc));
    EXPECT_EQ(content.KSeries()->count(), 21);
    EXPECT_EQ(content.FminSeries()->count(), 11);
}

} // namespace
