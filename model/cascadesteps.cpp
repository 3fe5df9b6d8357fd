#include "model/cascadesteps.h"

#include <cmath>
#include <cstring>

namespace {

// Two points at once: plain IEEE arithmetic on a pair of doubles, the same results as one at a
// time.
using Pair = double __attribute__((vector_size(16)));

Pair Load(const double* p) {
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Store(double* p, Pair v) {
    std::memcpy(p, &v, sizeof v);
}

} // namespace

void SeriesStep(const CascadeState& s, const double* p0, const double* p1) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // z + ze = (N + ze D) / D
    for (size_t k = 0; k < padded; k += 2) {
        const Pair zr = Load(p0 + k);
        const Pair zi = Load(p1 + k);
        const Pair xr = Load(dr + k);
        const Pair xi = Load(di + k);
        Store(nr + k, Load(nr + k) + (zr * xr - zi * xi));
        Store(ni + k, Load(ni + k) + (zr * xi + zi * xr));
    }
}

void SeriesReactiveStep(const CascadeState& s, const double* p1) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // z + j x = (N + j x D) / D
    for (size_t k = 0; k < padded; k += 2) {
        const Pair x = Load(p1 + k);
        Store(nr + k, Load(nr + k) - x * Load(di + k));
        Store(ni + k, Load(ni + k) + x * Load(dr + k));
    }
}

void ShuntStep(const CascadeState& s, const double* p0, const double* p1, const double* p2,
               const double* p3) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // z (a / b) / (z + a / b) = (a N) / (b N + a D); b = 1 for a lumped part. The step's
    // determinant is a^2 where the chain matrix's is 1.
    const bool ratio = p2 != nullptr;
    for (size_t k = 0; k < padded; k += 2) {
        const Pair ar = Load(p0 + k);
        const Pair ai = Load(p1 + k);
        const Pair xr = Load(nr + k);
        const Pair xi = Load(ni + k);
        const Pair yr = Load(dr + k);
        const Pair yi = Load(di + k);
        Pair br = xr;
        Pair bi = xi;
        if (ratio) {
            const Pair cr = Load(p2 + k);
            const Pair ci = Load(p3 + k);
            br = cr * xr - ci * xi;
            bi = cr * xi + ci * xr;
        }
        Store(nr + k, ar * xr - ai * xi);
        Store(ni + k, ar * xi + ai * xr);
        Store(dr + k, br + (ar * yr - ai * yi));
        Store(di + k, bi + (ar * yi + ai * yr));
        if (twoPort) {
            Store(s2 + k, Load(s2 + k) * (ar * ar + ai * ai));
        }
    }
}

void ShuntReactiveStep(const CascadeState& s, const double* p1) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // z (j x) / (z + j x) = (j x N) / (N + j x D), the determinant -x^2
    for (size_t k = 0; k < padded; k += 2) {
        const Pair x = Load(p1 + k);
        const Pair xr = Load(nr + k);
        const Pair xi = Load(ni + k);
        const Pair yr = Load(dr + k);
        const Pair yi = Load(di + k);
        Store(nr + k, -(x * xi));
        Store(ni + k, x * xr);
        Store(dr + k, xr - x * yi);
        Store(di + k, xi + x * yr);
        if (twoPort) {
            Store(s2 + k, Load(s2 + k) * (x * x));
        }
    }
}

void LineStep(const CascadeState& s, const double* p0, const double* p1, const double* p2,
              const double* p3, const double* p4, const double* p5) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // [N; D] <- [A, B; C, A] [N; D]: Pozar (2.44) with numerator and denominator
    // multiplied by cos(beta l) / Z0, its determinant 1.
    for (size_t k = 0; k < padded; k += 2) {
        const Pair ar = Load(p0 + k);
        const Pair ai = Load(p1 + k);
        const Pair br = Load(p2 + k);
        const Pair bi = Load(p3 + k);
        const Pair cr = Load(p4 + k);
        const Pair ci = Load(p5 + k);
        const Pair xr = Load(nr + k);
        const Pair xi = Load(ni + k);
        const Pair yr = Load(dr + k);
        const Pair yi = Load(di + k);
        Store(nr + k, (ar * xr - ai * xi) + (br * yr - bi * yi));
        Store(ni + k, (ar * xi + ai * xr) + (br * yi + bi * yr));
        Store(dr + k, (cr * xr - ci * xi) + (ar * yr - ai * yi));
        Store(di + k, (cr * xi + ci * xr) + (ar * yi + ai * yr));
    }
}

void LosslessLineStep(const CascadeState& s, const double* p0, const double* p1, double z0) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // [N; D] <- [cos, j Z0 sin; j sin / Z0, cos] [N; D]
    const double y0 = 1 / z0;
    for (size_t k = 0; k < padded; k += 2) {
        const Pair a = Load(p0 + k);
        const Pair b = z0 * Load(p1 + k);
        const Pair c = y0 * Load(p1 + k);
        const Pair xr = Load(nr + k);
        const Pair xi = Load(ni + k);
        const Pair yr = Load(dr + k);
        const Pair yi = Load(di + k);
        Store(nr + k, a * xr - b * yi);
        Store(ni + k, a * xi + b * yr);
        Store(dr + k, a * yr - c * xi);
        Store(di + k, a * yi + c * xr);
    }
}

void OpenStubStep(const CascadeState& s, const double* p0, const double* p1, double z0) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // a / b = Z0 cos / (j sin): (a N) / (j sin N + a D)
    for (size_t k = 0; k < padded; k += 2) {
        const Pair a = z0 * Load(p0 + k);
        const Pair b = Load(p1 + k);
        const Pair xr = Load(nr + k);
        const Pair xi = Load(ni + k);
        const Pair yr = Load(dr + k);
        const Pair yi = Load(di + k);
        Store(nr + k, a * xr);
        Store(ni + k, a * xi);
        Store(dr + k, a * yr - b * xi);
        Store(di + k, a * yi + b * xr);
        if (twoPort) {
            Store(s2 + k, Load(s2 + k) * (a * a));
        }
    }
}

void ShortedStubStep(const CascadeState& s, const double* p0, const double* p1, double z0) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // a / b = j Z0 sin / cos: (j Z0 sin N) / (cos N + j Z0 sin D)
    for (size_t k = 0; k < padded; k += 2) {
        const Pair b = Load(p0 + k);
        const Pair a = z0 * Load(p1 + k);
        const Pair xr = Load(nr + k);
        const Pair xi = Load(ni + k);
        const Pair yr = Load(dr + k);
        const Pair yi = Load(di + k);
        Store(nr + k, -(a * xi));
        Store(ni + k, a * xr);
        Store(dr + k, b * xr - a * yi);
        Store(di + k, b * xi + a * yr);
        if (twoPort) {
            Store(s2 + k, Load(s2 + k) * (a * a));
        }
    }
}

void Rescale(const CascadeState& s) {
    double* nr = s.nr;
    double* ni = s.ni;
    double* dr = s.dr;
    double* di = s.di;
    [[maybe_unused]] double* s2 = s.s2;
    const size_t padded = s.padded;
    [[maybe_unused]] const bool twoPort = s.twoPort;
    // Scaling both terms changes nothing of N / D.
    for (size_t k = 0; k < padded; ++k) {
        const double s = std::fabs(dr[k]) + std::fabs(di[k]);
        if (s > 1e100 || (s < 1e-100 && s > 0)) {
            nr[k] /= s;
            ni[k] /= s;
            dr[k] /= s;
            di[k] /= s;
            s2[k] /= s * s;
        }
    }
}
