// Amplifier design figures of a two-port device. Equations: D. M. Pozar, Microwave Engineering,
// 4th ed., ch. 12 (sec. 12.1 two-port power gains, 12.2 stability circles, Rollett's K and the mu
// test, 12.3 the simultaneous conjugate match, the maximum stable gain and the noise figure and
// circles), and G. Gonzalez, Microwave Transistor Amplifiers, 2nd ed., ch. 3 (operating and
// available power gain circles); mu and mu' after M. L. Edwards and J. H. Sinsky, IEEE Trans.
// MTT 40(12), 1992. The comments name the section; the formula is written out beside it.
#include "model/devicefigures.h"

#include "model/numbertext.h"

#include <cmath>
#include <limits>

namespace {

double Abs2(Complex z) {
    return z.re * z.re + z.im * z.im;
}

double Abs(Complex z) {
    return std::hypot(z.re, z.im);
}

double Db(double ratio) {
    return 10.0 * std::log10(ratio);
}

double FromDb(double db) {
    return std::pow(10.0, db / 10.0);
}

/// The simultaneous conjugate match, Pozar sec. 12.3: gamma = (B +- sqrt(B^2 - 4|C|^2)) / (2C)
/// with B1 = 1 + |S11|^2 - |S22|^2 - |Delta|^2, C1 = S11 - Delta S22* for the source (ports
/// swapped for the load); the root inside the unit circle.
std::optional<Complex> MatchRoot(double b, Complex c) {
    const double c2 = Abs2(c);
    if (c2 == 0.0) {
        return Complex{0, 0};
    }
    const double root = std::sqrt(std::max(0.0, b * b - 4.0 * c2));
    const Complex twoC = c * 2.0;
    const Complex minus = Complex{b - root, 0} / twoC;
    const Complex plus = Complex{b + root, 0} / twoC;
    if (Abs(minus) < 1.0) {
        return minus;
    }
    if (Abs(plus) < 1.0) {
        return plus;
    }
    return std::nullopt;
}

/// A stability circle, Pozar sec. 12.2, for the load plane (S11 and S22 swapped for the source
/// plane): center (S22 - Delta S11*)* / (|S22|^2 - |Delta|^2), radius |S12 S21| /
/// ||S22|^2 - |Delta|^2|. The plane's origin is stable when |S11| < 1 (|S22| for the source
/// plane), which tells which side is unstable.
std::optional<DeviceCircle> StabilityCircle(CircleFamily family, Complex sOwn, Complex sOther,
                                            Complex delta, Complex s12s21) {
    const double den = Abs2(sOwn) - Abs2(delta);
    const double radius = Abs(s12s21) / std::fabs(den);
    if (den == 0.0 || !(radius > 0.0) || !std::isfinite(radius)) {
        return std::nullopt;
    }
    DeviceCircle c;
    c.family = family;
    c.circle.center = Conjugate(sOwn - delta * Conjugate(sOther)) * (1.0 / den);
    c.circle.radius = radius;
    const bool originInside = Abs(c.circle.center) < radius;
    c.unstableInside = Abs(sOther) < 1.0 ? !originInside : originInside;
    return c;
}

/// A constant power gain circle, Gonzalez ch. 3 (operating gain, load plane: sOwn = S22,
/// cc = C2 = S22 - Delta S11*; available gain, source plane: sOwn = S11, cc = C1):
/// g = G / |S21|^2, center g cc* / (1 + g (|sOwn|^2 - |Delta|^2)), radius
/// sqrt(1 - 2 K |S12 S21| g + |S12 S21|^2 g^2) / |1 + g (|sOwn|^2 - |Delta|^2)|.
std::optional<ReflectionCircle> GainCircle(double gainDb, const DevicePoint& s, Complex sOwn,
                                           Complex cc, Complex delta) {
    const double s21 = Abs2(s.s21);
    if (s21 == 0.0) {
        return std::nullopt;
    }
    const double g = FromDb(gainDb) / s21;
    const double m = Abs(s.s12 * s.s21);
    // K |S12 S21|, finite also for a unilateral device.
    const double km = (1.0 - Abs2(s.s11) - Abs2(s.s22) + Abs2(delta)) / 2.0;
    const double den = 1.0 + g * (Abs2(sOwn) - Abs2(delta));
    const double radicand = 1.0 - 2.0 * km * g + m * m * g * g;
    if (den == 0.0 || radicand < 0.0) {
        return std::nullopt;
    }
    return ReflectionCircle{Conjugate(cc) * (g / den), std::sqrt(radicand) / std::fabs(den)};
}

/// A noise circle, Pozar sec. 12.3: N = (F - Fmin) / (4 Rn/Z0) |1 + Gamma_opt|^2, center
/// Gamma_opt / (N + 1), radius sqrt(N (N + 1 - |Gamma_opt|^2)) / (N + 1), F and Fmin as ratios.
std::optional<ReflectionCircle> NoiseCircle(const NoisePoint& n, double stepDb) {
    const double rn = n.rn / n.reference;
    if (!(rn > 0.0)) {
        return std::nullopt;
    }
    const double f = FromDb(n.fminDb + stepDb);
    const double fmin = FromDb(n.fminDb);
    const double big = (f - fmin) / (4.0 * rn) * Abs2(Complex{1, 0} + n.gammaOpt);
    const double radicand = big * (big + 1.0 - Abs2(n.gammaOpt));
    if (radicand < 0.0) {
        return std::nullopt;
    }
    return ReflectionCircle{n.gammaOpt * (1.0 / (big + 1.0)), std::sqrt(radicand) / (big + 1.0)};
}

} // namespace

