#pragma once

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
    friend Complex operator/(Complex a, Complex b);
    friend constexpr bool operator==(Complex a, Complex b) { return a.re == b.re && a.im == b.im; }
};

/// The conjugate, used where a network is turned end for end.
constexpr Complex Conjugate(Complex z) {
    return {z.re, -z.im};
}
