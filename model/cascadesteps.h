#pragma once

#include <cstddef>

// The steps of the band cascade (bandcascade.h) over all points at once: each changes the terms
// of the impedance N / D at every point as one component does, from that component's terms at
// each point (planes of padded values, real and imaginary parts apart), two points at a time.

/// N and D at every point (padded to whole pairs) and, for the transducer gain, the product of
/// the steps' |determinant| where a step scales the chain matrix's terms.
struct CascadeState {
    double* nr;
    double* ni;
    double* dr;
    double* di;
    double* s2;
    size_t padded;
    bool twoPort;
};

/// Series impedance z (p0 + j p1): N + z D.
void SeriesStep(const CascadeState& s, const double* p0, const double* p1);
/// Series reactance x (p1): N + j x D.
void SeriesReactiveStep(const CascadeState& s, const double* p1);
/// Shunt impedance a / b (a = p0 + j p1, b = p2 + j p3, or 1 when p2 is null): a N, b N + a D.
void ShuntStep(const CascadeState& s, const double* p0, const double* p1, const double* p2,
               const double* p3);
/// Shunt reactance x (p1): j x N, N + j x D.
void ShuntReactiveStep(const CascadeState& s, const double* p1);
/// A line's chain terms A (p0, p1), B (p2, p3), C (p4, p5): A N + B D, C N + A D.
void LineStep(const CascadeState& s, const double* p0, const double* p1, const double* p2,
              const double* p3, const double* p4, const double* p5);
/// A lossless line of impedance z0 from its cosines (p0) and sines (p1).
void LosslessLineStep(const CascadeState& s, const double* p0, const double* p1, double z0);
/// A lossless open stub: Z0 cos / (j sin).
void OpenStubStep(const CascadeState& s, const double* p0, const double* p1, double z0);
/// A lossless shorted stub: j Z0 sin / cos.
void ShortedStubStep(const CascadeState& s, const double* p0, const double* p1, double z0);
/// Scales both terms of points whose D has left 1e-100 .. 1e100.
void Rescale(const CascadeState& s);
