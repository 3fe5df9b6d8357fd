#include "design/bodefano.h"

#include "model/bandcascade.h"
#include "model/bandevaluation.h"
#include "model/bandsettings.h"
#include "model/numbertext.h"
#include "model/smithchrt.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

double Omega(double fMHz) {
    return 2 * kPi * fMHz * 1e6;
}

// The model's impedance at w (rad/s) for R (ohm) and C (F) or L (H).
Complex ModelZ(TerminationModel m, double r, double x, double w) {
    switch (m) {
    case TerminationModel::SeriesRC:
        return {r, -1 / (w * x)};
    case TerminationModel::SeriesRL:
        return {r, w * x};
    case TerminationModel::ParallelRC:
        return Complex{1, 0} / Complex{1 / r, w * x};
    case TerminationModel::ParallelRL:
        return Complex{1, 0} / Complex{1 / r, -1 / (w * x)};
    }
    return {};
}

// Fits one model. In the fitted domain (Z for series, Y for parallel) the real part is a
// constant and the imaginary part is a * g(w) with g = w or -1/w: both least squares are closed.
std::optional<TerminationFit> FitModel(TerminationModel m, std::span<const double> w,
                                       std::span<const Complex> z) {
    const bool parallel = m == TerminationModel::ParallelRC || m == TerminationModel::ParallelRL;
    // Series RL: X = w L; series RC: X = -(1/C)/w; parallel RC: B = w C; parallel RL: B = -(1/L)/w.
    const bool grows = m == TerminationModel::SeriesRL || m == TerminationModel::ParallelRC;
    double sumRe = 0, sumGI = 0, sumGG = 0;
    for (size_t k = 0; k < w.size(); ++k) {
        const Complex v = parallel ? Complex{1, 0} / z[k] : z[k];
        const double g = grows ? w[k] : -1 / w[k];
        sumRe += v.re;
        sumGI += g * v.im;
        sumGG += g * g;
    }
    const double re = sumRe / static_cast<double>(w.size());
    const double a = sumGI / sumGG;
    if (!(re > 0) || !(a > 0)) {
        return std::nullopt;
    }
    const double r = parallel ? 1 / re : re;
    // a is L or C itself for the growing terms, 1/C or 1/L for the others.
    const double x = grows ? a : 1 / a;
    double err = 0, norm = 0;
    for (size_t k = 0; k < w.size(); ++k) {
        const Complex d = z[k] - ModelZ(m, r, x, w[k]);
        err += d.re * d.re + d.im * d.im;
        norm += z[k].re * z[k].re + z[k].im * z[k].im;
    }
    const bool capacitive = m == TerminationModel::SeriesRC || m == TerminationModel::ParallelRC;
    return TerminationFit{m, r, capacitive ? x * 1e12 : x * 1e9, std::sqrt(err / norm)};
}

} // namespace

const char* TerminationModelName(TerminationModel m) {
    switch (m) {
    case TerminationModel::SeriesRC:
        return "series RC";
    case TerminationModel::ParallelRC:
        return "parallel RC";
    case TerminationModel::SeriesRL:
        return "series RL";
    case TerminationModel::ParallelRL:
        return "parallel RL";
    }
    return "";
}

std::optional<TerminationFit> FitTermination(std::span<const double> frequencies,
                                             std::span<const Complex> z) {
    std::vector<double> w;
    std::vector<Complex> zs;
    for (size_t k = 0; k < frequencies.size() && k < z.size(); ++k) {
        if (std::isfinite(z[k].re) && std::isfinite(z[k].im) && frequencies[k] > 0) {
            w.push_back(Omega(frequencies[k]));
            zs.push_back(z[k]);
        }
    }
    if (w.size() < 2) {
        return std::nullopt;
    }
    std::optional<TerminationFit> best;
    for (TerminationModel m : {TerminationModel::SeriesRC, TerminationModel::ParallelRC,
                               TerminationModel::SeriesRL, TerminationModel::ParallelRL}) {
        const std::optional<TerminationFit> fit = FitModel(m, w, zs);
        if (fit && std::isfinite(fit->relativeError) &&
            (!best || fit->relativeError < best->relativeError)) {
            best = fit;
        }
    }
    return best;
}

BodeFanoLimit BodeFanoFor(const TerminationFit& fit, double low, double high) {
    const double w1 = Omega(low);
    const double w2 = Omega(high);
    const double r = fit.r;
    const double c = fit.reactive * 1e-12;
    const double l = fit.reactive * 1e-9;
    double exponent = 0;
    switch (fit.model) {
    case TerminationModel::ParallelRC:
        exponent = kPi / ((w2 - w1) * r * c);
        break;
    case TerminationModel::SeriesRC:
        exponent = kPi * r * c / (1 / w1 - 1 / w2);
        break;
    case TerminationModel::SeriesRL:
        exponent = kPi * r / ((w2 - w1) * l);
        break;
    case TerminationModel::ParallelRL:
        exponent = kPi * l / (r * (1 / w1 - 1 / w2));
        break;
    }
    BodeFanoLimit limit;
    limit.fit = fit;
    limit.minReflection = std::exp(-exponent);
    limit.minVswr = (1 + limit.minReflection) / (1 - limit.minReflection);
    limit.maxReturnLossDb = 20 * exponent / std::log(10.0);
    return limit;
}

std::optional<BodeFanoLimit> DocumentBodeFano(const SmithChrt& chart) {
    const BandSettings& band = chart.band;
    if (!band.IsSet() || CheckBand(band) != BandProblem::None) {
        return std::nullopt;
    }
    const bool fromStart = chart.startData != nullptr;
    if (!fromStart && chart.goalData == nullptr) {
        return std::nullopt;
    }
    const std::vector<double> f = JudgedFrequencies(chart);
    std::vector<Complex> start;
    std::vector<Complex> goal;
    LoadsAcross(chart, f, {}, start, goal);
    // A goal bound to data is the conjugate of the load: the load itself is what is fitted.
    for (Complex& z : goal) {
        z.im = -z.im;
    }
    const std::optional<TerminationFit> fit = FitTermination(f, fromStart ? start : goal);
    if (!fit) {
        return std::nullopt;
    }
    BodeFanoLimit limit = BodeFanoFor(*fit, band.low, band.high);
    limit.fromStart = fromStart;
    return limit;
}

namespace {

std::string LineOf(const std::optional<BodeFanoLimit>& limit) {
    if (!limit) {
        return "Bode-Fano: no termination bound to data";
    }
    const bool capacitive = limit->fit.model == TerminationModel::SeriesRC ||
                            limit->fit.model == TerminationModel::ParallelRC;
    return CFormat("Bode-Fano %s %s %.1f ohm %.2f %s (fit %.1f%%): VSWR>=%4.2f, RL<=%4.2fdB",
                   limit->fromStart ? "start" : "goal", TerminationModelName(limit->fit.model),
                   limit->fit.r, limit->fit.reactive, capacitive ? "pF" : "nH",
                   100 * limit->fit.relativeError, limit->minVswr, limit->maxReturnLossDb);
}

} // namespace

std::string BodeFanoLine(const SmithChrt& chart) {
    return LineOf(DocumentBodeFano(chart));
}

void ShowBodeFano(SmithChrt& chart, bool shown) {
    const std::optional<BodeFanoLimit> limit =
        shown ? DocumentBodeFano(chart) : std::optional<BodeFanoLimit>();
    chart.bodeFanoLine = shown ? LineOf(limit) : std::string();
    chart.bodeFanoVswr = limit ? limit->minVswr : 0;
}
