#include "app/dialogs/lossesdialog.h"

#include "model/losses.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cctype>

namespace {

constexpr const char* kRowNames[] = {"Inductors: Q", "Capacitors: Q", "Lines: dB per wavelength"};
constexpr LossClass kRowClasses[] = {LossClass::QualityFactor, LossClass::QualityFactor,
                                     LossClass::Line};

} // namespace

LossFields FieldsOfLoss(const std::optional<LossSpec>& setting, double shownValue) {
    if (!setting) {
        return {0, shownValue, 0.0, 0};
    }
    return {1, setting->value, setting->mhz, static_cast<int32_t>(setting->law)};
}

LossSpec LossOfFields(const LossFields& f) {
    return {f.value, f.mhz, static_cast<LossLaw>(f.law)};
}

CLossesDialog::CLossesDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Losses"), true, parent) {
    auto* grid = new QGridLayout;
    grid->addWidget(NewStatic(QStringLiteral("Value")), 0, 1);
    grid->addWidget(NewStatic(QStringLiteral("at MHz (0: none)")), 0, 2);
    grid->addWidget(NewStatic(QStringLiteral("Law over frequency")), 0, 3, 1, 3);
    for (int r = 0; r < 3; ++r) {
        const int id = 1010 + 10 * r;
        QCheckBox* check = NewCheck(id, QString::fromLatin1(kRowNames[r]));
        QLineEdit* value = NewEdit(id + 1);
        mhzEdits[r] = NewEdit(id + 2);
        QRadioButton* constant = NewRadio(id + 3, QStringLiteral("constant"));
        QRadioButton* linear = NewRadio(id + 4, QStringLiteral("linear"));
        QRadioButton* root = NewRadio(id + 5, QStringLiteral("sqrt"));
        grid->addWidget(check, r + 1, 0);
        grid->addWidget(value, r + 1, 1);
        grid->addWidget(mhzEdits[r], r + 1, 2);
        grid->addWidget(constant, r + 1, 3);
        grid->addWidget(linear, r + 1, 4);
        grid->addWidget(root, r + 1, 5);
        const NumberRange range = r == 2 ? kLossDbRange : kLossQRange;
        BindCheck(check, &rows[r].set);
        BindNumber(value, &rows[r].value, range.min, range.max);
        BindNumber(mhzEdits[r], &rows[r].mhz, kLossMhzRange.min, kLossMhzRange.max);
        BindRadio({constant, linear, root}, &rows[r].law);
    }
    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addWidget(NewStatic(QStringLiteral(
        "A part with a Q becomes R = X/Q in series with its reactance X; a line loses the dB\n"
        "given per wavelength at the reference frequency. Unchecked kinds stay lossless.")));
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);
}

std::optional<CDialogBase::CrossFieldRefusal> CLossesDialog::CheckFieldsTogether() const {
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].set == 0) {
            continue;
        }
        const std::string problem = CheckLossSpec(LossOfFields(rows[r]), kRowClasses[r]);
        if (!problem.empty()) {
            std::string text = problem;
            text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
            return CrossFieldRefusal{mhzEdits[r], QString::fromStdString(text + ".")};
        }
    }
    return std::nullopt;
}
