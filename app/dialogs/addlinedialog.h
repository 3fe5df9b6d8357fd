#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>

/// "Add Transmission Line Element": the kind of line to add. OK only; Escape or the close box
/// cancels.
class CAddLineDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 143;

    explicit CAddLineDialog(QWidget* parent = nullptr);

    /// 0 series line, 1 shunt open stub, 2 shunt shorted stub, -1 none.
    int32_t lineType = -1;
};
