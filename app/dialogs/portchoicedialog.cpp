#include "app/dialogs/portchoicedialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

CPortChoiceDialog::CPortChoiceDialog(int32_t ports, QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Choose Port"), true, parent) {
    QLabel* caption = NewStatic(QStringLiteral("label"), 1038);
    QLineEdit* portEdit = NewEdit(1003);
    auto* row = new QHBoxLayout;
    row->addWidget(NewStatic(QStringLiteral("Port (1 - %1)").arg(ports)));
    row->addWidget(portEdit);

    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addLayout(row);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column, 40);

    BindLabel(caption, &label);
    BindInteger(portEdit, &port, 1, ports);
}
