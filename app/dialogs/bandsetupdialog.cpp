#include "app/dialogs/bandsetupdialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CBandSetupDialog::CBandSetupDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Band Setup"), true, parent) {
    QLineEdit* lowEdit = NewEdit(1003);
    highEdit = NewEdit(1004);
    QLineEdit* pointsEdit = NewEdit(1005);

    auto* edits = new QGridLayout;
    edits->addWidget(NewStatic(QStringLiteral("Low frequency (MHz)")), 0, 0);
    edits->addWidget(lowEdit, 0, 1);
    edits->addWidget(NewStatic(QStringLiteral("High frequency (MHz)")), 1, 0);
    edits->addWidget(highEdit, 1, 1);
    edits->addWidget(NewStatic(QStringLiteral("Points (2 - 10001)")), 2, 0);
    edits->addWidget(pointsEdit, 2, 1);

    auto* column = new QVBoxLayout;
    column->addLayout(edits);
    column->addWidget(NewStatic(QStringLiteral(
        "The network is evaluated at evenly spaced frequencies, both ends included.")));
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);

    BindNumber(lowEdit, &low, kBandFrequencyRange.min, kBandFrequencyRange.max);
    BindNumber(highEdit, &high, kBandFrequencyRange.min, kBandFrequencyRange.max);
    BindInteger(pointsEdit, &points, kBandPointsRange.min, kBandPointsRange.max);
}

std::optional<CDialogBase::CrossFieldRefusal> CBandSetupDialog::CheckFieldsTogether() const {
    if (high > low) {
        return std::nullopt;
    }
    return CrossFieldRefusal{highEdit,
                             QString::fromLatin1(BandProblemText(BandProblem::HighNotAboveLow))};
}
