#pragma once

#include "model/complex.h"
#include "model/devicedata.h"

#include <optional>
#include <string>
#include <vector>

/// The stability and gain figures of a two-port device at one frequency.
struct DeviceFigures {
    Complex delta;        ///< S11 S22 - S12 S21
    double k = 0.0;       ///< Rollett's stability factor
    double mu = 0.0;      ///< Edwards-Sinsky: distance to the load plane's unstable region
    double muPrime = 0.0; ///< the same for the source plane
    bool unconditionallyStable = false; ///< mu > 1
    std::optional<double> magDb;        ///< maximum available gain, when K > 1 and |Delta| < 1
    std::optional<double> msgDb;        ///< maximum stable gain |S21/S12|, when S12 is not 0
    std::optional<Complex> gammaMS; ///< simultaneous conjugate match, when unconditionally stable
    std::optional<Complex> gammaML;
};

DeviceFigures ComputeDeviceFigures(const DevicePoint& s);

/// MAG where it exists, else MSG: the gain the gain circles count down from.
std::optional<double> MaxGainDb(const DeviceFigures& f);

/// The noise figure (dB) of the device driven from a source of reflection gammaS (on the noise
/// data's reference).
double NoiseFigureDb(const NoisePoint& n, Complex gammaS);

/// A circle in a reflection plane.
struct ReflectionCircle {
    Complex center;
    double radius = 0.0;
};

enum class CircleFamily { SourceStability, LoadStability, AvailableGain, OperatingGain, Noise };

/// "source-stability", "load-stability", "available-gain", "operating-gain", "noise".
const char* CircleFamilyName(CircleFamily family);

/// One circle drawn for a device: its family, its value (gain or noise figure in dB; none for
/// stability circles) and, for stability circles, whether the unstable region is inside.
struct DeviceCircle {
    CircleFamily family = CircleFamily::SourceStability;
    std::optional<double> valueDb;
    ReflectionCircle circle;
    bool unstableInside = false;
};

/// Which circle families to draw, and their steps in dB (gain: below MAG/MSG; noise: above Fmin).
struct CircleSettings {
    bool stability = false;
    bool availableGain = false;
    bool operatingGain = false;
    bool noise = false;
    std::vector<double> availableSteps{1, 2, 3};
    std::vector<double> operatingSteps{1, 2, 3};
    std::vector<double> noiseSteps{0.25, 0.5, 1, 2};

    bool Any() const { return stability || availableGain || operatingGain || noise; }
    friend bool operator==(const CircleSettings&, const CircleSettings&) = default;
};

/// The circles the settings ask for, on the device's reference; a family whose circles do not
/// exist at this point (no noise data, no gain below the maximum, a degenerate circle) is left
/// out. noise may be absent.
std::vector<DeviceCircle> DeviceCircles(const DevicePoint& s,
                                        const std::optional<NoisePoint>& noise,
                                        const CircleSettings& settings);

/// A reflection on reference "from" as the reflection of the same impedance on reference "to".
Complex MapReflection(Complex gamma, double from, double to);

/// A circle on reference "from" as the circle of the same impedances on reference "to" (a
/// circle stays a circle). flipsInside tells whether the inside became the outside (the circle
/// held the point that maps to infinity). No value when the circle passes through that point.
std::optional<ReflectionCircle> MapCircle(const ReflectionCircle& c, double from, double to,
                                          bool* flipsInside = nullptr);

/// Parses "1,2,3" (dB steps: each finite and above 0, at most 12); nothing on a fault.
std::optional<std::vector<double>> ParseCircleSteps(const std::string& text);
/// "1,2,3" as ParseCircleSteps reads it back.
std::string CircleStepsText(const std::vector<double>& steps);
