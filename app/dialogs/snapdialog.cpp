#include "app/dialogs/snapdialog.h"

#include "design/standardvalues.h"

#include <QBoxLayout>
#include <QLabel>
#include <QRadioButton>

CSnapDialog::CSnapDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Snap to Standard Values"), true, parent) {
    std::vector<QRadioButton*> radios;
    int id = 1121;
    for (const StandardSeries& s : AllStandardSeries()) {
        radios.push_back(NewRadio(id++, QString::fromLatin1(s.name)));
    }
    auto* row = new QHBoxLayout;
    for (QRadioButton* r : radios) {
        row->addWidget(r);
    }
    auto* column = new QVBoxLayout;
    column->addWidget(NewStatic(QStringLiteral(
        "Every inductor, capacitor and resistor value moves to the standard value just below\n"
        "or just above it, the combination with the best worst VSWR over the band.\n"
        "Lines and stubs are not changed.")));
    column->addLayout(row);
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);
    BindRadio({radios[0], radios[1], radios[2], radios[3], radios[4], radios[5]}, &series);
}
