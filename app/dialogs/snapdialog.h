#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>

/// "Snap to Standard Values": the series (E6 to E192) that every L, C and R value moves to.
class CSnapDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 162;

    explicit CSnapDialog(QWidget* parent = nullptr);

    /// Radios 1121-1126: E6, E12, E24, E48, E96, E192.
    int32_t series = 2;
};
