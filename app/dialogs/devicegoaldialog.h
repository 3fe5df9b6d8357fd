#pragma once

#include "app/dialogs/dialogbase.h"

#include <cstdint>
#include <string>

/// "Goal from Device": which impedance of the loaded device the goal [Load] follows: the source
/// for gain (Gamma_MS), the source for the least noise (Gamma_opt) or the load for gain
/// (Gamma_ML).
class CDeviceGoalDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 171;

    explicit CDeviceGoalDialog(QWidget* parent = nullptr);

    std::string label; ///< static 1210: the device's name
    /// Radios 1211-1213: source for gain, source for noise, load for gain (DeviceGoal - 1).
    int32_t goal = 0;
};
