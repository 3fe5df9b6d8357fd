#include "app/dialogs/componentconfigdialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QRadioButton>

CComponentConfigDialog::CComponentConfigDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Component Configuration"), false, parent) {
    QLabel* caption = NewStatic(QStringLiteral("Fill me in!"), 1070);
    QRadioButton* series = NewRadio(1064, QStringLiteral("Series"));
    QRadioButton* shunt = NewRadio(1065, QStringLiteral("Shunt"));

    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addWidget(series);
    column->addWidget(shunt);
    column->addLayout(NewButtonRow(false));
    SetDialogLayout(column, 36);

    BindRadio({series, shunt}, &placementIndex);
    BindLabel(caption, &label);
}
