#pragma once

#include "dialogbase.h"

#include <cstdint>

/// "Simple HPF/LPF Synthesis wizard": the design values of an odd-order equal-ripple low-pass or
/// high-pass ladder filter. OK and Cancel.
class CSimpleFilterWizardDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 147;

    explicit CSimpleFilterWizardDialog(QWidget* parent = nullptr);

    /// The values the wizard opens with: cutoff at the analysis frequency (MHz), Ro the chart Z0
    /// (ohm), 0.1 dB ripple, third order, low-pass with a shunt first element.
    void SetOpeningValues(double frequency, double chartZ0);

    // In memory order, which is also the order of exchange and validation. All start at 0.
    double cutoffMHz = 0.0;   ///< 1e-15 to 1e15
    double rippleDb = 0.0;    ///< 0.0001 to 10
    int32_t order = 0;        ///< 3 to 15
    double ro = 0.0;          ///< ohm, 1e-15 to 1e15
    int32_t filterType = 0;   ///< 0 Lowpass, 1 Highpass
    int32_t firstElement = 0; ///< 0 Shunt, 1 Series
};
