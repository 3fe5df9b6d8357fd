#pragma once

#include "model/geometry.h"

#include <cstdint>

/// Where the chart lies inside a drawing rectangle.
struct ChartGeometry {
    double chartRadius = 0.0; ///< exact radius of the unit circle
    int32_t rimRadius = 0;    ///< the same in whole units
    Point chartCentre;
};

/// The chart in a logical rectangle (top above bottom): the shorter side sets the radius, the
/// chart touches the right edge and is centred vertically.
ChartGeometry ComputeChartGeometry(Rect logical);

/// The part of printRect (device units) with the proportions of a client area of cw x ch pixels,
/// on a printer whose dots are k times as high as wide. A client area of zero or negative size
/// has no proportions: the whole of printRect is used.
Rect ApplyPrintingRule(int32_t cw, int32_t ch, Rect printRect, double k);

/// A device rectangle (y downward) in logical units (y upward).
Rect DeviceToLogical(Rect device);

/// Adds coordinates; an invalid operand or an out-of-range sum gives kInvalidCoordinate.
int32_t AddCoord(int32_t a, int32_t b);
/// True when neither coordinate of p is kInvalidCoordinate.
constexpr bool IsValidPoint(Point p) {
    return p.x != kInvalidCoordinate && p.y != kInvalidCoordinate;
}
/// True when no corner coordinate is kInvalidCoordinate.
bool IsValidRect(const Rect& r);
