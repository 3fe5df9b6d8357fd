#pragma once

#include "model/complex.h"

/// VSWR of z1 against z2 with the plain (not conjugate) reflection coefficient.
double Vswr(Complex z1, Complex z2);
/// Return loss in dB from a VSWR value.
double ReturnLossDb(double vswr);
/// Mismatch loss in dB from a VSWR value.
double MismatchLossDb(double vswr);
/// Q of an impedance: abs(X) / R, unguarded.
double QOf(Complex z);

/// The figures of the readout's match line.
struct MatchFigures {
    double vswr;
    double returnLossDb;
    double mismatchLossDb;
};
MatchFigures ComputeMatch(Complex endZ, Complex goalZ);
