#pragma once

#include "model/complex.h"
#include "model/component.h"
#include "model/lossspec.h"

#include <optional>
#include <string>

class SmithChrt;

/// Which loss a kind of part takes.
enum class LossClass { None, QualityFactor, Line };
LossClass LossClassOf(int32_t kind);

/// True when setting leaves a part of class cls without loss: Q infinite, or 0 dB.
bool IsLossless(const LossSpec& setting, LossClass cls);

/// Why setting cannot be the loss of a part of class cls, or empty when it can: Q above 0
/// (infinity allowed), dB 0 or above and finite, the reference frequency 0 or above and finite,
/// and above 0 for a law other than constant and for a line loss, unless the value is lossless.
std::string CheckLossSpec(const LossSpec& setting, LossClass cls);

/// The law's factor at f MHz: 1, f / f_ref or sqrt(f / f_ref).
double LawFactor(LossLaw law, double f, double fRef);

/// The loss c has: its own setting, else the document's default for its kind; none when that
/// is lossless or the kind takes no loss.
std::optional<LossSpec> EffectiveLoss(const LossSettings& defaults, const Component& c);

/// True when the document has a loss default or any part its own loss setting.
bool HasLossSettings(const SmithChrt& chart);

/// One element at one frequency as the cascade steps it: its impedance (a lossy inductor or
/// capacitor's series equivalent R + jX, R = |X| / Q(f); a line's characteristic impedance),
/// a line's electrical angle in degrees and its attenuation in nepers per degree of that angle
/// (0 when lossless).
struct ElementValue {
    Complex ze;
    double theta = 0.0;
    double nepersPerDegree = 0.0;
};

/// The element value of c, of known kind, at f MHz with the document's loss defaults.
ElementValue EvaluateElement(const LossSettings& defaults, const Component& c, double f);

/// The attenuation of a line in nepers per degree of electrical angle at f MHz: setting gives dB
/// per wavelength at its reference frequency, so the line loses DB * law(f / f_ref) * f_ref / f dB
/// per wavelength at f.
double LineNepersPerDegree(const LossSpec& setting, double f);
