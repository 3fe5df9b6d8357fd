#include "app/dialogs/parametereditordialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

CParameterEditorDialog::CParameterEditorDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Parameter Editor"), true, parent) {
    QLabel* caption = NewStatic(QStringLiteral("label"), 1038);
    caption->setAlignment(Qt::AlignCenter);
    QLineEdit* valueEdit = NewEdit(1003);

    auto* column = new QVBoxLayout;
    column->addWidget(caption);
    column->addWidget(valueEdit);
    SetDialogLayout(column, 36);

    BindLabel(caption, &label);
    BindNumber(valueEdit, &value, 1e-15, 1e20);
}

bool CParameterEditorDialog::Edit(QWidget* parent, const std::string& label, double& value) {
    CParameterEditorDialog dialog(parent);
    dialog.label = label;
    dialog.value = value;
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    value = dialog.value;
    return true;
}
