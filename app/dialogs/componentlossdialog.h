#pragma once

#include "app/dialogs/dialogbase.h"
#include "app/dialogs/lossesdialog.h"
#include "model/losses.h"

#include <cstdint>

class QLineEdit;

/// "Component Loss": the active part's own loss. Radios 1001 (the document's default), 1002
/// (lossless), 1003 (its own: value 1004, reference frequency 1005, law radios 1006 to 1008).
/// On OK its own loss must be usable for the part's kind.
class CComponentLossDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 151;

    /// cls is the part's class: a Q for inductors and capacitors, dB for lines.
    explicit CComponentLossDialog(LossClass cls, QWidget* parent = nullptr);

    int32_t choice = 0; ///< 0 default, 1 lossless, 2 own
    LossFields own;     ///< own.set is not used

protected:
    std::optional<CrossFieldRefusal> CheckFieldsTogether() const override;

private:
    LossClass cls;
    QLineEdit* mhzEdit = nullptr;
};
