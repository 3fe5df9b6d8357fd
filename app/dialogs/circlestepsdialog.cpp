#include "app/dialogs/circlestepsdialog.h"

#include "model/devicefigures.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace {

constexpr int kMaxStepsText = 120;

} // namespace

CCircleStepsDialog::CCircleStepsDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Circle Steps"), true, parent), availableEdit(NewEdit(1201)),
      operatingEdit(NewEdit(1202)), noiseEdit(NewEdit(1203)) {
    auto* grid = new QGridLayout;
    grid->addWidget(NewStatic(QStringLiteral("Available gain, dB below MAG/MSG")), 0, 0);
    grid->addWidget(availableEdit, 0, 1);
    grid->addWidget(NewStatic(QStringLiteral("Operating gain, dB below MAG/MSG")), 1, 0);
    grid->addWidget(operatingEdit, 1, 1);
    grid->addWidget(NewStatic(QStringLiteral("Noise figure, dB above Fmin")), 2, 0);
    grid->addWidget(noiseEdit, 2, 1);

    auto* column = new QVBoxLayout;
    column->addWidget(NewStatic(QStringLiteral("Steps separated by commas, for example 1,2,3")));
    column->addLayout(grid);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column, 50);

    BindText(availableEdit, &availableSteps, kMaxStepsText);
    BindText(operatingEdit, &operatingSteps, kMaxStepsText);
    BindText(noiseEdit, &noiseSteps, kMaxStepsText);
}

std::optional<CDialogBase::CrossFieldRefusal> CCircleStepsDialog::CheckFieldsTogether() const {
    const std::pair<QLineEdit*, const std::string*> lists[] = {
        {availableEdit, &availableSteps},
        {operatingEdit, &operatingSteps},
        {noiseEdit, &noiseSteps},
    };
    for (const auto& [edit, text] : lists) {
        if (!ParseCircleSteps(*text)) {
            return CrossFieldRefusal{
                edit, QStringLiteral("Please enter 1 to 12 steps in dB, each above 0 and at most "
                                     "100, separated by commas.")};
        }
    }
    return std::nullopt;
}
