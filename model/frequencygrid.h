#pragma once

#include <cstdint>

/// Frequencies linearly spaced from first to last (MHz), both included: the one grid of the band
/// analysis, its plot and the CLI's sweep. first may lie above last; with one point the grid is
/// first alone.
struct FrequencyGrid {
    double first = 0;
    double last = 0;
    int32_t points = 0;

    /// Frequency k (0 .. points - 1): exactly first at 0 and last at the end.
    double At(int32_t k) const {
        if (k <= 0 || points < 2) {
            return first;
        }
        if (k >= points - 1) {
            return last;
        }
        const double t = static_cast<double>(k) / (points - 1);
        return first + (last - first) * t;
    }

    friend bool operator==(const FrequencyGrid&, const FrequencyGrid&) = default;
};
