#pragma once

#include "model/complex.h"

#include <cstdint>

class SmithChrt;

/// Marker kinds of DrawMarker.
enum : int32_t {
    MARK_START = 1,
    MARK_END = 2,
    MARK_GOAL = 3,
    MARK_NODE = 4,
};

/// Upper bounds that keep every trace finite whatever the values: accepted points per trace and
/// step evaluations per trace (the adjustments of one point are bounded separately at 5001).
inline constexpr int kMaxTracePoints = 20000;
inline constexpr int kMaxTraceTrials = 100000;

/// Walks the network from startZ, drawing each component's trace, readout line and junction
/// marker, then the ending marker, the goal circle, the goal marker and the closing lines.
/// Writes endZ, maxNetworkQ, plottingActive, tracePoints and labelPoints. False when a component
/// has an unknown kind.
bool PlotComponents(SmithChrt& sc);

/// Draws the trace of one element by adaptive stepping and returns its output impedance; a line
/// losing lineLoss nepers per degree curves inward along its whole length.
Complex PlotComponentTrace(SmithChrt& sc, Complex zin, Complex ze, int32_t placement, double theta,
                           double lineLoss = 0);

/// Straight line between the chart points of two impedances; skipped when either has no point.
void DrawImpedanceSegment(SmithChrt& sc, Complex from, Complex to);

void DrawMarker(SmithChrt& sc, Complex z, int32_t kind);

/// Circle centred on the goal's point through the ending point.
void DrawVswrCircle(SmithChrt& sc, Complex endZ, Complex goalZ);

/// The curve abs(X) / R = min(maxNetworkQ, 10) above and below the axis.
void DrawQCurve(SmithChrt& sc);
