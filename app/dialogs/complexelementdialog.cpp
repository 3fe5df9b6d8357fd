#include "app/dialogs/complexelementdialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

CComplexElementDialog::CComplexElementDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Complex Element"), true, parent) {
    QRadioButton* series = NewRadio(1071, QStringLiteral("Series"));
    QRadioButton* shunt = NewRadio(1072, QStringLiteral("Shunt"));
    QRadioButton* parallelRlc = NewRadio(1073, QStringLiteral("Parallel RLC"));
    QRadioButton* seriesRlc = NewRadio(1074, QStringLiteral("Series RLC"));
    QRadioButton* tuneR = NewRadio(1075, QStringLiteral("Resistance (ohm)"));
    QLineEdit* rEdit = NewEdit(1003);
    QRadioButton* tuneL = NewRadio(1076, QStringLiteral("Inductance (nH)"));
    QLineEdit* lEdit = NewEdit(1004);
    QRadioButton* tuneC = NewRadio(1077, QStringLiteral("Capacitance (pF)"));
    QLineEdit* cEdit = NewEdit(1005);

    QGroupBox* orientationGroup =
        NewRadioGroup(QStringLiteral("Component Orientation in Circuit"), {series, shunt});
    QGroupBox* typeGroup =
        NewRadioGroup(QStringLiteral("Component Type"), {parallelRlc, seriesRlc});
    QGroupBox* tunedGroup = NewGroup(QStringLiteral("which is \"tuned\" with keystrokes"));
    // Each button stands left of the edit that holds its value.
    auto* values = new QGridLayout(tunedGroup);
    values->addWidget(tuneR, 0, 0);
    values->addWidget(rEdit, 0, 1);
    values->addWidget(tuneL, 1, 0);
    values->addWidget(lEdit, 1, 1);
    values->addWidget(tuneC, 2, 0);
    values->addWidget(cEdit, 2, 1);

    auto* groups = new QVBoxLayout;
    groups->addWidget(orientationGroup);
    groups->addWidget(typeGroup);
    groups->addWidget(tunedGroup);

    auto* whole = new QHBoxLayout;
    whole->addLayout(groups);
    whole->addLayout(NewButtonColumn(true));
    SetDialogLayout(whole);

    BindRadio({series, shunt}, &orientation);
    BindRadio({parallelRlc, seriesRlc}, &rlcType);
    BindRadio({tuneR, tuneL, tuneC}, &tunedIndex);
    BindNumber(cEdit, &capacitance, 1e-15, 1e15);
    BindNumber(lEdit, &inductance, 1e-15, 1e15);
    BindNumber(rEdit, &resistance, 1e-15, 1e15);
}