DeviceFigures ComputeDeviceFigures(const DevicePoint& s) {
    DeviceFigures f;
    const Complex s12s21 = s.s12 * s.s21;
    const double m = Abs(s12s21);
    f.delta = s.s11 * s.s22 - s12s21;
    const double d2 = Abs2(f.delta);
    // Rollett's K = (1 - |S11|^2 - |S22|^2 + |Delta|^2) / (2 |S12 S21|), Pozar sec. 12.2;
    // infinite for a unilateral device.
    const double numerator = 1.0 - Abs2(s.s11) - Abs2(s.s22) + d2;
    f.k = m == 0.0 ? std::numeric_limits<double>::infinity() : numerator / (2.0 * m);
    // Edwards-Sinsky mu = (1 - |S11|^2) / (|S22 - Delta S11*| + |S12 S21|) (load plane) and mu'
    // (source plane, ports swapped), Pozar sec. 12.2.
    f.mu = (1.0 - Abs2(s.s11)) / (Abs(s.s22 - f.delta * Conjugate(s.s11)) + m);
    f.muPrime = (1.0 - Abs2(s.s22)) / (Abs(s.s11 - f.delta * Conjugate(s.s22)) + m);
    f.unconditionallyStable = f.mu > 1.0;
    if (m != 0.0) {
        f.msgDb = Db(Abs(s.s21) / Abs(s.s12)); // |S21/S12|, Pozar sec. 12.3
    }
    if (f.k > 1.0 && std::sqrt(d2) < 1.0) {
        if (m == 0.0) {
            // Unilateral: |S21|^2 / ((1 - |S11|^2)(1 - |S22|^2)), Pozar sec. 12.3.
            f.magDb = Db(Abs2(s.s21) / ((1.0 - Abs2(s.s11)) * (1.0 - Abs2(s.s22))));
        } else {
            // G_max = |S21/S12| (K - sqrt(K^2 - 1)), Pozar sec. 12.3.
            f.magDb = *f.msgDb + Db(f.k - std::sqrt(f.k * f.k - 1.0));
        }
    }
    if (f.unconditionallyStable) {
        const double s11 = Abs2(s.s11);
        const double s22 = Abs2(s.s22);
        f.gammaMS = MatchRoot(1.0 + s11 - s22 - d2, s.s11 - f.delta * Conjugate(s.s22));
        f.gammaML = MatchRoot(1.0 + s22 - s11 - d2, s.s22 - f.delta * Conjugate(s.s11));
    }
    return f;
}

std::optional<double> MaxGainDb(const DeviceFigures& f) {
    return f.magDb ? f.magDb : f.msgDb;
}

double NoiseFigureDb(const NoisePoint& n, Complex gammaS) {
    // Pozar sec. 12.3: F = Fmin + 4 (Rn/Z0) |Gs - Gopt|^2 / ((1 - |Gs|^2) |1 + Gopt|^2).
    const double rn = n.rn / n.reference;
    const double f =
        FromDb(n.fminDb) + 4.0 * rn * Abs2(gammaS - n.gammaOpt) /
                               ((1.0 - Abs2(gammaS)) * Abs2(Complex{1, 0} + n.gammaOpt));
    return Db(f);
}

