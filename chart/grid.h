#pragma once

#include <array>

class SmithChrt;

/// The normalised values every grid line is made from.
inline constexpr std::array<double, 11> GRID_VALUES{0.1,    0.2, 0.333, 0.5, 0.75, 1.0,
                                                    1.3333, 2.0, 3.0,   5.0, 10.0};

/// Rim, axis, resistance circles and reactance arcs, and the conductance circles and susceptance
/// arcs when the admittance display is on; from the geometry already in sc.
void DrawGrid(SmithChrt& sc);
