// The device's circles as the window draws them, checked pixel by pixel against circles computed
// here from the textbook formulas, and the unstable side's ticks against the definition of
// instability: a reflection beyond 1 at the other port.
#include "chart/chartgeometry.h"
#include "chart/datetimetext.h"
#include "chart/devicecircles.h"
#include "chart/drawchart.h"
#include "chart/recordingsurface.h"
#include "model/devicebinding.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/cqtpaintersurface.h"
#include "tests/support/sampledocuments.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <numbers>
#include <ostream>
#include <string>

namespace {

using C = std::complex<double>;

C Polar(double magnitude, double degrees) {
    return std::polar(magnitude, degrees * std::numbers::pi / 180);
}

struct TwoPort {
    const char* name;
    C s11, s12, s21, s22; ///< on 50 ohm
    double chartZ0 = 50;
};

void PrintTo(const TwoPort& d, std::ostream* out) {
    *out << d.name;
}

// A reflection on 50 ohm as the reflection of the same impedance on z0, and back.
C ToChart(C g, double z0) {
    const C z = 50.0 * (1.0 + g) / (1.0 - g);
    return (z - z0) / (z + z0);
}
C FromChart(C g, double z0) {
    const C z = z0 * (1.0 + g) / (1.0 - g);
    return (z - 50.0) / (z + 50.0);
}

// Pozar's potentially unstable GaAs MESFET at 1.9 GHz (Microwave Engineering, 4th ed., example
// 12.2), whose circles hold the unstable region, and a device whose circles hold the chart's
// centre, so that the unstable region lies outside them.
const TwoPort kDevices[] = {
    {"UnstableInside", Polar(0.869, -159), Polar(0.031, -9), Polar(4.250, 61), Polar(0.507, -117)},
    {"UnstableOutside", Polar(0.27, -170), Polar(0.43, -24), Polar(4.81, -179), Polar(0.53, 80)},
    // The same on a chart of 75 ohm and of 20 ohm: the circles move, the sides go with them.
    {"UnstableInsideOn75Ohm", Polar(0.869, -159), Polar(0.031, -9), Polar(4.250, 61),
     Polar(0.507, -117), 75},
    {"UnstableOutsideOn20Ohm", Polar(0.27, -170), Polar(0.43, -24), Polar(4.81, -179),
     Polar(0.53, 80), 20},
};

struct Circle {
    C centre;
    double radius;
    /// True where a reflection presented to the device's port makes the other port's
    /// reflection exceed 1.
    std::function<bool(C)> unstable;
};

// The circle through three points of c mapped to the chart of z0 (a circle stays a circle), with
// its test of instability taken there.
Circle OnChart(const Circle& c, double z0) {
    const C a = ToChart(c.centre + Polar(c.radius, 0), z0);
    const C b = ToChart(c.centre + Polar(c.radius, 120), z0);
    const C e = ToChart(c.centre + Polar(c.radius, 240), z0);
    // The circumcentre of a, b, e.
    const double d = 2 * (a.real() * (b.imag() - e.imag()) + b.real() * (e.imag() - a.imag()) +
                          e.real() * (a.imag() - b.imag()));
    const C centre{(std::norm(a) * (b.imag() - e.imag()) + std::norm(b) * (e.imag() - a.imag()) +
                    std::norm(e) * (a.imag() - b.imag())) /
                       d,
                   (std::norm(a) * (e.real() - b.real()) + std::norm(b) * (a.real() - e.real()) +
                    std::norm(e) * (b.real() - a.real())) /
                       d};
    return {centre, std::abs(a - centre),
            [unstable = c.unstable, z0](C g) { return unstable(FromChart(g, z0)); }};
}

// The output (load plane) and input (source plane) stability circles, Pozar (12.12) and (12.13):
// C_L = (S22 - Delta S11*)* / (|S22|^2 - |Delta|^2), R_L = |S12 S21| / ||S22|^2 - |Delta|^2|, and
// the same with the ports swapped.
std::vector<Circle> StabilityCircles(const TwoPort& d) {
    const C delta = d.s11 * d.s22 - d.s12 * d.s21;
    auto circle = [&](C sii, C sjj, std::function<bool(C)> unstable) {
        const double den = std::norm(sjj) - std::norm(delta);
        return Circle{std::conj(sjj - delta * std::conj(sii)) / den, std::abs(d.s12 * d.s21 / den),
                      std::move(unstable)};
    };
    // Pozar (12.3a) and (12.3b): the reflections looking into each port.
    const auto gammaIn = [d](C gl) { return d.s11 + d.s12 * d.s21 * gl / (1.0 - d.s22 * gl); };
    const auto gammaOut = [d](C gs) { return d.s22 + d.s12 * d.s21 * gs / (1.0 - d.s11 * gs); };
    std::vector<Circle> circles{
        circle(d.s11, d.s22, [gammaIn](C g) { return std::abs(gammaIn(g)) > 1; }),
        circle(d.s22, d.s11, [gammaOut](C g) { return std::abs(gammaOut(g)) > 1; })};
    for (Circle& c : circles) {
        c = OnChart(c, d.chartZ0);
    }
    return circles;
}

Complex ToComplex(C z) {
    return {z.real(), z.imag()};
}

SmithChrt ChartWith(const TwoPort& d) {
    SmithChrt sc = DocumentWith({});
    sc.frequency = 1900;
    sc.chartZ0 = {d.chartZ0, 0};
    auto device = std::make_shared<DeviceData>();
    device->name = d.name;
    for (const double f : {1800.0, 2000.0}) {
        device->points.push_back(
            {f, ToComplex(d.s11), ToComplex(d.s12), ToComplex(d.s21), ToComplex(d.s22), 50});
    }
    LoadDevice(sc, device);
    sc.circles.stability = true;
    sc.textMarkers = 0; // no labels over the circles
    return sc;
}

class DeviceCirclePixels : public ::testing::TestWithParam<TwoPort> {
protected:
    void SetUp() override {
        sc = ChartWith(GetParam());
        image = QImage(900, 700, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DrawChartOnWindow(sc, painter, image.size(), image.rect(), clock, nullptr, 1.0);
    }

    /// The reflection at the centre of pixel (x, y): the chart's geometry maps reflection 0 to
    /// sc.chartCentre and a unit to sc.chartRadius, in logical units whose y is the pixel row
    /// negated.
    C GammaAt(int x, int y) const {
        return {(x - sc.chartCentre.x) / sc.chartRadius, (-y - sc.chartCentre.y) / sc.chartRadius};
    }
    QPoint PixelOf(C g) const {
        return {static_cast<int>(std::lround(sc.chartCentre.x + g.real() * sc.chartRadius)),
                static_cast<int>(std::lround(-(sc.chartCentre.y + g.imag() * sc.chartRadius)))};
    }
    bool IsCircleColour(int x, int y) const {
        const Rgb c = kStabilityCirclePen.colour;
        return image.valid(x, y) && image.pixel(x, y) == qRgb(c.r, c.g, c.b);
    }
    bool NearCircleColour(QPoint p) const {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (IsCircleColour(p.x() + dx, p.y() + dy)) {
                    return true;
                }
            }
        }
        return false;
    }

