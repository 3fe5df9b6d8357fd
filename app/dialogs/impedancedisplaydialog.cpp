#include "app/dialogs/impedancedisplaydialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

CImpedanceDisplayDialog::CImpedanceDisplayDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Impedance Display"), false, parent) {
    QLineEdit* magEdit = NewEdit(1004);
    QLineEdit* angleEdit = NewEdit(1006);
    QLineEdit* realEdit = NewEdit(1003);
    QLineEdit* imagEdit = NewEdit(1005);
    QRadioButton* nothing = NewRadio(1077, QStringLiteral("Do Nothing"));
    QRadioButton* makeStart =
        NewRadio(1078, QStringLiteral("Make Starting [Generator]  Impedance"));
    QRadioButton* makeGoal = NewRadio(1079, QStringLiteral("Make Goal [Load] Impedance"));

    auto* grid = new QGridLayout;
    grid->addWidget(NewStatic(QStringLiteral("Magnitude")), 0, 0);
    grid->addWidget(magEdit, 0, 1);
    grid->addWidget(NewStatic(QStringLiteral("Angle")), 0, 2);
    grid->addWidget(angleEdit, 0, 3);
    grid->addWidget(NewStatic(QStringLiteral("deg")), 0, 4);
    grid->addWidget(NewStatic(QStringLiteral("R")), 1, 0);
    grid->addWidget(realEdit, 1, 1);
    grid->addWidget(NewStatic(QStringLiteral("JX")), 1, 2);
    grid->addWidget(imagEdit, 1, 3);
    grid->addWidget(NewStatic(QStringLiteral("ohm")), 1, 4);

    auto* column = new QVBoxLayout;
    column->addLayout(grid);
    column->addSpacing(6);
    column->addWidget(nothing);
    column->addWidget(makeStart);
    column->addWidget(makeGoal);
    column->addLayout(NewButtonRow(false));
    SetDialogLayout(column);

    BindRadio({nothing, makeStart, makeGoal}, &action);
    BindNumber(realEdit, &zReal, 1e-15, 1e15);
    BindNumber(imagEdit, &zImag, -1e15, 1e15);
    BindNumber(magEdit, &gammaMag, 0.0, 1.0);
    BindNumber(angleEdit, &gammaAngle, -180.0, 180.0);
}
