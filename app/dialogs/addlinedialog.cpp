#include "app/dialogs/addlinedialog.h"

#include <QBoxLayout>
#include <QRadioButton>

CAddLineDialog::CAddLineDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Add Transmission Line Element"), true, parent) {
    QRadioButton* series = NewRadio(1064, QStringLiteral("Series Transmission Line"));
    QRadioButton* open = NewRadio(1071, QStringLiteral("Shunt Open Transmission Line"));
    QRadioButton* shorted = NewRadio(1070, QStringLiteral("Shunt Shorted Transmission Line"));

    auto* column = new QVBoxLayout;
    column->addWidget(series);
    column->addWidget(open);
    column->addWidget(shorted);
    column->addLayout(NewButtonRow(false));
    SetDialogLayout(column);

    BindRadio({series, open, shorted}, &lineType);
}
