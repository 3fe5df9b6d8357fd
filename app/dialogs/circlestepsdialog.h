#pragma once

#include "app/dialogs/dialogbase.h"

#include <optional>
#include <string>
#include <vector>

class QLineEdit;

/// "Circle Steps": the steps of the device's circles as lists of dB values separated by commas,
/// the gain circles' below MAG or MSG and the noise circles' above Fmin. Each list holds 1 to 12
/// values above 0 and at most 100 dB.
class CCircleStepsDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 170;

    explicit CCircleStepsDialog(QWidget* parent = nullptr);

    std::string availableSteps; ///< edit 1201: available gain, dB below MAG/MSG
    std::string operatingSteps; ///< edit 1202: operating power gain, dB below MAG/MSG
    std::string noiseSteps;     ///< edit 1203: noise figure, dB above Fmin

    /// The steps of one list as typed: blanks around the values are allowed ("1, 2, 3").
    static std::optional<std::vector<double>> Steps(const std::string& text);

protected:
    std::optional<CrossFieldRefusal> CheckFieldsTogether() const override;

private:
    QLineEdit* availableEdit;
    QLineEdit* operatingEdit;
    QLineEdit* noiseEdit;
};
