// Two-port devices from Touchstone files: the choice of ports, the noise rows, and the
// S-parameters assembled on one reference.
#include "model/asciitext.h"
#include "model/touchstonelexer.h"
#include "model/touchstoneparser.h"

#include <cmath>
#include <numbers>

namespace touchstone {

namespace {

/// A 2x2 complex matrix, row by row.
struct Matrix2 {
    Complex a, b, c, d;
};

Matrix2 operator*(const Matrix2& x, const Matrix2& y) {
    return {x.a * y.a + x.b * y.c, x.a * y.b + x.b * y.d, x.c * y.a + x.d * y.c,
            x.c * y.b + x.d * y.d};
}

Matrix2 Inverse(const Matrix2& m) {
    const Complex det = m.a * m.d - m.b * m.c;
    const Complex one{1, 0};
    const Complex k = one / det;
    return {m.d * k, Complex{0, 0} - m.b * k, Complex{0, 0} - m.c * k, m.a * k};
}

Matrix2 Diagonal(double x, double y) {
    return {{x, 0}, {0, 0}, {0, 0}, {y, 0}};
}

Matrix2 Plus(const Matrix2& x, const Matrix2& y, double sign) {
    return {x.a + y.a * sign, x.b + y.b * sign, x.c + y.c * sign, x.d + y.d * sign};
}

/// S on the real reference r of both ports from impedance parameters in ohm:
/// S = (Z - r)(Z + r)^-1 (Pozar, Microwave Engineering, sec. 4.3).
Matrix2 SFromZ(const Matrix2& z, double r) {
    const Matrix2 rr = Diagonal(r, r);
    return Plus(z, rr, -1.0) * Inverse(Plus(z, rr, 1.0));
}

/// Impedance parameters in ohm from S on the real references r1, r2 of the two ports:
/// Z = sqrt(R) (I - S)^-1 (I + S) sqrt(R).
Matrix2 ZFromS(const Matrix2& s, double r1, double r2) {
    const Matrix2 one = Diagonal(1, 1);
    const Matrix2 root = Diagonal(std::sqrt(r1), std::sqrt(r2));
    return root * Inverse(Plus(one, s, -1.0)) * Plus(one, s, 1.0) * root;
}

bool Finite(const Matrix2& m) {
    for (const Complex z : {m.a, m.b, m.c, m.d}) {
        if (!std::isfinite(z.re) || !std::isfinite(z.im)) {
            return false;
        }
    }
    return true;
}

} // namespace

/// The device's ports, once the number of ports is known.
bool Parser::ReadyForDevice() {
    const int n = ports_;
    if (n == 1) {
        return Fail(0, "The file holds one-port data; a device needs the data of two ports.");
    }
    if (parameter_ != Parameter::S && n > 2) {
        return Fail(0, std::string(ParameterName(parameter_)) + "-parameter data of " +
                           std::to_string(n) +
                           " ports cannot be read as a device: only S-parameter data gives two "
                           "of its ports with the others terminated.");
    }
    if (n > 2 && (options_.port == 0 || port2_ == 0)) {
        result_.portNeeded = true;
        return Fail(0, "The file holds data of " + std::to_string(n) +
                           " ports; choose the device's two ports (1 to " + std::to_string(n) +
                           ").");
    }
    if (options_.port == 0) {
        options_.port = 1;
        port2_ = 2;
    }
    if (options_.port < 1 || options_.port > n || port2_ < 1 || port2_ > n ||
        options_.port == port2_) {
        return Fail(0, "Ports " + std::to_string(options_.port) + " and " + std::to_string(port2_) +
                           " were chosen, but the file holds data of " + std::to_string(n) +
                           " ports: choose two different ones from 1 to " + std::to_string(n) +
                           ".");
    }
    return true;
}

/// One number of a noise data row.
bool Parser::NoiseValue(int line, double v, std::string_view word) {
    if (noiseK_ == 0) {
        noiseLine_ = line;
        if (device_) {
            const double f = ToMHz(v, word);
            if (!(v >= 0.0) || !std::isfinite(f)) {
                return Fail(line, "the noise frequency " + NumberText(v) + " is out of range");
            }
            if (!noise_.empty() && !(f > noise_.back().frequency)) {
                return Fail(line, "the noise frequency " + NumberText(v) +
                                      " does not increase (it follows " +
                                      NumberText(noise_.back().v[0]) + ")");
            }
            if (noise_.size() == kTouchstoneMaxPoints) {
                return Fail(line, "more than " + std::to_string(kTouchstoneMaxPoints) +
                                      " noise frequencies cannot be read");
            }
            noise_.push_back({{}, f, line});
        }
    }
    noiseRow_[static_cast<std::size_t>(noiseK_)] = v;
    if (device_) {
        noise_.back().v[static_cast<std::size_t>(noiseK_)] = v;
    }
    noiseK_ = (noiseK_ + 1) % 5;
    return true;
}

bool Parser::BuildDevicePoint(const RawPoint& raw, DevicePoint& point) {
    Matrix2 m{PairValue(raw, 0), PairValue(raw, 1), PairValue(raw, 2), PairValue(raw, 3)};
    if (!Finite(m)) {
        return Fail(raw.line, "the value is out of range");
    }
    const double r1 = std::isnan(raw.portReference) ? baseReference_ : raw.portReference;
    const double r2 = std::isnan(raw.portReferenceJ) ? baseReferenceJ_ : raw.portReferenceJ;
    // Version 1 normalises Y and Z to the option line's reference; version 2 gives siemens and
    // ohm.
    const double scale = version_ == 1 ? baseReference_ : 1.0;
    Matrix2 s = m;
    if (parameter_ == Parameter::Z) {
        s = SFromZ(Plus(Diagonal(0, 0), m, scale), r1);
    } else if (parameter_ == Parameter::Y) {
        s = SFromZ(Inverse(Plus(Diagonal(0, 0), m, 1.0 / scale)), r1);
    } else if (r1 != r2) {
        s = SFromZ(ZFromS(m, r1, r2), r1); // both ports on the first port's reference
    }
    if (!Finite(s)) {
        return Fail(raw.line, "these parameters have no S-parameters on the " + NumberText(r1) +
                                  " ohm reference");
    }
    point = {raw.frequency, s.a, s.b, s.c, s.d, r1};
    return true;
}

std::optional<DeviceData> Parser::FinishDevice(TouchstoneResult& result) {
    std::optional<DeviceData> out;
    if (!failed_ && CheckEnd()) {
        DeviceData data;
        data.name = std::string(PathBaseName(name_));
        data.points.resize(points_.size());
        for (std::size_t i = 0; i < points_.size() && !failed_; ++i) {
            BuildDevicePoint(points_[i], data.points[i]);
        }
        for (const NoiseRow& row : noise_) {
            const double angle = std::numbers::pi / 180.0 * row.v[3];
            NoisePoint n;
            n.frequency = row.frequency;
            n.fminDb = row.v[1];
            n.gammaOpt = {row.v[2] * std::cos(angle), row.v[2] * std::sin(angle)};
            n.reference = baseReference_;
            // Version 1 normalises the noise resistance to the reference; version 2 gives ohm
            // (as scikit-rf reads it).
            n.rn = version_ == 1 ? row.v[4] * baseReference_ : row.v[4];
            if (!(n.fminDb >= 0.0) || !(row.v[2] >= 0.0 && row.v[2] < 1.0) || !(n.rn >= 0.0)) {
                Fail(row.line, "the noise parameters are out of range: the minimum noise figure "
                               "must be at least 0 dB, the optimum reflection's magnitude below "
                               "1 and the noise resistance at least 0");
                break;
            }
            data.noise.push_back(n);
        }
        if (!failed_) {
            out = std::move(data);
        }
    }
    result = std::move(result_);
    return out;
}

} // namespace touchstone
