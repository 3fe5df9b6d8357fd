#include "model/twoport.h"

#include "model/constants.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Complex Ours(std::complex<double> z) {
    return {z.real(), z.imag()};
}

double Abs2(Complex z) {
    return z.re * z.re + z.im * z.im;
}

// gamma * l of a line of theta degrees losing nepersPerDegree: its length is |theta| degrees.
// cosh, sinh and tanh repeat (up to sign, the same in all four terms) every whole turn of the
// angle, so the turns go before it is taken in radians, as the chart's step does.
std::complex<double> Propagation(const ElementValue& v) {
    return {v.nepersPerDegree * std::fabs(v.theta), std::fmod(v.theta, 360) * kDegToRad};
}

Abcd Series(Complex z) {
    return {{1, 0}, z, {0, 0}, {1, 0}};
}

Abcd Shunt(Complex y) {
    return {{1, 0}, {0, 0}, y, {1, 0}};
}

} // namespace

Abcd operator*(const Abcd& x, const Abcd& y) {
    return {x.a * y.a + x.b * y.c, x.a * y.b + x.b * y.d, x.c * y.a + x.d * y.c,
            x.c * y.b + x.d * y.d};
}

Abcd ElementAbcd(const ElementValue& v, int32_t placement) {
    const Complex one{1, 0};
    switch (placement) {
    case PLACE_SERIES:
        return Series(v.ze);
    case PLACE_SHUNT:
        return Shunt(one / v.ze);
    case PLACE_TL_SERIES: {
        const std::complex<double> gl = Propagation(v);
        const Complex ch = Ours(std::cosh(gl));
        const Complex sh = Ours(std::sinh(gl));
        return {ch, v.ze * sh, sh / v.ze, ch};
    }
    case PLACE_TL_SHUNT_OPEN: // Y = tanh(gamma l) / Z0
        return Shunt(Ours(std::tanh(Propagation(v))) / v.ze);
    case PLACE_TL_SHUNT_SHORTED: // Y = 1 / (Z0 tanh(gamma l))
        return Shunt(one / (v.ze * Ours(std::tanh(Propagation(v)))));
    default:
        return {{kNaN, kNaN}, {kNaN, kNaN}, {kNaN, kNaN}, {kNaN, kNaN}};
    }
}

std::optional<Abcd> NetworkAbcd(const SmithChrt& chart, double f) {
    Abcd m;
    const int32_t n = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    for (int32_t i = 0; i < n; ++i) {
        const Component& c = chart.components[i];
        if (!IsKnownKind(c.kind) || c.placement < PLACE_SERIES ||
            c.placement > PLACE_TL_SHUNT_SHORTED) {
            return std::nullopt;
        }
        m = m * ElementAbcd(EvaluateElement(chart.losses, c, f), c.placement);
    }
    return m;
}

Complex OutputImpedance(const Abcd& m, Complex zs) {
    return (m.d * zs + m.b) / (m.c * zs + m.a);
}

TwoPortFigures ComputeTwoPort(const Abcd& m, Complex zs, Complex zl) {
    if (!(zs.re > 0) || !(zl.re > 0) || !std::isfinite(zs.im) || !std::isfinite(zl.im) ||
        !std::isfinite(zs.re) || !std::isfinite(zl.re)) {
        return {kNaN, kNaN};
    }
    // With I2 = 1 into the load: V1 = A ZL + B, I1 = C ZL + D, and the generator's EMF is
    // V1 + Zs I1. Available power |E|^2 / (8 Rs), load power RL / 2, input power Re(V1 I1*) / 2.
    const Complex v1 = m.a * zl + m.b;
    const Complex i1 = m.c * zl + m.d;
    const Complex e = v1 + zs * i1;
    const double gt = 4 * zs.re * zl.re / Abs2(e);
    const double in = v1.re * i1.re + v1.im * i1.im;
    return {10 * std::log10(gt), 10 * std::log10(in / zl.re)};
}

Complex LoadOfGoal(Complex goal) {
    return Conjugate(goal);
}

TwoPortFigures NetworkTwoPort(const SmithChrt& chart, double f, Complex zs, Complex goal) {
    const std::optional<Abcd> m = NetworkAbcd(chart, f);
    if (!m) {
        return {kNaN, kNaN};
    }
    return ComputeTwoPort(*m, zs, LoadOfGoal(goal));
}

SParameters AbcdToS(const Abcd& m, double r) {
    const Complex z0{r, 0};
    const Complex bz = m.b / z0;
    const Complex cz = m.c * z0;
    const Complex den = m.a + bz + cz + m.d;
    const Complex two{2, 0};
    return {(m.a + bz - cz - m.d) / den, two * (m.a * m.d - m.b * m.c) / den, two / den,
            (m.d + bz - cz - m.a) / den};
}
