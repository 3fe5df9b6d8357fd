#pragma once

#include "model/complex.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <vector>

class SmithChrt;
struct BandSettings;

/// The starting and goal impedance (ohm) at a band frequency (MHz). An empty function stands
/// for the document's own: the value of its bound data at that frequency (NaN outside the data's
/// range), else its fixed startZ or goalZ. A function may give NaN where it has no value: that
/// point's results are then NaN.
struct BandLoads {
    std::function<Complex(double)> start;
    std::function<Complex(double)> goal;
};

/// The network across the band, one entry per frequency in every per-point vector.
struct BandResult {
    std::vector<double> frequencies; ///< MHz, from low to high, both ends exact
    std::vector<Complex> endZ;       ///< ohm, the impedance after the last component
    std::vector<double> vswr;        ///< of endZ against the goal, as the readout computes it
    std::vector<double> returnLossDb;
    std::vector<double> mismatchLossDb;

    /// Number of junction loci held: the component count when they were asked for, else 0.
    int32_t junctionCount = 0;
    /// Impedance after component i at point k, at [i * size() + k]; see JunctionLocus.
    std::vector<Complex> junctionZ;

    /// False when the cascade cannot be evaluated (a component of unknown kind): every value is
    /// then NaN.
    bool evaluated = false;
    /// The point of highest VSWR, points with a NaN VSWR left out; -1 when there is none.
    int32_t worstIndex = -1;
    double worstVswr = std::numeric_limits<double>::quiet_NaN();
    double worstFrequency = std::numeric_limits<double>::quiet_NaN(); ///< MHz
    /// The return loss at the worst point: the band's lowest, as it falls while VSWR rises.
    double worstReturnLossDb = std::numeric_limits<double>::quiet_NaN();

    size_t size() const { return frequencies.size(); }
    /// The locus after component i (0-based, network order) across the band.
    std::span<const Complex> JunctionLocus(int32_t i) const {
        return std::span<const Complex>(junctionZ).subspan(static_cast<size_t>(i) * size(), size());
    }
};

/// Frequency k (0 .. points - 1) of a band: band.Grid().At(k).
double BandFrequency(const BandSettings& band, int32_t k);

/// Evaluates chart's network at every frequency of chart.band exactly as the draw does at the
/// analysis frequency (the same element formulas and step functions), starting from loads.start
/// and comparing with loads.goal. Evaluation only: chart is not changed (no maxNetworkQ, endZ or
/// messages). With an empty network the ending impedance is the starting one. A band that is not
/// set or fails CheckBand gives an empty result. The result's vectors are reused, so a caller
/// that keeps one BandResult allocates nothing after the first call of a given size.
void EvaluateBand(const SmithChrt& chart, BandResult& result, const BandLoads& loads = {},
                  bool junctions = false);
/// The same, returning a fresh result.
BandResult EvaluateBand(const SmithChrt& chart, const BandLoads& loads = {},
                        bool junctions = false);
/// The same evaluation at any frequencies (MHz, each above 0, in any order; not result's own
/// vector), whatever the document's band: the CLI's sweep evaluates its grid through it, a slice
/// at a time.
void EvaluateAtFrequencies(const SmithChrt& chart, std::span<const double> frequencies,
                           BandResult& result, const BandLoads& loads = {}, bool junctions = false);
