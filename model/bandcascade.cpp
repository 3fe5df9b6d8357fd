#include "model/bandcascade.h"

#include "model/bandsettings.h"
#include "model/constants.h"
#include "model/losses.h"
#include "model/measuredbinding.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool IsNaN(Complex z) {
    return std::isnan(z.re) || std::isnan(z.im);
}

// A line's angle reduced to within a turn as the chart's line step reduces it.
double ReducedAngle(double theta) {
    return std::fabs(theta) < 360 ? theta : std::fmod(theta, 360);
}

// The hyperbolic tangent of a lossy line's complex angle, as the chart's lossy line step takes it:
// gamma l = alpha l + j beta l, alpha l = nepersPerDegree * |theta| (Pozar 2.91).
Complex LossyTanh(double theta, double nepersPerDegree) {
    const std::complex<double> t = std::tanh(std::complex<double>(
        nepersPerDegree * std::fabs(theta), std::fmod(theta, 360) * kDegToRad));
    return Complex{t.real(), t.imag()};
}

double Norm1(Complex z) {
    return std::fabs(z.re) + std::fabs(z.im);
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
    LoadsAcross(chart, frequencies, loads, start, goal);
    missing = 0;
    for (size_t k = 0; k < n; ++k) {
        if (IsNaN(start[k]) || IsNaN(goal[k])) {
            ++missing;
        }
    }
    const int32_t count = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    components.assign(chart.components.begin(), chart.components.begin() + count);
    losses = chart.losses;
    powerWave = GoalReflection(chart) == MatchReflection::PowerWave;
    steps.assign(components.size(), Step::None);
    terms.assign(kStride * components.size() * n, Complex{});
    num.resize(n);
    den.resize(n);
    endZ.resize(n);
    vswr.resize(n);
    gamma2.resize(n);
    for (const Component& c : components) {
        if (!IsKnownKind(c.kind)) {
            components.clear();
            frequencies.clear();
            return false;
        }
    }
    for (size_t i = 0; i < components.size(); ++i) {
        ComputeTerms(i);
    }
    return true;
}

void CBandCascade::SetComponent(int32_t i, const Component& c) {
    const auto at = static_cast<size_t>(i);
    components[at] = c;
    ComputeTerms(at);
    // Components placed as lines after a line take its angle, up to the next line.
    if (c.kind == KIND_TLINE) {
        for (size_t j = at + 1; j < components.size() && components[j].kind != KIND_TLINE; ++j) {
            ComputeTerms(j);
        }
    }
}

void CBandCascade::ComputeTerms(size_t i) {
    const Component& c = components[i];
    const size_t n = frequencies.size();
    // The chart's cascade carries the angle of the last line it met to every component placed
    // as a line, whatever its own kind.
    const Component* angleOf = nullptr;
    for (size_t j = i + 1; j-- > 0;) {
        if (components[j].kind == KIND_TLINE) {
            angleOf = &components[j];
            break;
        }
    }
    switch (c.placement) {
    case PLACE_SERIES:
        steps[i] = Step::Series;
        break;
    case PLACE_SHUNT:
    case PLACE_TL_SHUNT_OPEN:
    case PLACE_TL_SHUNT_SHORTED:
        steps[i] = Step::Shunt;
        break;
    case PLACE_TL_SERIES:
        steps[i] = Step::Line;
        break;
    default:
        // The chart's step leaves the impedance as it was.
        steps[i] = Step::None;
        return;
    }
    Complex* t = terms.data() + kStride * i * n;
    for (size_t k = 0; k < n; ++k) {
        const ElementValue v = EvaluateElement(losses, c, frequencies[k]);
        const Complex ze = v.ze;
        const double theta = angleOf != nullptr ? LineAngleAt(*angleOf, frequencies[k]) : 0;
        // The same angles and tangents as the chart's line step at 100 percent.
        const double b = ReducedAngle(theta);
        Complex* p = t + kStride * k;
        if (v.nepersPerDegree > 0 && c.placement != PLACE_SERIES && c.placement != PLACE_SHUNT) {
            const Complex th = LossyTanh(theta, v.nepersPerDegree);
            if (c.placement == PLACE_TL_SERIES) {
                p[0] = ze;
                p[1] = ze * th;
                p[2] = th;
            } else if (c.placement == PLACE_TL_SHUNT_OPEN) {
                p[0] = Complex{ze.re, 0} / th;
            } else {
                p[0] = th * ze.re;
            }
            continue;
        }
        switch (c.placement) {
        case PLACE_TL_SERIES: {
            const double tn = std::tan(b * kDegToRad);
            p[0] = ze;
            p[1] = Complex{0, 1} * ze * tn;
            p[2] = Complex{0, tn};
            break;
        }
        case PLACE_TL_SHUNT_OPEN:
            p[0] = Complex{0, -ze.re / std::tan(b * kDegToRad)};
            break;
        case PLACE_TL_SHUNT_SHORTED: {
            const double a = -(90 - b);
            p[0] = Complex{0, ze.re * std::tan((a + 90) * kDegToRad)};
            break;
        }
        default:
            p[0] = ze;
            break;
        }
    }
}

