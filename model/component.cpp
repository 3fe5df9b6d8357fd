#include "model/component.h"
#include "model/componentvalues.h"
#include "model/elementformula.h"

#include "model/constants.h"

#include <cmath>

double CapacitorReactance(double f, double c) {
    return element_formula::CapacitorReactance(f, c);
}

double InductorReactance(double f, double l) {
    return element_formula::InductorReactance(f, l);
}

Complex ElementImpedance(const Component& c, double f) {
    return element_formula::ElementImpedance(c, f);
}

double LineAngleAt(const Component& c, double f) {
    return f / c.lineFreq * c.lineAngle;
}

double ResonantFrequency(const Component& c) {
    return 1 / (std::sqrt(c.capacitance * c.inductance * kPicoNano) * kTwoPi) * 1e-06;
}

double* TunableField(Component& c, TunableLookup& status) {
    status = TunableLookup::Found;
    switch (c.kind) {
    case KIND_RESISTOR:
        return &c.resistance;
    case KIND_CAPACITOR:
        return &c.capacitance;
    case KIND_INDUCTOR:
        return &c.inductance;
    case KIND_TLINE:
        return &c.lineAngle;
    case KIND_PARALLEL_RLC:
    case KIND_SERIES_RLC:
        switch (c.tunedElement) {
        case TUNE_R:
            return &c.resistance;
        case TUNE_L:
            return &c.inductance;
        case TUNE_C:
            return &c.capacitance;
        default:
            status = TunableLookup::ScrewyTunedElement;
            return nullptr;
        }
    default:
        status = TunableLookup::UnknownKind;
        return nullptr;
    }
}

Component InductorOf(int32_t placement, double nH) {
    Component c;
    c.kind = KIND_INDUCTOR;
    c.placement = placement;
    c.inductance = nH;
    return c;
}

Component CapacitorOf(int32_t placement, double pF) {
    Component c;
    c.kind = KIND_CAPACITOR;
    c.placement = placement;
    c.capacitance = pF;
    return c;
}

Component LineOf(int32_t placement, double z0, double angleDegrees, double f) {
    Component c;
    c.kind = KIND_TLINE;
    c.placement = placement;
    c.lineZ0 = z0;
    c.lineAngle = angleDegrees;
    c.lineFreq = f;
    return c;
}

Component NewResistor(int32_t placement, double z0) {
    Component c;
    c.kind = KIND_RESISTOR;
    c.placement = placement;
    c.resistance = z0;
    return c;
}

Component NewCapacitor(int32_t placement, double z0, double f) {
    return CapacitorOf(placement, 1 / (z0 * f * kTwoPiE6) * kFaradToPico);
}

Component NewInductor(int32_t placement, double z0, double f) {
    return InductorOf(placement, z0 / (f * kTwoPiE6) * kHenryToNano);
}

Component NewLine(int32_t placement, double z0, double f) {
    return LineOf(placement, z0, 45.0, f);
}

Component NewCompound(int32_t kind, int32_t placement) {
    Component c;
    c.kind = kind;
    c.placement = placement;
    c.resistance = 0.5;
    c.inductance = 0.65;
    c.capacitance = 1.0;
    c.tunedElement = TUNE_C;
    return c;
}
