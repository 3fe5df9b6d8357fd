#pragma once

#include "model/complex.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class SmithChrt;

/// The four lossy-reactive terminations the limit is known for.
enum class TerminationModel { SeriesRC, ParallelRC, SeriesRL, ParallelRL };
const char* TerminationModelName(TerminationModel m); ///< "series RC", ...

/// A termination model fitted to impedances over a band.
struct TerminationFit {
    TerminationModel model = TerminationModel::SeriesRC;
    double r = 0;        ///< ohm
    double reactive = 0; ///< pF for the RC models, nH for the RL ones
    /// sqrt(sum |Z - Zmodel|^2 / sum |Z|^2) over the fitted points.
    double relativeError = 0;
};

/// The best least-squares fit of the four models to z at frequencies (MHz): each model is linear
/// in its resistance (or conductance) and in C, 1/C, L or 1/L, fitted in impedance (series) or
/// admittance (parallel), and the fits are compared by their relative error in impedance. Points
/// with a NaN impedance are left out; nullopt when fewer than two points remain or no model
/// gives a positive R and C or L.
std::optional<TerminationFit> FitTermination(std::span<const double> frequencies,
                                             std::span<const Complex> z);

/// The Bode-Fano limit for a fitted termination over low..high MHz.
struct BodeFanoLimit {
    bool fromStart = true; ///< the starting impedance's data; else the goal's
    TerminationFit fit;
    double minReflection = 0; ///< the smallest |Gamma| a lossless network holds flat in band
    double minVswr = 0;
    double maxReturnLossDb = 0;
};

/// Pozar, Microwave Engineering, section 5.9: the smallest flat in-band reflection for fit over
/// low..high MHz. Parallel RC: Gm = exp(-pi / (dw R C)); series RC: exp(-pi R C / (1/w1 - 1/w2));
/// series RL: exp(-pi R / (dw L)); parallel RL: exp(-pi L / (R (1/w1 - 1/w2))).
BodeFanoLimit BodeFanoFor(const TerminationFit& fit, double low, double high);

/// The readout's Bode-Fano line for chart, for example
/// "Bode-Fano start series RC 25.0 ohm 4.00 pF (fit 0.1%): VSWR>=1.23, RL<=19.8dB", or
/// "Bode-Fano: no termination bound to data" when there is no limit.
std::string BodeFanoLine(const SmithChrt& chart);

/// Sets chart's Bode-Fano working fields: with shown, bodeFanoLine to BodeFanoLine and
/// bodeFanoVswr to the limit's smallest VSWR (0 without a limit); else both to none.
void ShowBodeFano(SmithChrt& chart, bool shown);

/// The limit for chart's termination bound to data (the starting impedance's, else the goal's)
/// over its band; nullopt with no band, no bound data or no model fitted. Typed impedances are
/// constant and get none.
std::optional<BodeFanoLimit> DocumentBodeFano(const SmithChrt& chart);
