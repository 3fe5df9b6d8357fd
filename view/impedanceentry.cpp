#include "view/impedanceentry.h"

#include <cmath>

bool IsChanged(double entered, double shown) {
    return std::fabs(entered - shown) > CHANGE_TOLERANCE;
}

EntryChanges CompareEntry(const ImpedanceEntry& entered, Complex z, GammaPolar polar) {
    EntryChanges changes;
    changes.rectangular = IsChanged(entered.real, z.re) || IsChanged(entered.imag, z.im);
    changes.polar =
        IsChanged(entered.mag, polar.magnitude) || IsChanged(entered.angle, polar.angle);
    return changes;
}

ImpedanceEntry EntryOf(const SmithChrt& sc, Complex z) {
    const GammaPolar polar = sc.ZToGammaPolar(z);
    return {z.re, z.im, polar.magnitude, polar.angle};
}
