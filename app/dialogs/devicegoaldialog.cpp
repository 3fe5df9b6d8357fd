#include "app/dialogs/devicegoaldialog.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

CDeviceGoalDialog::CDeviceGoalDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Goal from Device"), true, parent) {
    QLabel* caption = NewStatic(QStringLiteral("label"), 1210);
    QRadioButton* sourceGain =
        NewRadio(1211, QStringLiteral("Source for gain: the simultaneous conjugate match"));
    QRadioButton* sourceNoise =
        NewRadio(1212, QStringLiteral("Source for the least noise: Gamma opt"));
    QRadioButton* loadGain =
        NewRadio(1213, QStringLiteral("Load for gain: the simultaneous conjugate match"));

    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addWidget(NewRadioGroup(QStringLiteral("The goal is the impedance of the device's"),
                                    {sourceGain, sourceNoise, loadGain}));
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column, 40);

    BindLabel(caption, &label);
    BindRadio({sourceGain, sourceNoise, loadGain}, &goal);
}
