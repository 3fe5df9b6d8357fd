#pragma once

#include "app/dialogs/dialogbase.h"
#include "model/fieldrange.h"
#include "model/lossspec.h"

#include <array>
#include <cstdint>

class QLineEdit;

/// The ranges of a loss's typed fields: Q, dB per wavelength and the reference frequency (0 for
/// none). Whether they fit together is checked with the law (CheckLossSpec).
inline constexpr NumberRange kLossQRange{1e-9, 1e15};
inline constexpr NumberRange kLossDbRange{0, 1e6};
inline constexpr NumberRange kLossMhzRange{0, 1e20};

/// One loss as the dialogs show it: whether set, the value, the reference frequency (0: none)
/// and the law (radio index: constant, linear, sqrt).
struct LossFields {
    int32_t set = 0;
    double value = 0.0;
    double mhz = 0.0;
    int32_t law = 0;
};
LossFields FieldsOfLoss(const std::optional<LossSpec>& setting, double shownValue);
LossSpec LossOfFields(const LossFields& f);

/// "Losses": the document's loss defaults, for inductors and capacitors their Q and for lines the
/// dB lost by a line one wavelength long, each at its reference frequency with its law, or none.
/// Row r has its check box at 1010 + 10 r, value 1011 + 10 r, frequency 1012 + 10 r and the three
/// law radios at 1013 + 10 r onwards (rows: inductors, capacitors, lines). On OK each set row must
/// make a usable loss.
class CLossesDialog : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = 150;

    explicit CLossesDialog(QWidget* parent = nullptr);

    std::array<LossFields, 3> rows{};

protected:
    std::optional<CrossFieldRefusal> CheckFieldsTogether() const override;

private:
    std::array<QLineEdit*, 3> mhzEdits{};
};
