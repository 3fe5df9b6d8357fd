#include "app/dialogs/componentlossdialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cctype>

CComponentLossDialog::CComponentLossDialog(LossClass cls, QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Component Loss"), true, parent), cls(cls) {
    QRadioButton* byDefault = NewRadio(1001, QStringLiteral("The document's default"));
    QRadioButton* lossless = NewRadio(1002, QStringLiteral("Lossless"));
    QRadioButton* ownLoss = NewRadio(1003, QStringLiteral("Its own:"));
    QLineEdit* value = NewEdit(1004);
    mhzEdit = NewEdit(1005);
    QRadioButton* constant = NewRadio(1006, QStringLiteral("constant"));
    QRadioButton* linear = NewRadio(1007, QStringLiteral("linear"));
    QRadioButton* root = NewRadio(1008, QStringLiteral("sqrt"));
    auto* grid = new QGridLayout;
    grid->addWidget(byDefault, 0, 0, 1, 4);
    grid->addWidget(lossless, 1, 0, 1, 4);
    grid->addWidget(ownLoss, 2, 0);
    grid->addWidget(NewStatic(cls == LossClass::Line ? QStringLiteral("dB per wavelength")
                                                     : QStringLiteral("Q")),
                    2, 1);
    grid->addWidget(value, 2, 2);
    grid->addWidget(NewStatic(QStringLiteral("at MHz (0: none)")), 3, 1);
    grid->addWidget(mhzEdit, 3, 2);
    auto* lawRow = new QHBoxLayout;
    lawRow->addWidget(constant);
    lawRow->addWidget(linear);
    lawRow->addWidget(root);
    grid->addLayout(lawRow, 4, 1, 1, 3);
    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);

    const NumberRange range = cls == LossClass::Line ? kLossDbRange : kLossQRange;
    BindRadio({byDefault, lossless, ownLoss}, &choice);
    BindNumber(value, &own.value, range.min, range.max);
    BindNumber(mhzEdit, &own.mhz, kLossMhzRange.min, kLossMhzRange.max);
    BindRadio({constant, linear, root}, &own.law);
}

std::optional<CDialogBase::CrossFieldRefusal> CComponentLossDialog::CheckFieldsTogether() const {
    if (choice != 2) {
        return std::nullopt;
    }
    std::string problem = CheckLossSpec(LossOfFields(own), cls);
    if (problem.empty()) {
        return std::nullopt;
    }
    problem[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(problem[0])));
    return CrossFieldRefusal{mhzEdit, QString::fromStdString(problem + ".")};
}
