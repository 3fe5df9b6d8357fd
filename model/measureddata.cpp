#include "model/measureddata.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

Complex GammaToImpedance(Complex gamma, double reference) {
    const Complex one(1.0, 0.0);
    if (gamma == one) {
        return {std::numeric_limits<double>::infinity(), 0.0}; // an ideal open
    }
    return ((one + gamma) / (one - gamma)) * reference;
}

bool IsFinite(Complex z) {
    return std::isfinite(z.re) && std::isfinite(z.im);
}

/// The interpolated impedance at frequency, fa <= frequency <= fb.
Complex Between(const MeasuredPoint& a, const MeasuredPoint& b, double frequency) {
    const double t = (frequency - a.frequency) / (b.frequency - a.frequency);
    const Complex gamma = a.gamma + (b.gamma - a.gamma) * t;
    const double reference = a.reference + (b.reference - a.reference) * t;
    return GammaToImpedance(gamma, reference);
}

/// The value at frequency given the index of the last point at or below it.
Complex ValueFrom(const std::vector<MeasuredPoint>& points, std::size_t k, double frequency) {
    if (points[k].frequency == frequency) {
        return points[k].impedance;
    }
    return Between(points[k], points[k + 1], frequency);
}

bool InRange(const std::vector<MeasuredPoint>& points, double frequency) {
    return !points.empty() && frequency >= points.front().frequency &&
           frequency <= points.back().frequency;
}

std::size_t LastAtOrBelow(const std::vector<MeasuredPoint>& points, double frequency) {
    const auto above =
        std::upper_bound(points.begin(), points.end(), frequency,
                         [](double f, const MeasuredPoint& p) { return f < p.frequency; });
    return static_cast<std::size_t>(above - points.begin()) - 1;
}

} // namespace

MeasuredPoint MeasuredPointFromGamma(double frequency, Complex gamma, double reference) {
    return {frequency, gamma, reference, GammaToImpedance(gamma, reference)};
}

MeasuredPoint MeasuredPointFromImpedance(double frequency, Complex impedance, double reference) {
    const Complex r(reference, 0.0);
    return {frequency, (impedance - r) / (impedance + r), reference, impedance};
}

std::string CheckMeasuredData(const MeasuredData& data) {
    if (data.points.empty()) {
        return "no data points";
    }
    for (std::size_t i = 0; i < data.points.size(); ++i) {
        const MeasuredPoint& p = data.points[i];
        if (!std::isfinite(p.frequency) || p.frequency < 0.0) {
            return "a frequency is negative or not a number";
        }
        if (i > 0 && !(p.frequency > data.points[i - 1].frequency)) {
            return "the frequencies do not increase";
        }
        if (!std::isfinite(p.reference) || !(p.reference > 0.0)) {
            return "a reference impedance is not a positive number";
        }
        if (!IsFinite(p.gamma)) {
            return "a reflection coefficient is not a finite number";
        }
    }
    return {};
}

std::optional<Complex> MeasuredImpedanceAt(const MeasuredData& data, double frequency) {
    if (!InRange(data.points, frequency)) {
        return std::nullopt;
    }
    return ValueFrom(data.points, LastAtOrBelow(data.points, frequency), frequency);
}

std::optional<Complex> MeasuredCursor::ImpedanceAt(double frequency) {
    const std::vector<MeasuredPoint>& points = data_->points;
    if (!InRange(points, frequency)) {
        return std::nullopt;
    }
    if (index_ >= points.size() || frequency < points[index_].frequency) {
        index_ = LastAtOrBelow(points, frequency);
    } else {
        // A few steps forward for a rising sweep; a far jump searches.
        for (int steps = 0; index_ + 1 < points.size() && points[index_ + 1].frequency <= frequency;
             ++steps) {
            if (steps == 8) {
                index_ = LastAtOrBelow(points, frequency);
                break;
            }
            ++index_;
        }
    }
    return ValueFrom(points, index_, frequency);
}
