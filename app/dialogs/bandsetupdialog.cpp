#include "app/dialogs/bandsetupdialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

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

    QRadioButton* noLimit = NewRadio(1007, QStringLiteral("&No limit"));
    QRadioButton* rlLimit = NewRadio(1008, QStringLiteral("&Return loss at least (dB)"));
    QRadioButton* vswrLimit = NewRadio(1009, QStringLiteral("&VSWR at most"));
    limitEdit = NewEdit(1006);
    QGroupBox* limits = NewRadioGroup(QStringLiteral("Limit"), {noLimit, rlLimit, vswrLimit});
    auto* limitRow = new QHBoxLayout;
    limitRow->addWidget(limits);
    limitRow->addWidget(limitEdit);

    auto* column = new QVBoxLayout;
    column->addLayout(edits);
    column->addWidget(NewStatic(QStringLiteral(
        "The network is evaluated at evenly spaced frequencies, both ends included.")));
    column->addLayout(limitRow);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);

    BindNumber(lowEdit, &low, kBandFrequencyRange.min, kBandFrequencyRange.max);
    BindNumber(highEdit, &high, kBandFrequencyRange.min, kBandFrequencyRange.max);
    BindInteger(pointsEdit, &points, kBandPointsRange.min, kBandPointsRange.max);
    BindRadio({noLimit, rlLimit, vswrLimit}, &limitKind);
    BindNumber(limitEdit, &limitValue, -1e20, 1e20);
}

std::optional<CDialogBase::CrossFieldRefusal> CBandSetupDialog::CheckFieldsTogether() const {
    if (!(high > low)) {
        return CrossFieldRefusal{
            highEdit, QString::fromLatin1(BandProblemText(BandProblem::HighNotAboveLow))};
    }
    const char* problem = BandLimitProblem({static_cast<BandLimitKind>(limitKind), limitValue});
    if (*problem != '\0') {
        return CrossFieldRefusal{limitEdit, QString::fromLatin1(problem)};
    }
    return std::nullopt;
}
