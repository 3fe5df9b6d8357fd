#include "model/bandcascade.h"

#include "model/bandsettings.h"
#include "model/cascadesteps.h"
#include "model/constants.h"
#include "model/elementformula.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Between exactly computed points a line's cosine and sine are rotated from the point before,
// which drifts by about one rounding a step.
constexpr size_t kExactEvery = 32;

bool IsNaN(Complex z) {
    return std::isnan(z.re) || std::isnan(z.im);
}

bool IsLinePlacement(int32_t placement) {
    return placement == PLACE_TL_SERIES || placement == PLACE_TL_SHUNT_OPEN ||
           placement == PLACE_TL_SHUNT_SHORTED;
}

Complex Impedance(const Component& c, double f) {
    return element_formula::ElementImpedance(c, f);
}

// EvaluateElement's impedance from the Q at each point (none when q is empty).
template <class ImpedanceAt>
void FillImpedance(size_t n, const double* f, const std::vector<double>& q, ImpedanceAt z,
                   double* re, double* im) {
    if (q.empty()) {
        for (size_t k = 0; k < n; ++k) {
            const Complex ze = z(f[k]);
            re[k] = ze.re;
            im[k] = ze.im;
        }
        return;
    }
    for (size_t k = 0; k < n; ++k) {
        const Complex ze = z(f[k]);
        // Q = |X| / R of the series equivalent.
        re[k] = std::fabs(ze.im) / q[k];
        im[k] = ze.im;
    }
}

// The cosine and sine of every angle ratio[k] x angle (degrees; 0 without ratio): exactly at
// every kExactEvery-th point, and at every point unless the points are evenly spaced; rotated by
// the common step between.
void CosSinDegrees(const std::vector<double>& ratio, double angle, bool even, size_t n,
                   double* cosines, double* sines) {
    if (ratio.empty()) {
        std::fill(cosines, cosines + n, 1.0);
        std::fill(sines, sines + n, 0.0);
        return;
    }
    double stepCos = 1;
    double stepSin = 0;
    if (even && n > 1) {
        const double step =
            (ratio[n - 1] * angle - ratio[0] * angle) / static_cast<double>(n - 1) * kDegToRad;
        stepCos = std::cos(step);
        stepSin = std::sin(step);
    }
    const size_t every = even ? kExactEvery : 1;
    for (size_t from = 0; from < n; from += every) {
        // Whole turns go first, as the chart's line step takes them.
        const double theta = ratio[from] * angle;
        const double t = std::fabs(theta) < 360 ? theta : std::fmod(theta, 360);
        double c = std::cos(t * kDegToRad);
        double s = std::sin(t * kDegToRad);
        cosines[from] = c;
        sines[from] = s;
        const size_t to = std::min(n, from + every);
        for (size_t k = from + 1; k < to; ++k) {
            const double next = c * stepCos - s * stepSin;
            s = s * stepCos + c * stepSin;
            c = next;
            cosines[k] = c;
            sines[k] = s;
        }
    }
}

