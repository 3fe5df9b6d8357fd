#pragma once

#include "model/complex.h"

#include <optional>
#include <string>
#include <vector>

/// The scattering parameters of a two-port device (a transistor, say) at one frequency.
struct DevicePoint {
    double frequency = 0.0; ///< MHz
    Complex s11;
    Complex s12;
    Complex s21;
    Complex s22;
    double reference = 50.0; ///< the real reference impedance of both ports, ohm
};

/// The noise parameters of a two-port device at one frequency.
struct NoisePoint {
    double frequency = 0.0; ///< MHz
    double fminDb = 0.0;    ///< minimum noise figure, dB
    Complex gammaOpt;       ///< the source reflection that gives it, on reference
    double rn = 0.0;        ///< equivalent noise resistance, ohm
    double reference = 50.0;
};

/// A two-port device as read from a Touchstone file: its S-parameters and, where the file has
/// them, its noise parameters, which may cover other frequencies.
struct DeviceData {
    std::string name;                ///< the file's name for display, without folders
    std::vector<DevicePoint> points; ///< at least one; frequencies strictly increasing
    std::vector<NoisePoint> noise;   ///< may be empty; frequencies strictly increasing
};

/// Empty when data keeps the invariants above with every number finite and every reference and
/// noise resistance usable; otherwise what is wrong.
std::string CheckDeviceData(const DeviceData& data);

/// The S-parameters at frequency (MHz): a data point's own at its frequency, between two the
/// real and imaginary parts of each interpolated linearly; nothing outside the data's range.
std::optional<DevicePoint> DeviceAt(const DeviceData& data, double frequency);

/// The noise parameters at frequency (MHz), interpolated the same way (Fmin in dB, Gamma_opt in
/// its real and imaginary parts, Rn); nothing outside the noise data's range or the S data's.
std::optional<NoisePoint> DeviceNoiseAt(const DeviceData& data, double frequency);
