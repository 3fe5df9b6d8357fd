#include "model/devicedata.h"

#include <algorithm>
#include <cmath>

namespace {

bool Finite(Complex z) {
    return std::isfinite(z.re) && std::isfinite(z.im);
}

Complex Lerp(Complex a, Complex b, double t) {
    return a + (b - a) * t;
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

/// The index of the last point at or below frequency, or nothing outside the points' range.
template <class Point>
std::optional<std::size_t> Bracket(const std::vector<Point>& points, double frequency) {
    if (points.empty() || !(frequency >= points.front().frequency) ||
        !(frequency <= points.back().frequency)) {
        return std::nullopt;
    }
    const auto above = std::upper_bound(points.begin(), points.end(), frequency,
                                        [](double f, const Point& p) { return f < p.frequency; });
    return static_cast<std::size_t>(above - points.begin()) - 1;
}

template <class Point> std::string CheckFrequencies(const std::vector<Point>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!std::isfinite(points[i].frequency) || points[i].frequency < 0.0) {
            return "a frequency is negative or not a number";
        }
        if (i > 0 && !(points[i].frequency > points[i - 1].frequency)) {
            return "the frequencies do not increase";
        }
        if (!std::isfinite(points[i].reference) || !(points[i].reference > 0.0)) {
            return "a reference impedance is not a positive number";
        }
    }
    return {};
}

} // namespace

std::string CheckDeviceData(const DeviceData& data) {
    if (data.points.empty()) {
        return "no data points";
    }
    if (std::string e = CheckFrequencies(data.points); !e.empty()) {
        return e;
    }
    if (std::string e = CheckFrequencies(data.noise); !e.empty()) {
        return "noise data: " + e;
    }
    for (const DevicePoint& p : data.points) {
        if (!Finite(p.s11) || !Finite(p.s12) || !Finite(p.s21) || !Finite(p.s22)) {
            return "an S-parameter is not a finite number";
        }
    }
    for (const NoisePoint& n : data.noise) {
        if (!std::isfinite(n.fminDb) || n.fminDb < 0.0 || !Finite(n.gammaOpt) || !(n.rn >= 0.0) ||
            !std::isfinite(n.rn)) {
            return "noise data: a noise parameter is out of range";
        }
    }
    return {};
}

std::optional<DevicePoint> DeviceAt(const DeviceData& data, double frequency) {
    const std::optional<std::size_t> k = Bracket(data.points, frequency);
    if (!k) {
        return std::nullopt;
    }
    const DevicePoint& a = data.points[*k];
    if (a.frequency == frequency) {
        return a;
    }
    const DevicePoint& b = data.points[*k + 1];
    const double t = (frequency - a.frequency) / (b.frequency - a.frequency);
    return DevicePoint{frequency,
                       Lerp(a.s11, b.s11, t),
                       Lerp(a.s12, b.s12, t),
                       Lerp(a.s21, b.s21, t),
                       Lerp(a.s22, b.s22, t),
                       Lerp(a.reference, b.reference, t)};
}

std::optional<NoisePoint> DeviceNoiseAt(const DeviceData& data, double frequency) {
    const std::optional<std::size_t> k = Bracket(data.noise, frequency);
    if (!k || !Bracket(data.points, frequency)) {
        return std::nullopt;
    }
    const NoisePoint& a = data.noise[*k];
    if (a.frequency == frequency) {
        return a;
    }
    const NoisePoint& b = data.noise[*k + 1];
    const double t = (frequency - a.frequency) / (b.frequency - a.frequency);
    return NoisePoint{frequency, Lerp(a.fminDb, b.fminDb, t), Lerp(a.gammaOpt, b.gammaOpt, t),
                      Lerp(a.rn, b.rn, t), Lerp(a.reference, b.reference, t)};
}
