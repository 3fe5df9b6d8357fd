#pragma once

#include "chart/drawsurface.h"

#include <optional>
#include <string>

class SmithChrt;

// Measured loads on the chart: the locus of each bound data set and the readout's line naming
// the bound data. DrawChart calls these whatever the band display; with no data bound they draw
// and write nothing.

/// The data's own locus: thin, in a colour no other curve of the chart uses.
inline constexpr Pen kMeasuredLocusPen{2, {230, 120, 0}};

/// Draws the locus of each bound data set (MeasuredLocus: across the band while the band display
/// is on, else across the data's range); the goal's is the conjugate of its data's, the goal's
/// own values. Needs the geometry and surface of the draw in sc.
void DrawMeasuredLoci(SmithChrt& sc);

/// The readout line that names the bound data, for example "Measured data: start dipole.s1p,
/// goal conjugate of amp.s2p (port 2)"; nothing when no data is bound.
std::optional<std::string> MeasuredDataLine(const SmithChrt& sc);
