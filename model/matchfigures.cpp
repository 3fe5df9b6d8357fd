#include "model/matchfigures.h"

#include <cmath>

double Vswr(Complex z1, Complex z2) {
    const Complex g = (z1 - z2) / (z1 + z2);
    const double m = std::sqrt(g.re * g.re + g.im * g.im);
    return std::fabs((std::fabs(m) + 1) / (1 - std::fabs(m)));
}

double PowerWaveVswr(Complex z1, Complex z2) {
    const Complex g = (z1 - z2) / (z1 + Conjugate(z2));
    const double m = std::sqrt(g.re * g.re + g.im * g.im);
    return std::fabs((m + 1) / (1 - m));
}

double ReturnLossDb(double vswr) {
    const double mag = (vswr - 1) / (vswr + 1);
    return -20 * std::log10(mag);
}

double MismatchLossDb(double vswr) {
    const double mag = (vswr - 1) / (vswr + 1);
    return -10 * std::log10(1 - mag * mag);
}

double QOf(Complex z) {
    return std::fabs(z.im) / z.re;
}

MatchFigures ComputeMatch(Complex endZ, Complex goalZ, MatchReflection how) {
    const double s =
        how == MatchReflection::PowerWave ? PowerWaveVswr(endZ, goalZ) : Vswr(endZ, goalZ);
    return {s, ReturnLossDb(s), MismatchLossDb(s)};
}
