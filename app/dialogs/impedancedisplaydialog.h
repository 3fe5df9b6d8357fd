#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>

/// "Impedance Display": one impedance in both formats, and what to do with it. OK only and no
/// close box; Escape cancels.
class CImpedanceDisplayDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 145;

    explicit CImpedanceDisplayDialog(QWidget* parent = nullptr);

    /// 0 "Do Nothing", 1 make it the starting impedance, 2 make it the goal impedance.
    int32_t action = -1;
    double zReal = 0.0;      ///< ohm, 1e-15 to 1e15
    double zImag = 0.0;      ///< ohm, -1e15 to 1e15
    double gammaMag = 0.0;   ///< 0 to 1
    double gammaAngle = 0.0; ///< degrees, -180 to 180
};