const char* CircleFamilyName(CircleFamily family) {
    switch (family) {
    case CircleFamily::SourceStability:
        return "source-stability";
    case CircleFamily::LoadStability:
        return "load-stability";
    case CircleFamily::AvailableGain:
        return "available-gain";
    case CircleFamily::OperatingGain:
        return "operating-gain";
    case CircleFamily::Noise:
        return "noise";
    }
    return "";
}

std::vector<DeviceCircle> DeviceCircles(const DevicePoint& s,
                                        const std::optional<NoisePoint>& noise,
                                        const CircleSettings& settings) {
    std::vector<DeviceCircle> out;
    const DeviceFigures f = ComputeDeviceFigures(s);
    const Complex s12s21 = s.s12 * s.s21;
    if (settings.stability) {
        for (const auto& c :
             {StabilityCircle(CircleFamily::SourceStability, s.s11, s.s22, f.delta, s12s21),
              StabilityCircle(CircleFamily::LoadStability, s.s22, s.s11, f.delta, s12s21)}) {
            if (c) {
                out.push_back(*c);
            }
        }
    }
    const std::optional<double> top = MaxGainDb(f);
    auto gain = [&](bool on, const std::vector<double>& steps, CircleFamily family, Complex sOwn,
                    Complex cc) {
        if (!on || !top) {
            return;
        }
        for (double step : steps) {
            if (auto c = GainCircle(*top - step, s, sOwn, cc, f.delta)) {
                out.push_back({family, *top - step, *c, false});
            }
        }
    };
    gain(settings.availableGain, settings.availableSteps, CircleFamily::AvailableGain, s.s11,
         s.s11 - f.delta * Conjugate(s.s22));
    gain(settings.operatingGain, settings.operatingSteps, CircleFamily::OperatingGain, s.s22,
         s.s22 - f.delta * Conjugate(s.s11));
    if (settings.noise && noise) {
        for (double step : settings.noiseSteps) {
            if (auto c = NoiseCircle(*noise, step)) {
                out.push_back({CircleFamily::Noise, noise->fminDb + step, *c, false});
            }
        }
    }
    return out;
}

Complex MapReflection(Complex gamma, double from, double to) {
    // Gamma_to = (Gamma - r) / (1 - r Gamma), r = (to - from) / (to + from): the same impedance.
    if (from == to) {
        return gamma;
    }
    if (gamma == Complex{1, 0}) {
        return gamma; // an open stays an open
    }
    const double r = (to - from) / (to + from);
    return (gamma - Complex{r, 0}) / (Complex{1, 0} - gamma * r);
}

std::optional<ReflectionCircle> MapCircle(const ReflectionCircle& c, double from, double to,
                                          bool* flipsInside) {
    if (flipsInside != nullptr) {
        *flipsInside = false;
    }
    if (from == to) {
        return c;
    }
    // The map is a Moebius transform with its pole at 1/r on the real axis. The diameter on the
    // line through the centre and the pole meets the circle at right angles, so its image does
    // too: the images of its ends are the ends of a diameter of the image circle.
    const double r = (to - from) / (to + from);
    const Complex pole{1.0 / r, 0};
    const Complex toPole = pole - c.center;
    const double distance = Abs(toPole);
    const Complex unit = distance > 0.0 ? toPole * (1.0 / distance) : Complex{1, 0};
    if (std::fabs(distance - c.radius) <= 1e-15 * std::max(1.0, distance)) {
        return std::nullopt; // through the pole: the image is a line
    }
    const Complex a = MapReflection(c.center + unit * c.radius, from, to);
    const Complex b = MapReflection(c.center - unit * c.radius, from, to);
    if (flipsInside != nullptr) {
        *flipsInside = distance < c.radius;
    }
    return ReflectionCircle{(a + b) * 0.5, Abs(a - b) * 0.5};
}

std::optional<std::vector<double>> ParseCircleSteps(const std::string& text) {
    std::vector<double> steps;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::optional<double> v =
            ParseNumber(std::string_view(text).substr(start, comma - start));
        if (!v || !std::isfinite(*v) || !(*v > 0.0) || *v > 100.0 || steps.size() == 12) {
            return std::nullopt;
        }
        steps.push_back(*v);
        start = comma + 1;
    }
    return steps;
}

std::string CircleStepsText(const std::vector<double>& steps) {
    std::string text;
    for (double s : steps) {
        text += (text.empty() ? "" : ",") + FormatShortest(s);
    }
    return text;
}
