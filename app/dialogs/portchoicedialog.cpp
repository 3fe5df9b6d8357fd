#include "app/dialogs/portchoicedialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

CPortChoiceDialog::CPortChoiceDialog(int32_t ports, QWidget* parent)
    : CPortChoiceDialog(ports, false, parent) {}

CPortChoiceDialog::CPortChoiceDialog(int32_t ports, bool twoPorts, QWidget* parent)
    : CDialogBase(IDD, twoPorts ? QStringLiteral("Choose Ports") : QStringLiteral("Choose Port"),
                  true, parent) {
    QLabel* caption = NewStatic(QStringLiteral("label"), 1038);
    QLineEdit* portEdit = NewEdit(1003);
    auto* row = new QHBoxLayout;
    row->addWidget(NewStatic(twoPorts ? QStringLiteral("Port 1 is port (1 - %1)").arg(ports)
                                      : QStringLiteral("Port (1 - %1)").arg(ports)));
    row->addWidget(portEdit);
    if (twoPorts) {
        secondEdit = NewEdit(1004);
        row->addWidget(NewStatic(QStringLiteral("Port 2 is port")));
        row->addWidget(secondEdit);
    }

    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addLayout(row);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column, 40);

    BindLabel(caption, &label);
    BindInteger(portEdit, &port, 1, ports);
    if (twoPorts) {
        BindInteger(secondEdit, &port2, 1, ports);
    }
}

std::optional<CDialogBase::CrossFieldRefusal> CPortChoiceDialog::CheckFieldsTogether() const {
    if (secondEdit != nullptr && port2 == port) {
        return CrossFieldRefusal{secondEdit, QStringLiteral("Please choose two different ports.")};
    }
    return std::nullopt;
}
