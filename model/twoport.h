#pragma once

#include "model/complex.h"
#include "model/losses.h"

#include <optional>

class SmithChrt;

/// The chain (ABCD) matrix of a two-port: V1 = A V2 + B I2, I1 = C V2 + D I2, with I2 leaving
/// port 2 (Pozar, Microwave Engineering, 4.4).
struct Abcd {
    Complex a{1, 0};
    Complex b{0, 0};
    Complex c{0, 0};
    Complex d{1, 0};
};
Abcd operator*(const Abcd& x, const Abcd& y);

/// The chain matrix of one element placed as placement (series, shunt, line, stubs).
Abcd ElementAbcd(const ElementValue& v, int32_t placement);

/// The network of chart at f MHz as a two-port, port 1 at the starting [Generator] end and
/// port 2 at the goal [Load] end; none when a part is of unknown kind or placement.
std::optional<Abcd> NetworkAbcd(const SmithChrt& chart, double f);

/// The impedance seen into port 2 with port 1 terminated by zs: the chart's ending impedance.
Complex OutputImpedance(const Abcd& m, Complex zs);

/// The figures of a two-port between a generator of impedance zs and a load zl, in dB:
/// transducer gain (power into the load over the generator's available power) and dissipation
/// loss (power into port 1 over power into the load). NaN where a termination's real part is
/// not positive.
struct TwoPortFigures {
    double transducerGainDb;
    double dissipationLossDb;
};
TwoPortFigures ComputeTwoPort(const Abcd& m, Complex zs, Complex zl);

/// The load of the two-port: the impedance whose conjugate the goal is.
Complex LoadOfGoal(Complex goal);

/// The figures of chart's network at f MHz between zs and the load of goal; NaN when it cannot
/// be evaluated.
TwoPortFigures NetworkTwoPort(const SmithChrt& chart, double f, Complex zs, Complex goal);

/// S-parameters on a real reference r (ohm) from a chain matrix (Pozar, table 4.2).
struct SParameters {
    Complex s11, s12, s21, s22;
};
SParameters AbcdToS(const Abcd& m, double r);
