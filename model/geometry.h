#pragma once

#include <cstdint>

/// A point in drawing or window coordinates.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend constexpr bool operator==(Point a, Point b) = default;
};

/// A rectangle; in drawing coordinates (y upward) top is greater than bottom.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend constexpr bool operator==(const Rect& a, const Rect& b) = default;
};

/// The value of int32 that stands for "no coordinate": what x86 gives for NaN and overflow.
inline constexpr int32_t kInvalidCoordinate = INT32_MIN;

/// Truncates toward zero; NaN, infinities and values outside int32 give kInvalidCoordinate.
constexpr int32_t TruncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) {
        return kInvalidCoordinate;
    }
    return static_cast<int32_t>(v);
}

/// Narrows a 64-bit integer sum to int32 by the same rule.
constexpr int32_t ClampToInt32(int64_t v) {
    if (v < INT32_MIN || v > INT32_MAX) {
        return kInvalidCoordinate;
    }
    return static_cast<int32_t>(v);
}