    FixedDateTimeText clock{std::string("09.12.2026 03:00")};
    SmithChrt sc;
    QImage image;
};

TEST_P(DeviceCirclePixels, TheCirclesLieWhereTheFormulasPutThem) {
    for (const Circle& c : StabilityCircles(GetParam())) {
        int sampled = 0;
        int hit = 0;
        for (int degree = 0; degree < 360; ++degree) {
            const C g = c.centre + Polar(c.radius, degree);
            if (std::abs(g) > 0.97) {
                continue; // clipped at the rim, or drawn over by it
            }
            ++sampled;
            hit += NearCircleColour(PixelOf(g)) ? 1 : 0;
        }
        ASSERT_GT(sampled, 30);
        EXPECT_GE(hit, sampled * 97 / 100) << "of " << sampled << " points on the circle";
    }
}

TEST_P(DeviceCirclePixels, TheTicksStandOnTheUnstableSide) {
    const std::vector<Circle> circles = StabilityCircles(GetParam());
    const double ring = 0.025 * sc.chartRadius; // as long as a tick
    for (size_t i = 0; i < circles.size(); ++i) {
        const Circle& c = circles[i];
        const Circle& other = circles[1 - i];
        int unstableSide = 0;
        int stableSide = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const C g = GammaAt(x, y);
                const double off = std::abs(std::abs(g - c.centre) - c.radius) * sc.chartRadius;
                const double offOther =
                    std::abs(std::abs(g - other.centre) - other.radius) * sc.chartRadius;
                // Beside this circle's line, not on it, and clear of the other circle's ticks.
                if (off < 3.5 || off > ring || offOther < ring + 3 || std::abs(g) > 0.95 ||
                    !IsCircleColour(x, y)) {
                    continue;
                }
                (c.unstable(g) ? unstableSide : stableSide) += 1;
            }
        }
        EXPECT_GT(unstableSide, 5) << "circle " << i;
        EXPECT_LE(stableSide, 2) << "circle " << i << " has " << unstableSide
                                 << " on its other side";
    }
}

// Every family on at once: the circles' labels stand apart from each other.
TEST(DeviceCircleLabels, NoneOverlapsAnother) {
    // Pozar's FET at 4 GHz (example 12.4), with noise parameters: eleven labelled circles.
    TwoPort fet{"Fet", Polar(0.72, -116), Polar(0.03, 57), Polar(2.60, 76), Polar(0.73, -54)};
    SmithChrt sc = ChartWith(fet);
    auto device = std::make_shared<DeviceData>(*sc.device);
    device->noise = {{1800, 1.6, ToComplex(Polar(0.62, 100)), 20, 50},
                     {2000, 1.6, ToComplex(Polar(0.62, 100)), 20, 50}};
    LoadDevice(sc, device);
    sc.circles = {true, true, true, true};
    sc.textMarkers = 1;
    QImage image(900, 700, QImage::Format_RGB32);
    QPainter painter(&image);
    CQtPainterSurface surface(&painter, {0, 0});
    RecordingSurface recording(surface.GetTextMetrics());
    FixedDateTimeText clock{std::string("09.12.2026 03:00")};
    DrawChart(sc, recording, DeviceToLogical({0, 0, 900, 700}), clock);
    const int32_t height = surface.GetTextMetrics().height;
    std::vector<QRect> boxes;
    for (const DrawCall& call : recording.calls) {
        const std::string& t = call.text;
        const bool circleLabel =
            call.op == DrawCall::Op::Text && (t.starts_with("NF ") || t.ends_with(" dB"));
        if (circleLabel) {
            boxes.emplace_back(call.to.x, -call.to.y, surface.TextWidth(t), height);
        }
    }
    ASSERT_EQ(boxes.size(), 10u) << "three and three gain circles, four noise circles";
    for (size_t i = 0; i < boxes.size(); ++i) {
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(boxes[i].intersects(boxes[j])) << i << " and " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceCirclePixels, ::testing::ValuesIn(kDevices),
                         [](const ::testing::TestParamInfo<TwoPort>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
