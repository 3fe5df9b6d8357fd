#pragma once

#include "model/complex.h"
#include "model/component.h"
#include "model/constants.h"

// The element formulas, inline for the loops over a band's points; the functions of the same
// names in component.h are these.
namespace element_formula {

inline double CapacitorReactance(double f, double c) {
    return -1 / (f * c * kTwoPiEm6);
}

inline double InductorReactance(double f, double l) {
    return f * l * kTwoPiEm3;
}

inline Complex ParallelRlcImpedance(const Component& c, double f) {
    const Complex r{c.resistance, 0};
    const Complex jxl{0, c.inductance * f * kTwoPiEm3};
    const Complex jxc{0, -1 / (c.capacitance * f * kTwoPiEm6)};
    const Complex e = (r * jxl) / (r + jxl);
    return (e * jxc) / (e + jxc);
}

inline Complex SeriesRlcImpedance(const Component& c, double f) {
    const Complex r{c.resistance, 0};
    const Complex jxl{0, c.inductance * f * kTwoPiEm3};
    const Complex jxc{0, -1 / (c.capacitance * f * kTwoPiEm6)};
    return (r + jxl) + jxc;
}

inline Complex ElementImpedance(const Component& c, double f) {
    const Complex r{c.resistance, 0};
    switch (c.kind) {
    case KIND_RESISTOR:
        return r;
    case KIND_CAPACITOR:
        return {0, CapacitorReactance(f, c.capacitance)};
    case KIND_INDUCTOR:
        return {0, InductorReactance(f, c.inductance)};
    case KIND_TLINE:
        return {c.lineZ0, 0};
    case KIND_PARALLEL_RLC:
        return ParallelRlcImpedance(c, f);
    case KIND_SERIES_RLC:
        return SeriesRlcImpedance(c, f);
    default:
        return {0, 0};
    }
}

} // namespace element_formula
