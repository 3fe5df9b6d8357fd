#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>

/// "Complex Element": a compound series-RLC or parallel-RLC element, its orientation, its three
/// values and which of them the tuning keys step. OK and Cancel.
class CComplexElementDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 144;

    explicit CComplexElementDialog(QWidget* parent = nullptr);

    int32_t orientation = -1; ///< 0 "Series", 1 "Shunt"
    int32_t rlcType = -1;     ///< 0 "Parallel RLC", 1 "Series RLC"
    int32_t tunedIndex = -1;  ///< 0 resistance, 1 inductance, 2 capacitance
    double capacitance = 0.0; ///< pF, 1e-15 to 1e15
    double inductance = 0.0;  ///< nH, 1e-15 to 1e15
    double resistance = 0.0;  ///< ohm, 1e-15 to 1e15
};