double CBandCascade::Evaluate() {
    const size_t n = frequencies.size();
    for (size_t k = 0; k < n; ++k) {
        num[k] = start[k];
        den[k] = Complex{1, 0};
    }
    for (size_t i = 0; i < components.size(); ++i) {
        const Complex* t = terms.data() + kStride * i * n;
        switch (steps[i]) {
        case Step::None:
            break;
        case Step::Series:
            // z + ze = (N + ze D) / D
            for (size_t k = 0; k < n; ++k) {
                num[k] = num[k] + t[kStride * k] * den[k];
            }
            break;
        case Step::Shunt:
            // z ze / (z + ze) = (ze N) / (N + ze D)
            for (size_t k = 0; k < n; ++k) {
                const Complex nk = num[k];
                num[k] = t[kStride * k] * nk;
                den[k] = nk + t[kStride * k] * den[k];
            }
            break;
        case Step::Line:
            // Pozar (2.44): Z0 (z + j Z0 t) / (Z0 + j z t)
            for (size_t k = 0; k < n; ++k) {
                const Complex* p = t + kStride * k;
                const Complex nk = num[k];
                num[k] = p[0] * (nk + p[1] * den[k]);
                den[k] = p[0] * den[k] + p[2] * nk;
            }
            break;
        }
        // Keep the ratio's terms within range; scaling both changes nothing of N / D.
        if ((i & 7) == 7) {
            for (size_t k = 0; k < n; ++k) {
                const double s = Norm1(den[k]);
                if (s > 1e100 || (s < 1e-100 && s > 0)) {
                    num[k] = num[k] * (1 / s);
                    den[k] = den[k] * (1 / s);
                }
            }
        }
    }
    // |Gamma| = |N - G D| / |N + G D|, or |N - G D| / |N + conj(G) D| for the power-wave
    // reflection against a goal bound to data: one real division a point.
    double worst = kNaN;
    for (size_t k = 0; k < n; ++k) {
        const Complex gd = goal[k] * den[k];
        const Complex a = num[k] - gd;
        const Complex b = num[k] + (powerWave ? Complex{goal[k].re, -goal[k].im} * den[k] : gd);
        const double b2 = b.re * b.re + b.im * b.im;
        gamma2[k] = b2 > 0 ? (a.re * a.re + a.im * a.im) / b2 : kNaN;
        const double m = std::sqrt(gamma2[k]);
        vswr[k] = std::fabs((m + 1) / (1 - m));
        if (!std::isnan(vswr[k]) && !(vswr[k] <= worst)) {
            worst = vswr[k];
        }
    }
    return worst;
}

std::span<const Complex> CBandCascade::EndZ() {
    for (size_t k = 0; k < endZ.size(); ++k) {
        endZ[k] = components.empty() ? start[k] : num[k] / den[k];
    }
    return endZ;
}
