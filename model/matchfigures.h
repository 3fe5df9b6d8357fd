#pragma once

#include "model/complex.h"

/// VSWR of z1 against z2 with the plain (not conjugate) reflection coefficient.
double Vswr(Complex z1, Complex z2);
/// VSWR of z1 against z2 from the power-wave reflection coefficient
/// (z1 - z2) / (z1 + conj(z2)) (Kurokawa; Pozar, Microwave Engineering, 4th ed., eq. 2.73 for
/// the conjugate match): the mismatch a port of impedance conj(z2) really sees. For a real z2 it
/// is exactly Vswr(z1, z2).
double PowerWaveVswr(Complex z1, Complex z2);
/// Return loss in dB from a VSWR value.
double ReturnLossDb(double vswr);
/// Mismatch loss in dB from a VSWR value.
double MismatchLossDb(double vswr);
/// Q of an impedance: abs(X) / R, unguarded.
double QOf(Complex z);

/// How the ending impedance is compared with the goal: plainly, as for a typed goal, or by the
/// power-wave reflection, as for a goal that is the conjugate of a load's data.
enum class MatchReflection { Plain, PowerWave };

/// A return loss above this is the rounding noise of an exact match (|gamma| below 1e-10, where two
/// evaluations of one network may differ), shown in words ("perfect match") wherever the specified
/// lines allow it.
inline constexpr double kPerfectMatchDb = 200;

/// The figures of the readout's match line.
struct MatchFigures {
    double vswr;
    double returnLossDb;
    double mismatchLossDb;
};
MatchFigures ComputeMatch(Complex endZ, Complex goalZ,
                          MatchReflection how = MatchReflection::Plain);
