#pragma once

#include "model/complex.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

/// One frequency of measured or simulated one-port data.
struct MeasuredPoint {
    double frequency = 0.0;  ///< MHz
    Complex gamma;           ///< reflection coefficient on reference
    double reference = 50.0; ///< real reference impedance, ohm, positive
    /// The impedance the file gives at this frequency, ohm: exactly the file's value for
    /// impedance data, reference * (1 + gamma) / (1 - gamma) otherwise, and
    /// (+inf, 0) for an ideal open (gamma exactly 1).
    Complex impedance;
};

/// A point from its reflection coefficient; the impedance follows from it.
MeasuredPoint MeasuredPointFromGamma(double frequency, Complex gamma, double reference);
/// A point from its impedance; the reflection coefficient follows from it.
MeasuredPoint MeasuredPointFromImpedance(double frequency, Complex impedance, double reference);

/// One-port data across frequency, as read from a Touchstone file or stored in a document.
struct MeasuredData {
    std::string name;                  ///< the file's name for display, without folders
    std::vector<MeasuredPoint> points; ///< at least one; frequencies strictly increasing
};

/// Empty when data keeps the invariants above and every number is usable (finite frequencies
/// and references, positive references, gamma finite); otherwise what is wrong, for a reader
/// of stored data to refuse it.
std::string CheckMeasuredData(const MeasuredData& data);

/// The impedance at frequency (MHz). At a data frequency the point's own impedance, exactly;
/// between two data frequencies the real and imaginary parts of gamma and the reference are
/// interpolated linearly and turned back into an impedance; outside the data's range (or for a
/// NaN frequency, or empty data) no value. Where the data holds an open circuit (gamma exactly
/// 1) the value is (+inf, 0).
std::optional<Complex> MeasuredImpedanceAt(const MeasuredData& data, double frequency);

/// The same interpolation for many frequencies: remembers where the last one fell, so a rising
/// sweep costs one step per query. Any order of queries gives the same values as
/// MeasuredImpedanceAt. The data must outlive the cursor and stay unchanged.
class MeasuredCursor {
public:
    explicit MeasuredCursor(const MeasuredData& data) : data_(&data) {}
    std::optional<Complex> ImpedanceAt(double frequency);

private:
    const MeasuredData* data_;
    std::size_t index_ = 0;
};
