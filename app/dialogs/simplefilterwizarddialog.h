#pragma once

#include "app/dialogs/dialogbase.h"
#include "design/filterwizard.h"

#include <cstdint>

/// "Simple HPF/LPF Synthesis wizard": the design values of an odd-order equal-ripple low-pass or
/// high-pass ladder filter. OK and Cancel.
class CSimpleFilterWizardDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 147;

    explicit CSimpleFilterWizardDialog(QWidget* parent = nullptr);

    /// The values the wizard opens with on doc: cutoff at the analysis frequency, Ro the chart
    /// Z0, 0.1 dB ripple, third order, low-pass with a shunt first element.
    void SetOpeningValues(const SmithChrt& doc);
    /// Sets the fields from in, or reads them back as the wizard's input.
    void SetInput(const FilterInput& in);
    FilterInput Input() const;

    // In memory order, which is also the order of exchange and validation. All start at 0.
    // The ranges are the wizard's: kCutoffRange, kRippleRange, kOrderRange, kRoRange.
    double cutoffMHz = 0.0;   ///< 1e-15 to 1e15
    double rippleDb = 0.0;    ///< 0.0001 to 10
    int32_t order = 0;        ///< 3 to 15
    double ro = 0.0;          ///< ohm, 1e-15 to 1e15
    int32_t filterType = 0;   ///< FILTER_LOWPASS or FILTER_HIGHPASS
    int32_t firstElement = 0; ///< FIRST_SHUNT or FIRST_SERIES
};
