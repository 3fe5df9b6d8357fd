#include "chart/devicecircles.h"

#include "model/devicedata.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kSegments = 240;  // points around a circle
constexpr int kTickEvery = 6;   // a tick on the unstable side every so many points
constexpr double kTick = 0.025; // tick length, as a fraction of the chart's radius

Point GammaToScreen(const SmithChrt& sc, Complex g) {
    return {
        ClampToInt32(static_cast<int64_t>(std::trunc(g.re * sc.chartRadius)) + sc.chartCentre.x),
        ClampToInt32(static_cast<int64_t>(std::trunc(g.im * sc.chartRadius)) + sc.chartCentre.y)};
}

bool OnChart(Complex g) {
    return g.re * g.re + g.im * g.im <= 1.0;
}

Pen PenOf(CircleFamily family) {
    switch (family) {
    case CircleFamily::SourceStability:
    case CircleFamily::LoadStability:
        return kStabilityCirclePen;
    case CircleFamily::AvailableGain:
        return kAvailableGainPen;
    case CircleFamily::OperatingGain:
        return kOperatingGainPen;
    case CircleFamily::Noise:
        return kNoiseCirclePen;
    }
    return kStabilityCirclePen;
}

std::string LabelOf(const DeviceCircle& c) {
    switch (c.family) {
    case CircleFamily::SourceStability:
        return "source";
    case CircleFamily::LoadStability:
        return "load";
    case CircleFamily::Noise:
        return CFormat("NF %.2f", *c.valueDb);
    default:
        return CFormat("%.2f dB", *c.valueDb);
    }
}

void DrawOne(SmithChrt& sc, const DeviceCircle& c) {
    DrawSurface& s = *sc.surface;
    const Pen previous = s.SelectPen(PenOf(c.family));
    const bool stability =
        c.family == CircleFamily::SourceStability || c.family == CircleFamily::LoadStability;
    bool down = false;
    bool labelled = false;
    for (int i = 0; i <= kSegments; ++i) {
        const double a = 2.0 * std::numbers::pi * i / kSegments;
        const Complex u{std::cos(a), std::sin(a)};
        const Complex g = c.circle.center + u * c.circle.radius;
        if (!OnChart(g)) {
            down = false;
            continue;
        }
        const Point p = GammaToScreen(sc, g);
        if (down) {
            s.LineTo(p);
        } else {
            s.MoveTo(p);
            down = true;
        }
        if (stability && i % kTickEvery == 0) {
            // A tick toward the unstable side: inward when the inside is unstable.
            const Complex tip = g + u * (c.unstableInside ? -kTick : kTick);
            s.LineTo(GammaToScreen(sc, tip));
            s.MoveTo(p);
        }
        // Labelled like the markers: only while their labels are on (never a readout line).
        if (!labelled && sc.textMarkers == 1 && i % (kSegments / 8) == kSegments / 16) {
            s.TextOut(p, LabelOf(c));
            s.MoveTo(p);
            labelled = true;
        }
    }
    s.SelectPen(previous);
}

} // namespace

std::vector<DeviceCircle> ChartDeviceCircles(const SmithChrt& sc) {
    std::vector<DeviceCircle> out;
    if (sc.device == nullptr || !sc.circles.Any()) {
        return out;
    }
    const std::optional<DevicePoint> s = DeviceAt(*sc.device, sc.frequency);
    if (!s) {
        return out;
    }
    for (DeviceCircle c : DeviceCircles(*s, DeviceNoiseAt(*sc.device, sc.frequency), sc.circles)) {
        bool flips = false;
        const std::optional<ReflectionCircle> m =
            MapCircle(c.circle, s->reference, sc.chartZ0.re, &flips);
        if (!m) {
            continue;
        }
        c.circle = *m;
        c.unstableInside = c.unstableInside != flips;
        out.push_back(c);
    }
    return out;
}

void DrawDeviceCircles(SmithChrt& sc) {
    for (const DeviceCircle& c : ChartDeviceCircles(sc)) {
        DrawOne(sc, c);
    }
}
