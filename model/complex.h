#pragma once

#include <cmath>
#include <limits>

/// Complex value of two doubles. Division never traps: a zero or NaN divisor gives (NaN, NaN).
struct Complex {
    double re = 0.0;
    double im = 0.0;

    constexpr Complex() = default;
    constexpr Complex(double r, double i) : re(r), im(i) {}

    friend constexpr Complex operator+(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
    friend constexpr Complex operator-(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
    friend constexpr Complex operator*(Complex a, Complex b) {
        return {a.re * b.re - a.im * b.im, a.im * b.re + a.re * b.im};
    }
    friend constexpr Complex operator*(Complex a, double k) { return {a.re * k, a.im * k}; }
    // Smith's method; defined here so that the chart's stepping, which divides on every trial
    // point, can have it inlined.
    friend Complex operator/(Complex a, Complex b) {
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
    friend constexpr bool operator==(Complex a, Complex b) { return a.re == b.re && a.im == b.im; }
};

/// The conjugate, used where a network is turned end for end.
constexpr Complex Conjugate(Complex z) {
    return {z.re, -z.im};
}
