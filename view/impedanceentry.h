#pragma once

#include "model/complex.h"
#include "model/smithchrt.h"

/// A field of an impedance entry counts as changed when it differs from the value it was
/// compared with by more than this (absolute, in the field's own unit).
inline constexpr double CHANGE_TOLERANCE = 1e-6;

/// Shown when both formats of one impedance were changed; the polar entry wins.
inline constexpr const char* kBothFormatsChanged =
    " You changed the entries in both impedance formats, the entry in the Mag/Angle will be used";

/// One impedance as a dialog shows it in both formats: resistance and reactance in ohm, and the
/// magnitude and angle (degrees) of its reflection coefficient.
struct ImpedanceEntry {
    double real = 0.0;
    double imag = 0.0;
    double mag = 0.0;
    double angle = 0.0;
};

/// Which of the two formats the user changed.
struct EntryChanges {
    bool rectangular = false;
    bool polar = false;
};

/// True when entered differs from shown by more than CHANGE_TOLERANCE.
bool IsChanged(double entered, double shown);

/// Compares the entry read back from a dialog with what the dialog was opened with: the
/// rectangular pair against z, the polar pair against polar.
EntryChanges CompareEntry(const ImpedanceEntry& entered, Complex z, GammaPolar polar);

/// The entry as it was shown: z and its polar pair on the chart's Z0.
ImpedanceEntry EntryOf(const SmithChrt& sc, Complex z);
