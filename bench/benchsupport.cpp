#include "bench/benchsupport.h"

#include <iterator>
#include <limits>
#include <utility>

namespace {

SmithChrt NewChart() {
    SmithChrt sc;
    sc.ResetForNewDocument();
    return sc;
}

Component HugeLine() {
    Component c = NewLine(PLACE_TL_SERIES, 50, 1000);
    c.lineZ0 = 5e204;
    c.lineAngle = 1.6e211;
    return c;
}

// A component of the given kind and placement with every value v.
Component EveryValue(int32_t kind, int32_t placement, double v) {
    Component c;
    c.kind = kind;
    c.placement = placement;
    c.tunedElement = 1;
    c.resistance = c.capacitance = c.inductance = c.lineZ0 = c.lineAngle = c.lineFreq = v;
    return c;
}

} // namespace

SmithChrt TypicalDocument() {
    SmithChrt sc = NewChart();
    sc.title = "Typical match";
    sc.startZ = {20, -15};
    sc.goalZ = {75, 25};
    sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    sc.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    sc.AddComponent(NewLine(PLACE_TL_SERIES, 50, 1000));
    sc.AddComponent(NewLine(PLACE_TL_SHUNT_SHORTED, 50, 1000));
    sc.AddComponent(NewResistor(PLACE_SERIES, 50));
    sc.activeIndex = 2;
    return sc;
}

SmithChrt MixedDocument() {
    SmithChrt sc = NewChart();
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    sc.showAdmittance = 1;
    sc.startZ = {12.5, -8};
    const double z0 = 50;
    const double f = 1000;
    const Component cycle[] = {
        NewCapacitor(PLACE_SERIES, z0, f),      NewInductor(PLACE_SHUNT, z0, f),
        NewLine(PLACE_TL_SERIES, z0, f),        NewResistor(PLACE_SERIES, z0),
        NewLine(PLACE_TL_SHUNT_OPEN, z0, f),    NewCompound(KIND_SERIES_RLC, PLACE_SERIES),
        NewLine(PLACE_TL_SHUNT_SHORTED, z0, f), NewCompound(KIND_PARALLEL_RLC, PLACE_SHUNT),
        NewInductor(PLACE_SERIES, z0, f),       NewCapacitor(PLACE_SHUNT, z0, f),
        NewResistor(PLACE_SHUNT, z0),
    };
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        sc.AddComponent(cycle[i % std::size(cycle)]);
    }
    sc.activeIndex = 12;
    return sc;
}

SmithChrt LongTracesDocument() {
    SmithChrt sc = NewChart();
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    sc.startZ = {2, 0};
    for (int i = 0; i < MAX_COMPONENTS; ++i) {
        Component c = NewLine(i % 2 == 0 ? PLACE_TL_SERIES : PLACE_TL_SHUNT_OPEN, 50, 1000);
        c.lineZ0 = i % 2 == 0 ? 1000 : 2;
        c.lineAngle = 170;
        sc.AddComponent(c);
    }
    return sc;
}

SmithChrt HostileDocument() {
    SmithChrt sc = NewChart();
    sc.showQArcs = 1;
    sc.showVswrCircles = true;
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 20; ++i) {
        sc.AddComponent(i % 2 == 0 ? HugeLine() : NewResistor(PLACE_SHUNT, 50));
    }
    sc.AddComponent(EveryValue(KIND_CAPACITOR, PLACE_SHUNT, 1e308));
    sc.AddComponent(EveryValue(KIND_INDUCTOR, PLACE_SERIES, -1e308));
    sc.AddComponent(EveryValue(KIND_TLINE, PLACE_TL_SHUNT_OPEN, kInf));
    sc.AddComponent(EveryValue(KIND_PARALLEL_RLC, PLACE_SHUNT, -kInf));
    sc.AddComponent(EveryValue(KIND_SERIES_RLC, PLACE_SERIES, kNaN));
    return sc;
}

std::vector<BenchDocument> SuiteDocuments() {
    return {{"Typical5", TypicalDocument()},
            {"Mixed25", MixedDocument()},
            {"LongTraces25", LongTracesDocument()},
            {"Hostile25", HostileDocument()}};
}

Pen CountingSurface::SelectPen(Pen p) {
    return std::exchange(pen, p);
}

Brush CountingSurface::SelectBrush(Brush b) {
    return std::exchange(brush, b);
}

Rgb CountingSurface::SetTextColour(Rgb c) {
    return std::exchange(text, c);
}
