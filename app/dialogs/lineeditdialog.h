#pragma once

#include "app/dialogs/dialogbase.h"
#include "model/component.h"

/// "Transmission Line Component Edit": the line values of one transmission-line component.
/// No buttons: Enter accepts, Escape or the close box cancels.
class CLineEditDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 133;

    explicit CLineEditDialog(QWidget* parent = nullptr);

    /// Keeps a copy of c and shows its line Z0, angle and frequency.
    void SetComponent(const Component& c);
    /// The stored copy with the three line values taken from the dialog's fields.
    Component GetComponent() const;

    Component component;
    double lineAngle = 0.0; ///< degrees, 0 to 3600
    double lineFreq = 0.0;  ///< MHz, 0 to 1e15
    double lineZ0 = 0.0;    ///< ohm, 0 to 1e12
};
