#include "sampledocuments.h"

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
    series.resistance = 2;
    Component parallel = series;
    parallel.kind = KIND_PARALLEL_RLC;
    parallel.placement = PLACE_SHUNT;
    parallel.resistance = 500;
    Component longLine = NewLine(PLACE_TL_SERIES, 75, f);
    longLine.lineAngle = 400;                                 // beyond a turn: the angle is reduced
    Component oddPair = NewCapacitor(PLACE_TL_SERIES, 50, f); // a lumped kind placed as a line
    return {
        {"SeriesResistor", {NewResistor(PLACE_SERIES, 33)}},
        {"ShuntResistor", {NewResistor(PLACE_SHUNT, 120)}},
        {"SeriesCapacitor", {NewCapacitor(PLACE_SERIES, 50, f)}},
        {"ShuntCapacitor", {NewCapacitor(PLACE_SHUNT, 50, f)}},
        {"SeriesInductor", {NewInductor(PLACE_SERIES, 50, f)}},
        {"ShuntInductor", {NewInductor(PLACE_SHUNT, 50, f)}},
        {"SeriesLine", {NewLine(PLACE_TL_SERIES, 35, f), longLine}},
        {"OpenStub", {NewLine(PLACE_TL_SHUNT_OPEN, 50, f)}},
        {"ShortedStub", {NewLine(PLACE_TL_SHUNT_SHORTED, 50, f)}},
        {"SeriesRlc", {series}},
        {"ParallelRlcShunt", {parallel}},
        {"RlcOtherPlacements",
         {NewCompound(KIND_SERIES_RLC, PLACE_SHUNT), NewCompound(KIND_PARALLEL_RLC, PLACE_SERIES)}},
        {"LumpedAfterLine", {NewLine(PLACE_TL_SERIES, 50, f), oddPair, NewInductor(1, 20, f)}},
        {"MatchingLadder",
         {NewInductor(PLACE_SERIES, 15, f), NewCapacitor(PLACE_SHUNT, 40, f),
          NewLine(PLACE_TL_SHUNT_SHORTED, 60, f), NewResistor(PLACE_SERIES, 1),
          NewCapacitor(PLACE_SERIES, 80, f), NewLine(PLACE_TL_SHUNT_OPEN, 25, f), parallel,
          series}},
    };
}
