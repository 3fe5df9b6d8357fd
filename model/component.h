#pragma once

#include "model/complex.h"
#include "model/lossspec.h"

#include <cstdint>

enum : int32_t {
    KIND_RESISTOR = 10,
    KIND_CAPACITOR = 11,
    KIND_INDUCTOR = 12,
    KIND_TLINE = 13,
    KIND_PARALLEL_RLC = 14,
    KIND_SERIES_RLC = 15,
};

enum : int32_t {
    PLACE_SERIES = 1,
    PLACE_SHUNT = 2,
    PLACE_TL_SERIES = 3,
    PLACE_TL_SHUNT_OPEN = 4,
    PLACE_TL_SHUNT_SHORTED = 5,
};

enum : int32_t {
    TUNE_R = 0,
    TUNE_L = 1,
    TUNE_C = 2,
};

/// One network element. Units: ohm, pF, nH, degrees, MHz.
struct Component {
    int32_t kind = 0;
    int32_t placement = 0;
    int32_t tunedElement = 0;
    double resistance = 0.0;
    double capacitance = 0.0;
    double inductance = 0.0;
    double lineZ0 = 0.0;
    double lineAngle = 0.0;
    double lineFreq = 0.0;
    /// The part's own loss, overriding the document's default for its kind (a lossless value
    /// makes it lossless); none to take the default. Kept in the document trailer.
    std::optional<LossSpec> loss = std::nullopt;

    friend bool operator==(const Component&, const Component&) = default;
};

/// True for the kinds 10 to 15 that the program knows.
constexpr bool IsKnownKind(int32_t kind) {
    return kind >= KIND_RESISTOR && kind <= KIND_SERIES_RLC;
}

/// Reactance of a capacitor of c pF at f MHz.
double CapacitorReactance(double f, double c);
/// Reactance of an inductor of l nH at f MHz.
double InductorReactance(double f, double l);

/// Element impedance of a known kind at f MHz; for a line its characteristic impedance.
/// Unknown kinds give (0, 0): callers check IsKnownKind first.
Complex ElementImpedance(const Component& c, double f);
/// Electrical angle in degrees of a line at f MHz: the stored angle scaled with frequency.
double LineAngleAt(const Component& c, double f);
/// Resonant frequency in MHz of a compound element.
double ResonantFrequency(const Component& c);

/// The outcome of looking for the value that the tuning keys change.
enum class TunableLookup { Found, ScrewyTunedElement, UnknownKind };
/// The field of c that tuning multiplies, or nullptr with the reason in status.
double* TunableField(Component& c, TunableLookup& status);

/// New components as the add commands create them, for chart Z0 z0 (ohm) and frequency f (MHz).
Component NewResistor(int32_t placement, double z0);
Component NewCapacitor(int32_t placement, double z0, double f);
Component NewInductor(int32_t placement, double z0, double f);
Component NewLine(int32_t placement, double z0, double f);
Component NewCompound(int32_t kind, int32_t placement);
