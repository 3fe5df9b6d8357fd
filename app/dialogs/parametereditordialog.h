#pragma once

#include "app/dialogs/dialogbase.h"

#include <string>

/// "Parameter Editor": one number under a caption set by the caller ("Frequency (MHz)", ...).
/// No buttons: Enter accepts, Escape cancels.
class CParameterEditorDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 141;

    explicit CParameterEditorDialog(QWidget* parent = nullptr);

    /// Shows one value under label; true after OK, with value replaced.
    static bool Edit(QWidget* parent, const std::string& label, double& value);

    std::string label;  ///< name and unit of the value, UTF-8
    double value = 0.0; ///< 1e-15 to 1e20
};
