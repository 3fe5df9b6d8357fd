#pragma once

#include "model/geometry.h"

#include <string>

class DrawSurface;
class IDateTimeText;
class SmithChrt;

/// The three header lines at the top-left of clientRect, then the chart geometry from
/// clientRect, then the grid. sc.surface and sc.clientRect must be set.
void DrawHeaderAndGrid(SmithChrt& sc, const std::string& dateTime);

/// One whole draw of the chart into the logical rectangle: white fill, header and grid, start and
/// goal markers, the network, the Q curve. With the band display on, the band's loci lie between
/// the grid and the markers and its readout line follows the others. The messages raised during the
/// draw reach sc.messages after it, each distinct one once. sc.surface is cleared again at the end.
void DrawChart(SmithChrt& sc, DrawSurface& surface, Rect logical, IDateTimeText& clock);
