#include "complex.h"

#include <cmath>
#include <limits>

Complex operator/(Complex a, Complex b) {
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double c = b.re;
    const double d = b.im;
    if (std::isnan(c) || std::isnan(d)) {
        return {kNaN, kNaN};
    }
    if (std::fabs(d) < std::fabs(c)) {
        const double r = d / c;
        const double den = c + r * d;
        if (std::isnan(den) || den == 0.0) {
            return {kNaN, kNaN};
        }
        return {(a.re + a.im * r) / den, (a.im - a.re * r) / den};
    }
    if (d == 0.0) {
        return {kNaN, kNaN};
    }
    const double r = c / d;
    const double den = d + r * c;
    if (std::isnan(den) || den == 0.0) {
        return {kNaN, kNaN};
    }
    return {(a.re * r + a.im) / den, (a.im * r - a.re) / den};
}
