#include "app/dialogs/lineeditdialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CLineEditDialog::CLineEditDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Transmission Line Component Edit"), true, parent) {
    QLineEdit* z0Edit = NewEdit(1006);
    QLineEdit* angleEdit = NewEdit(1007);
    QLineEdit* freqEdit = NewEdit(1008);

    auto* grid = new QGridLayout;
    grid->addWidget(NewStatic(QStringLiteral("TRL Z0 (Ohm)")), 0, 0);
    grid->addWidget(NewStatic(QStringLiteral("TRL Angle (deg)")), 0, 1);
    grid->addWidget(NewStatic(QStringLiteral("Freq for TRL (MHz)")), 0, 2);
    grid->addWidget(z0Edit, 1, 0);
    grid->addWidget(angleEdit, 1, 1);
    grid->addWidget(freqEdit, 1, 2);
    SetDialogLayout(grid);

    BindNumber(angleEdit, &lineAngle, 0.0, 3600.0);
    BindNumber(freqEdit, &lineFreq, 0.0, 1e15);
    BindNumber(z0Edit, &lineZ0, 0.0, 1e12);
}

void CLineEditDialog::SetComponent(const Component& c) {
    component = c;
    lineZ0 = c.lineZ0;
    lineAngle = c.lineAngle;
    lineFreq = c.lineFreq;
}

Component CLineEditDialog::GetComponent() const {
    Component c = component;
    c.lineZ0 = lineZ0;
    c.lineAngle = lineAngle;
    c.lineFreq = lineFreq;
    return c;
}