bool EvenlySpaced(const std::vector<double>& f) {
    const size_t n = f.size();
    if (n < 3) {
        return false;
    }
    const double tolerance = 1e-12 * std::max(std::fabs(f.front()), std::fabs(f.back()));
    const double step = (f.back() - f.front()) / static_cast<double>(n - 1);
    for (size_t k = 0; k < n; ++k) {
        if (!(std::fabs(f[k] - (f.front() + static_cast<double>(k) * step)) <= tolerance)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<double> JudgedFrequencies(const SmithChrt& chart) {
    const BandSettings& band = chart.band;
    if (!band.IsSet() || CheckBand(band) != BandProblem::None) {
        return {chart.frequency};
    }
    std::vector<double> f(static_cast<size_t>(band.points));
    for (int32_t k = 0; k < band.points; ++k) {
        f[static_cast<size_t>(k)] = BandFrequency(band, k);
    }
    return f;
}

bool CBandCascade::Prepare(const SmithChrt& chart, std::span<const double> freqs,
                           const BandLoads& loads) {
    frequencies.assign(freqs.begin(), freqs.end());
    const size_t n = frequencies.size();
    padded = (n + 1) & ~size_t{1};
    even = EvenlySpaced(frequencies);
    LoadsAcross(chart, frequencies, loads, start, goal);
    missing = 0;
    for (size_t k = 0; k < n; ++k) {
        if (IsNaN(start[k]) || IsNaN(goal[k])) {
            ++missing;
        }
    }
    const int32_t count = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    components.assign(chart.components.begin(), chart.components.begin() + count);
    for (const Component& c : components) {
        if (!IsKnownKind(c.kind)) {
            components.clear();
            frequencies.clear();
            return false;
        }
    }
    losses = chart.losses;
    powerWave = GoalReflection(chart) == MatchReflection::PowerWave;
    twoPort = false;
    factors.assign(components.size(), Factors{});
    int32_t lastLine = -1;
    for (size_t i = 0; i < components.size(); ++i) {
        const Component& c = components[i];
        // The chart's cascade carries the angle of the last line it met to every component
        // placed as a line, whatever its own kind.
        if (c.kind == KIND_TLINE) {
            lastLine = static_cast<int32_t>(i);
        }
        Factors& fx = factors[i];
        fx.angleOf = lastLine;
        switch (c.placement) {
        case PLACE_SERIES:
            fx.step = Step::Series;
            break;
        case PLACE_SHUNT:
            fx.step = Step::Shunt;
            break;
        case PLACE_TL_SERIES:
            fx.step = Step::Line;
            break;
        case PLACE_TL_SHUNT_OPEN:
        case PLACE_TL_SHUNT_SHORTED:
            fx.step = Step::ShuntRatio;
            break;
        default:
            // The chart's step leaves the impedance as it was.
            fx.step = Step::None;
            break;
        }
    }
    terms.assign(kPlanes * components.size() * padded, 0.0);
    for (std::vector<double>* v : {&nRe, &nIm, &dRe, &dIm, &scale2}) {
        v->assign(padded, 0.0);
    }
    cosines.resize(n);
    sines.resize(n);
    endZ.resize(n);
    vswr.resize(n);
    gamma2.resize(n);
    gain.assign(n, kNaN);
    worstGain = kNaN;
    dirty.assign(components.size(), 1);
    for (size_t i = 0; i < components.size(); ++i) {
        RefreshFactors(i);
    }
    return true;
}

void CBandCascade::SetComponent(int32_t i, const Component& c) {
    const auto at = static_cast<size_t>(i);
    components[at] = c;
    dirty[at] = 1;
    // Components placed as lines after a line take its angle, up to the next line.
    if (c.kind == KIND_TLINE) {
        for (size_t j = at + 1; j < components.size() && factors[j].angleOf == i; ++j) {
            if (IsLinePlacement(components[j].placement)) {
                dirty[j] = 1;
            }
        }
    }
}

void CBandCascade::RefreshFactors(size_t i) {
    const Component& c = components[i];
    Factors& fx = factors[i];
    const size_t n = frequencies.size();
    const std::optional<LossSpec> loss = EffectiveLoss(losses, c);
    if (loss != fx.loss) {
        fx.loss = loss;
        fx.q.clear();
        fx.nepers.clear();
        if (loss && c.kind == KIND_TLINE) {
            fx.nepers.resize(n);
            for (size_t k = 0; k < n; ++k) {
                fx.nepers[k] = LineNepersPerDegree(*loss, frequencies[k]);
            }
        } else if (loss) {
            fx.q.resize(n);
            for (size_t k = 0; k < n; ++k) {
                fx.q[k] = loss->value * LawFactor(loss->law, frequencies[k], loss->mhz);
            }
        }
    }
    const bool angled = fx.angleOf >= 0 && (c.kind == KIND_TLINE || IsLinePlacement(c.placement));
    if (angled) {
        const double lineFreq = components[static_cast<size_t>(fx.angleOf)].lineFreq;
        if (fx.ratio.empty() || lineFreq != fx.lineFreq) {
            fx.lineFreq = lineFreq;
            fx.ratio.resize(n);
            for (size_t k = 0; k < n; ++k) {
                fx.ratio[k] = frequencies[k] / lineFreq;
            }
        }
    }
}

ElementValue CBandCascade::ElementAt(int32_t i, size_t k) const {
    const Component& c = components[static_cast<size_t>(i)];
    const Factors& fx = factors[static_cast<size_t>(i)];
    ElementValue v;
    v.ze = Impedance(c, frequencies[k]);
    if (!fx.q.empty()) {
        v.ze.re = std::fabs(v.ze.im) / fx.q[k];
    }
    if (!fx.ratio.empty()) {
        v.theta = fx.ratio[k] * components[static_cast<size_t>(fx.angleOf)].lineAngle;
    }
    if (!fx.nepers.empty()) {
        v.nepersPerDegree = fx.nepers[k];
    }
    return v;
}

void CBandCascade::ComputeTerms(size_t i) {
    RefreshFactors(i);
    const Component& c = components[i];
    const Factors& fx = factors[i];
    const size_t n = frequencies.size();
    const double* f = frequencies.data();
    double* re = Plane(i, 0);
    double* im = Plane(i, 1);
    Factors& fw = factors[i];
    switch (fx.step) {
    case Step::None:
        fw.kernel = Kernel::None;
        return;
    case Step::Series:
    case Step::Shunt: {
        const bool reactive = fx.q.empty() && (c.kind == KIND_CAPACITOR || c.kind == KIND_INDUCTOR);
        fw.kernel = fx.step == Step::Series ? (reactive ? Kernel::SeriesReactive : Kernel::Series)
                                            : (reactive ? Kernel::ShuntReactive : Kernel::Shunt);
        switch (c.kind) {
        case KIND_CAPACITOR:
            FillImpedance(
                n, f, fx.q,
                [pF = c.capacitance](double fk) {
                    return Complex{0, -1 / (fk * pF * kTwoPiEm6)};
                },
                re, im);
            break;
        case KIND_INDUCTOR:
            FillImpedance(
                n, f, fx.q,
                [nH = c.inductance](double fk) {
                    return Complex{0, fk * nH * kTwoPiEm3};
                },
                re, im);
            break;
        case KIND_PARALLEL_RLC:
            FillImpedance(
                n, f, fx.q,
                [&c](double fk) { return element_formula::ParallelRlcImpedance(c, fk); }, re, im);
            break;
        case KIND_SERIES_RLC:
            FillImpedance(
                n, f, fx.q, [&c](double fk) { return element_formula::SeriesRlcImpedance(c, fk); },
                re, im);
            break;
        case KIND_RESISTOR:
            std::fill(re, re + n, c.resistance);
            std::fill(im, im + n, 0.0);
            break;
        default:
            FillImpedance(
                n, f, fx.q, [&c](double fk) { return Impedance(c, fk); }, re, im);
            break;
        }
        // The pair's second half past the last point repeats it.
        if (padded > n && n > 0) {
            re[n] = re[n - 1];
            im[n] = im[n - 1];
        }
        return;
    }
    case Step::ShuntRatio:
    case Step::Line:
        ComputeLineTerms(i, re);
        // The pair's second half past the last point repeats it.
        if (padded > n && n > 0) {
            for (size_t p = 0; p < kPlanes; ++p) {
                re[p * padded + n] = re[p * padded + n - 1];
            }
        }
        return;
    }
}

// A line's chain terms from cosh and sinh of its complex angle gamma l = alpha l + j beta l,
// alpha l = nepers per degree x |theta| (Pozar 2.91), in the form ABCD = [ch, Z0 sh; sh / Z0, ch]
// (Pozar table 4.1); a stub's impedance as a ratio a / b: Z0 ch / sh open, Z0 sh / ch shorted.
void CBandCascade::ComputeLineTerms(size_t i, double* planes) {
    const Component& c = components[i];
    const Factors& fx = factors[i];
    const size_t n = frequencies.size();
    const double angle =
        fx.ratio.empty() ? 0 : components[static_cast<size_t>(fx.angleOf)].lineAngle;
    const bool lossy = !fx.nepers.empty();
    Factors& fw = factors[i];
    if (c.kind == KIND_TLINE && !lossy) {
        // A lossless line or stub: its cosines and sines alone, Z0 applied as it steps.
        fw.kernel = c.placement == PLACE_TL_SERIES       ? Kernel::LosslessLine
                    : c.placement == PLACE_TL_SHUNT_OPEN ? Kernel::OpenStub
                                                         : Kernel::ShortedStub;
        CosSinDegrees(fx.ratio, angle, even, n, planes, planes + padded);
        return;
    }
    fw.kernel = fx.step == Step::Line ? Kernel::Line : Kernel::ShuntRatio;
    CosSinDegrees(fx.ratio, angle, even, n, cosines.data(), sines.data());
    const double* cs = cosines.data();
    const double* sn = sines.data();
    double* ar = planes;
    double* ai = planes + padded;
    double* br = planes + 2 * padded;
    double* bi = planes + 3 * padded;
    double* cr = planes + 4 * padded;
    double* ci = planes + 5 * padded;
    // A line's own impedance is the same at every point; a part of another kind placed as a
    // line takes its value at each.
    const bool constant = c.kind == KIND_TLINE;
    Complex ze = Impedance(c, frequencies.front());
    Complex inverse = Complex{1, 0} / ze;
    for (size_t k = 0; k < n; ++k) {
        if (!constant) {
            ze = Impedance(c, frequencies[k]);
            if (!fx.q.empty()) {
                ze.re = std::fabs(ze.im) / fx.q[k];
            }
            inverse = Complex{1, 0} / ze;
        }
        Complex ch{cs[k], 0};
        Complex sh{0, sn[k]};
        if (lossy && fx.nepers[k] > 0) {
            const double e = std::exp(fx.nepers[k] * std::fabs(fx.ratio[k] * angle));
            const double coshA = (e + 1 / e) / 2;
            const double sinhA = (e - 1 / e) / 2;
            ch = {coshA * cs[k], sinhA * sn[k]};
            sh = {sinhA * cs[k], coshA * sn[k]};
        }
        Complex a = ch;
        Complex b = sh;
        Complex cc;
        if (c.placement == PLACE_TL_SERIES) {
            b = ze * sh;
            cc = sh * inverse;
        } else if (c.placement == PLACE_TL_SHUNT_OPEN) {
            a = ch * ze.re;
        } else {
            a = sh * ze.re;
            b = ch;
        }
        ar[k] = a.re;
        ai[k] = a.im;
        br[k] = b.re;
        bi[k] = b.im;
        cr[k] = cc.re;
        ci[k] = cc.im;
    }
}

double CBandCascade::Evaluate() {
    for (size_t i = 0; i < components.size(); ++i) {
        if (dirty[i] != 0) {
            ComputeTerms(i);
            dirty[i] = 0;
        }
    }
    const size_t n = frequencies.size();
    for (size_t k = 0; k < padded; ++k) {
        const Complex s = start[std::min(k, n - 1)];
        nRe[k] = s.re;
        nIm[k] = s.im;
        dRe[k] = 1;
        dIm[k] = 0;
        scale2[k] = 1;
    }
    const CascadeState state{nRe.data(),    nIm.data(), dRe.data(), dIm.data(),
                             scale2.data(), padded,     twoPort};
    for (size_t i = 0; i < components.size(); ++i) {
        const double* p0 = Plane(i, 0);
        const double* p1 = Plane(i, 1);
        const double z0 = components[i].lineZ0;
        switch (factors[i].kernel) {
        case Kernel::None:
            break;
        case Kernel::Series:
            SeriesStep(state, p0, p1);
            break;
        case Kernel::SeriesReactive:
            SeriesReactiveStep(state, p1);
            break;
        case Kernel::Shunt:
            ShuntStep(state, p0, p1, nullptr, nullptr);
            break;
        case Kernel::ShuntRatio:
            ShuntStep(state, p0, p1, Plane(i, 2), Plane(i, 3));
            break;
        case Kernel::ShuntReactive:
            ShuntReactiveStep(state, p1);
            break;
        case Kernel::Line:
            LineStep(state, p0, p1, Plane(i, 2), Plane(i, 3), Plane(i, 4), Plane(i, 5));
            break;
        case Kernel::LosslessLine:
            LosslessLineStep(state, p0, p1, z0);
            break;
        case Kernel::OpenStub:
            OpenStubStep(state, p0, p1, z0);
            break;
        case Kernel::ShortedStub:
            ShortedStubStep(state, p0, p1, z0);
            break;
        }
        // Keep the ratio's terms within range.
        if ((i & 7) == 7) {
            Rescale(state);
        }
    }
    const double* nr = nRe.data();
    const double* ni = nIm.data();
    const double* dr = dRe.data();
    const double* di = dIm.data();
    const double* s2 = scale2.data();
    // |Gamma| = |N - G D| / |N + G D|, or |N - G D| / |N + conj(G) D| for the power-wave
    // reflection against a goal bound to data: one real division a point.
    double worst = kNaN;
    worstGain = kNaN;
    for (size_t k = 0; k < n; ++k) {
        const Complex num{nr[k], ni[k]};
        const Complex den{dr[k], di[k]};
        const Complex gd = goal[k] * den;
        const Complex cgd = Conjugate(goal[k]) * den;
        const Complex a = num - gd;
        const Complex b = num + (powerWave ? cgd : gd);
        const double b2 = b.re * b.re + b.im * b.im;
        gamma2[k] = b2 > 0 ? (a.re * a.re + a.im * a.im) / b2 : kNaN;
        const double m = std::sqrt(gamma2[k]);
        vswr[k] = std::fabs((m + 1) / (1 - m));
        if (!std::isnan(vswr[k]) && !(vswr[k] <= worst)) {
            worst = vswr[k];
        }
        if (twoPort) {
            // G_T = 4 Rs RL / |A ZL + B + Zs (C ZL + D)|^2 with ZL the goal's conjugate, the
            // bracket being N + ZL D of the chain matrix's own scale (twoport.cpp).
            const Complex e = num + cgd;
            const double rs = start[k].re;
            const double rl = goal[k].re;
            const double e2 = e.re * e.re + e.im * e.im;
            gain[k] = rs > 0 && rl > 0 && e2 > 0 ? 4 * rs * rl * s2[k] / e2 : kNaN;
            if (!std::isnan(gain[k]) && !(gain[k] >= worstGain)) {
                worstGain = gain[k];
            }
        }
    }
    worstVswr = worst;
    return worst;
}

std::span<const Complex> CBandCascade::EndZ() {
    for (size_t k = 0; k < endZ.size(); ++k) {
        endZ[k] = components.empty() ? start[k] : Complex{nRe[k], nIm[k]} / Complex{dRe[k], dIm[k]};
    }
    return endZ;
}
