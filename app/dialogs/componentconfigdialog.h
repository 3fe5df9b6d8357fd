#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>
#include <string>

/// "Component Configuration": series or shunt for a new capacitor, inductor or resistor.
/// OK only and no close box; Escape cancels.
class CComponentConfigDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 142;

    explicit CComponentConfigDialog(QWidget* parent = nullptr);

    int32_t placementIndex = -1; ///< 0 "Series", 1 "Shunt", -1 none
    std::string label;           ///< the line above the choice ("Add Capacitor", ...), UTF-8
};
