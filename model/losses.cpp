#include "model/losses.h"

#include "model/constants.h"
#include "model/smithchrt.h"

#include <algorithm>
#include <cmath>

namespace {

// 1 dB in nepers: ln(10) / 20.
constexpr double kNepersPerDb = 0.11512925464970229;

} // namespace

LossClass LossClassOf(int32_t kind) {
    switch (kind) {
    case KIND_CAPACITOR:
    case KIND_INDUCTOR:
        return LossClass::QualityFactor;
    case KIND_TLINE:
        return LossClass::Line;
    default:
        return LossClass::None;
    }
}

bool IsLossless(const LossSpec& setting, LossClass cls) {
    switch (cls) {
    case LossClass::QualityFactor:
        return std::isinf(setting.value);
    case LossClass::Line:
        return setting.value == 0;
    default:
        return true;
    }
}

std::string CheckLossSpec(const LossSpec& setting, LossClass cls) {
    if (cls == LossClass::QualityFactor && !(setting.value > 0)) {
        return "Q must be above 0";
    }
    if (cls == LossClass::Line && !(setting.value >= 0 && std::isfinite(setting.value))) {
        return "the line loss must be 0 dB or more";
    }
    if (cls == LossClass::None) {
        return "this kind of part keeps its own resistance";
    }
    if (setting.law != LossLaw::Constant && setting.law != LossLaw::Linear &&
        setting.law != LossLaw::Sqrt) {
        return "the law must be constant, linear or sqrt";
    }
    if (!(setting.mhz >= 0 && std::isfinite(setting.mhz))) {
        return "the reference frequency must be a positive number of MHz";
    }
    if (setting.mhz == 0 && !IsLossless(setting, cls) &&
        (cls == LossClass::Line || setting.law != LossLaw::Constant)) {
        return cls == LossClass::Line ? "a line loss needs its reference frequency"
                                      : "the linear and sqrt laws need a reference frequency";
    }
    return "";
}

double LawFactor(LossLaw law, double f, double fRef) {
    switch (law) {
    case LossLaw::Linear:
        return f / fRef;
    case LossLaw::Sqrt:
        return std::sqrt(f / fRef);
    default:
        return 1.0;
    }
}

std::optional<LossSpec> EffectiveLoss(const LossSettings& defaults, const Component& c) {
    const LossClass cls = LossClassOf(c.kind);
    std::optional<LossSpec> setting = c.loss;
    if (!setting) {
        setting = c.kind == KIND_INDUCTOR    ? defaults.inductorQ
                  : c.kind == KIND_CAPACITOR ? defaults.capacitorQ
                  : c.kind == KIND_TLINE     ? defaults.lineLoss
                                             : std::nullopt;
    }
    if (!setting || IsLossless(*setting, cls)) {
        return std::nullopt;
    }
    return setting;
}

bool HasLossSettings(const SmithChrt& chart) {
    if (chart.losses.IsSet()) {
        return true;
    }
    const int32_t n = std::clamp(chart.componentCount, 0, MAX_COMPONENTS);
    return std::any_of(chart.components.begin(), chart.components.begin() + n,
                       [](const Component& c) { return c.loss.has_value(); });
}

double LineNepersPerDegree(const LossSpec& setting, double f) {
    const double dbPerWavelength =
        setting.value * LawFactor(setting.law, f, setting.mhz) * (setting.mhz / f);
    return dbPerWavelength * kNepersPerDb / 360;
}

ElementValue EvaluateElement(const LossSettings& defaults, const Component& c, double f) {
    ElementValue v;
    v.ze = ElementImpedance(c, f);
    if (c.kind == KIND_TLINE) {
        v.theta = LineAngleAt(c, f);
    }
    if (!c.loss && !defaults.IsSet()) {
        return v;
    }
    const std::optional<LossSpec> setting = EffectiveLoss(defaults, c);
    if (!setting) {
        return v;
    }
    if (c.kind == KIND_TLINE) {
        v.nepersPerDegree = LineNepersPerDegree(*setting, f);
    } else {
        // Q = |X| / R of the series equivalent.
        const double q = setting->value * LawFactor(setting->law, f, setting->mhz);
        v.ze.re = std::fabs(v.ze.im) / q;
    }
    return v;
}
