#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>
#include <optional>
#include <string>

class QLineEdit;

/// "Choose Port": which port's reflection to take from S-parameter data of several ports, the
/// other ports terminated in their references. OK and Cancel; the port must lie in 1 .. ports.
/// For a two-port device, "Choose Ports" asks for two different ports: the device's port 1 and
/// port 2.
class CPortChoiceDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 149;

    CPortChoiceDialog(int32_t ports, QWidget* parent = nullptr);
    /// twoPorts: asks for the device's two ports instead of one.
    CPortChoiceDialog(int32_t ports, bool twoPorts, QWidget* parent = nullptr);

    std::string label; ///< static 1038: what the file holds
    int32_t port = 1;  ///< edit 1003
    int32_t port2 = 2; ///< edit 1004, in the two-port form only

protected:
    std::optional<CrossFieldRefusal> CheckFieldsTogether() const override;

private:
    QLineEdit* secondEdit = nullptr;
};
