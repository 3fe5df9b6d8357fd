#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>
#include <string>

/// "Choose Port": which port's reflection to take from S-parameter data of several ports, the
/// other ports terminated in their references. OK and Cancel; the port must lie in 1 .. ports.
class CPortChoiceDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 149;

    CPortChoiceDialog(int32_t ports, QWidget* parent = nullptr);

    std::string label; ///< static 1038: what the file holds
    int32_t port = 1;  ///< edit 1003
};
