#include "chart/grid.h"

#include "chart/chartgeometry.h"
#include "chart/drawsurface.h"
#include "model/smithchrt.h"

namespace {

constexpr Pen kRimPen{2, {192, 0, 0}};
constexpr Pen kImpedancePen{1, {255, 0, 0}};
constexpr Pen kAdmittancePen{1, {0, 100, 0}};

int32_t T(double v) {
    return TruncToInt32(v);
}
int32_t Add(int32_t a, int32_t b) {
    return AddCoord(a, b);
}
int32_t Neg(int32_t a) {
    return a == kInvalidCoordinate ? a : -a;
}
int32_t Twice(int32_t a) {
    return Add(a, a);
}

// Circle of centre x f on the axis and radius g.
Rect AxisCircleBox(int32_t f, int32_t cy, int32_t g) {
    return {Add(f, Neg(g)), Add(cy, g), Add(f, g), Add(cy, Neg(g))};
}

void DrawRimAndAxis(const SmithChrt& sc, DrawSurface& s) {
    const int32_t cx = sc.chartCentre.x;
    const int32_t cy = sc.chartCentre.y;
    const int32_t r = sc.rimRadius;
    const int32_t tr = T(sc.chartRadius);
    const Pen previous = s.SelectPen(kRimPen);
    s.Ellipse({Add(cx, Neg(r)), Add(cy, r), Add(cx, r), Add(cy, Neg(r))});
    s.MoveTo({Add(cx, Neg(tr)), cy});
    s.LineTo({Add(cx, tr), cy});
    s.SelectPen(previous);
}

void DrawResistanceCircles(const SmithChrt& sc, DrawSurface& s) {
    const double radius = sc.chartRadius;
    for (const double v : GRID_VALUES) {
        const double e = 1 / (v + 1);
        const int32_t f = Add(T(v * e * radius), sc.chartCentre.x);
        s.Circle(AxisCircleBox(f, sc.chartCentre.y, T(e * radius)));
    }
}

void DrawConductanceCircles(const SmithChrt& sc, DrawSurface& s) {
    const double radius = sc.chartRadius;
    for (const double v : GRID_VALUES) {
        const double g = 1 / v;
        const double d = g + 1;
        const int32_t f = Add(T(-(g / d) * radius), sc.chartCentre.x);
        s.Circle(AxisCircleBox(f, sc.chartCentre.y, T((1 / d) * radius)));
    }
}

void DrawReactanceArcs(const SmithChrt& sc, DrawSurface& s) {
    const int32_t cy = sc.chartCentre.y;
    const int32_t right = Add(sc.chartCentre.x, T(sc.chartRadius));
    const Point axisEnd{right, cy};
    for (const double v : GRID_VALUES) {
        const int32_t g = T((1 / v) * sc.chartRadius);
        const Point p = sc.ZToScreen({0, sc.chartZ0.re * v});
        s.Arc({Add(right, Neg(g)), Add(cy, Twice(g)), Add(right, g), cy}, p, axisEnd);
        const Point q = sc.ZToScreen({0, -(sc.chartZ0.re * v)});
        s.Arc({Add(right, Neg(g)), cy, Add(right, g), Add(cy, Neg(Twice(g)))}, axisEnd, q);
    }
}

void DrawSusceptanceArcs(const SmithChrt& sc, DrawSurface& s) {
    const double radius = sc.chartRadius;
    const int32_t cx = sc.chartCentre.x;
    const int32_t cy = sc.chartCentre.y;
    const int32_t centreX = Add(cx, T(-radius));
    const Point axisStart{Add(cx, Neg(sc.rimRadius)), cy};
    for (const double v : GRID_VALUES) {
        const double b = 1 / v;
        const int32_t g = T((1 / b) * radius);
        const Complex gamma = sc.ZToGamma({0, b * sc.chartZ0.re});
        const int32_t x = Add(cx, Neg(T(gamma.re * radius)));
        const int32_t dy = T(gamma.im * radius);
        const Point m{x, Add(cy, dy)};
        const Point n{x, Add(cy, Neg(dy))};
        s.Arc({Add(centreX, Neg(g)), Add(cy, Twice(g)), Add(centreX, g), cy}, axisStart, m);
        s.Arc({Add(centreX, Neg(g)), cy, Add(centreX, g), Add(cy, Neg(Twice(g)))}, n, axisStart);
    }
}

} // namespace

void DrawGrid(SmithChrt& sc) {
    DrawSurface& s = *sc.surface;
    // The same geometry and settings give the same calls, which a window's surface keeps.
    s.BeginGroup();
    DrawRimAndAxis(sc, s);
    Pen previous = s.SelectPen(kImpedancePen);
    DrawResistanceCircles(sc, s);
    if (sc.showAdmittance == 1) {
        s.SelectPen(kAdmittancePen);
        DrawConductanceCircles(sc, s);
    }
    s.SelectPen(kImpedancePen);
    DrawReactanceArcs(sc, s);
    if (sc.showAdmittance == 1) {
        s.SelectPen(kAdmittancePen);
        DrawSusceptanceArcs(sc, s);
    }
    s.SelectPen(previous);
    s.EndGroup();
}
