#pragma once

#include "chart/drawsurface.h"
#include "model/devicefigures.h"

#include <optional>
#include <vector>

class SmithChrt;

// A loaded two-port device on the chart: its circles at the analysis frequency and its readout
// line. DrawChart calls these only while a device is loaded.

/// Stability circles, with short ticks on their unstable side.
inline constexpr Pen kStabilityCirclePen{2, {40, 40, 40}};
/// Available gain circles (source plane) and operating gain circles (load plane).
inline constexpr Pen kAvailableGainPen{1, {0, 130, 0}};
inline constexpr Pen kOperatingGainPen{1, {0, 90, 200}};
/// Noise circles.
inline constexpr Pen kNoiseCirclePen{1, {150, 80, 0}};

/// The circles sc.circles asks for at sc.frequency, on the chart Z0's reflection plane; empty
/// without a device or outside its data.
std::vector<DeviceCircle> ChartDeviceCircles(const SmithChrt& sc);

/// Draws the circles clipped to the chart's rim, each labelled with its value while the markers'
/// labels are on. Needs the geometry and surface of the draw in sc.
void DrawDeviceCircles(SmithChrt& sc);
