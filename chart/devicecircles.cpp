#include "chart/devicecircles.h"

#include "chart/chartgeometry.h"
#include "model/devicedata.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <array>
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

// The unit vectors of the circles' points, made once: every circle of every draw walks them.
const std::array<Complex, kSegments + 1>& UnitCircle() {
    static const std::array<Complex, kSegments + 1> points = [] {
        std::array<Complex, kSegments + 1> p;
        for (int i = 0; i <= kSegments; ++i) {
            const double a = 2.0 * std::numbers::pi * i / kSegments;
            p[i] = {std::cos(a), std::sin(a)};
        }
        return p;
    }();
    return points;
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

// A label is tried first at the point of its circle nearest the chart's centre, then at points
// further round on either side, this many segments apart, until it overlaps no earlier label.
constexpr int kLabelStep = 4;

// The box a text takes at p (its top-left corner), in logical units (y upward).
struct LabelBox {
    int32_t left, top, right, bottom;
    bool Overlaps(const LabelBox& o) const {
        return left < o.right && o.left < right && bottom < o.top && o.bottom < top;
    }
};

int PreferredLabelIndex(const DeviceCircle& c) {
    const double a = std::atan2(-c.circle.center.im, -c.circle.center.re);
    const int i = static_cast<int>(std::lround(a / (2.0 * std::numbers::pi) * kSegments));
    return (i % kSegments + kSegments) % kSegments;
}

void DrawOne(SmithChrt& sc, const DeviceCircle& c) {
    DrawSurface& s = *sc.surface;
    const bool stability =
        c.family == CircleFamily::SourceStability || c.family == CircleFamily::LoadStability;
    bool down = false;
    for (int i = 0; i <= kSegments; ++i) {
        const Complex u = UnitCircle()[i];
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
    }
}

// Labels the circle with its value where the label overlaps none of taken (else where it is
// first on the chart), and adds its box to taken.
void LabelOne(SmithChrt& sc, const DeviceCircle& c, std::vector<LabelBox>& taken) {
    DrawSurface& s = *sc.surface;
    const std::string text = LabelOf(c);
    const int32_t width = s.TextWidth(text);
    const int32_t height = s.GetTextMetrics().height;
    const int preferred = PreferredLabelIndex(c);
    std::optional<LabelBox> first;
    for (int k = 0; k * kLabelStep <= kSegments; ++k) {
        const int offset = (k % 2 == 0 ? 1 : -1) * ((k + 1) / 2) * kLabelStep;
        const int i = ((preferred + offset) % kSegments + kSegments) % kSegments;
        const Complex g = c.circle.center + UnitCircle()[i] * c.circle.radius;
        if (!OnChart(g)) {
            continue;
        }
        const Point p = GammaToScreen(sc, g);
        const LabelBox box{p.x, p.y, AddCoord(p.x, width), AddCoord(p.y, -height)};
        if (!first) {
            first = box;
        }
        if (std::none_of(taken.begin(), taken.end(),
                         [&box](const LabelBox& t) { return t.Overlaps(box); })) {
            first = box;
            break;
        }
    }
    if (first) {
        s.TextOut({first->left, first->top}, text);
        taken.push_back(*first);
    }
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
    const std::vector<DeviceCircle> circles = ChartDeviceCircles(sc);
    if (circles.empty()) {
        return;
    }
    // One pen a family: the circles come family by family.
    const Pen previous = sc.surface->SelectPen(PenOf(circles.front().family));
    Pen current = PenOf(circles.front().family);
    for (const DeviceCircle& c : circles) {
        if (!(PenOf(c.family) == current)) {
            current = PenOf(c.family);
            sc.surface->SelectPen(current);
        }
        DrawOne(sc, c);
    }
    sc.surface->SelectPen(previous);
    // Labelled like the markers: only while their labels are on (never a readout line).
    if (sc.textMarkers == 1) {
        std::vector<LabelBox> taken;
        for (const DeviceCircle& c : circles) {
            LabelOne(sc, c, taken);
        }
    }
}
