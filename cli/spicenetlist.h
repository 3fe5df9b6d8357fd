#pragma once

#include <string>

class SmithChrt;

/// A netlist, or the reason the network has none.
struct SpiceNetlist {
    std::string text;
    std::string error; ///< empty when text holds the netlist
};

/// The node whose voltage, with the 1 A source of the netlist, is the ending impedance.
inline constexpr const char* kSpiceLoadNode = "load";

/// An ngspice netlist of doc's network for one AC analysis at the analysis frequency: the
/// starting impedance terminates the generator end, each component connects as the evaluation
/// connects it, a 1 A AC source feeds the load end, and a .print gives the real and imaginary
/// part of the load node's voltage.
SpiceNetlist WriteSpiceNetlist(const SmithChrt& doc);
