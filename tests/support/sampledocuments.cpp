#include "tests/support/sampledocuments.h"

SmithChrt NewDocument() {
    SmithChrt s;
    s.ResetForNewDocument();
    return s;
}

SmithChrt DocumentWith(const std::vector<Component>& components) {
    SmithChrt s = NewDocument();
    for (const Component& c : components) {
        s.AddComponent(c);
    }
    return s;
}

std::vector<SampleNetwork> SampleNetworks() {
    const double f = 435;
    Component series = NewCompound(KIND_SERIES_RLC, PLACE_SERIES);
    series.capacitance = 4.7;
    series.inductance = 28;
    Component parallel = series;
    parallel.kind = KIND_PARALLEL_RLC;
    parallel.placement = PLACE_SHUNT;
    parallel.resistance = 500;
    Component longLine = NewLine(PLACE_TL_SERIES, 75, f);
    longLine.lineAngle = 400; // beyond a turn: the angle is reduced
    // Placements: 1 series, 2 shunt, 3 series line, 4 open stub, 5 shorted stub.
    return {
        {"LumpedSeries", {NewResistor(1, 33), NewCapacitor(1, 50, f), NewInductor(1, 50, f)}},
        {"LumpedShunt", {NewResistor(2, 120), NewCapacitor(2, 50, f), NewInductor(2, 50, f)}},
        {"Lines", {NewLine(3, 35, f), longLine, NewLine(4, 50, f), NewLine(5, 50, f)}},
        {"Rlc",
         {series, parallel, NewCompound(KIND_SERIES_RLC, 2), NewCompound(KIND_PARALLEL_RLC, 1)}},
        // A lumped kind placed as a line uses the angle of the line before it.
        {"LumpedAfterLine", {NewLine(3, 50, f), NewCapacitor(3, 50, f), NewInductor(1, 20, f)}},
        {"Ladder",
         {NewInductor(1, 15, f), NewCapacitor(2, 40, f), NewLine(5, 60, f), NewResistor(1, 1),
          NewCapacitor(1, 80, f), NewLine(4, 25, f), parallel, series}},
    };
}

MeasuredData SampleMeasuredData() {
    MeasuredData d;
    d.name = "probe.s1p";
    d.points = {MeasuredPointFromGamma(100, {0.5, -0.25}, 50),
                MeasuredPointFromImpedance(200, {20, 35}, 50),
                MeasuredPointFromGamma(400, {-0.3, 0.4}, 75)};
    return d;
}
