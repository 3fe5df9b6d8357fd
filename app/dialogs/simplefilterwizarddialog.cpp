#include "app/dialogs/simplefilterwizarddialog.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

CSimpleFilterWizardDialog::CSimpleFilterWizardDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Simple HPF/LPF Synthesis wizard"), true, parent) {
    QLineEdit* cutoffEdit = NewEdit(1003);
    QLineEdit* rippleEdit = NewEdit(1004);
    QLineEdit* orderEdit = NewEdit(1005);
    QLineEdit* roEdit = NewEdit(1006);
    QRadioButton* lowpass = NewRadio(1093, QStringLiteral("Lowpass"));
    QRadioButton* highpass = NewRadio(1094, QStringLiteral("Highpass"));
    QRadioButton* shuntFirst = NewRadio(1095, QStringLiteral("Shunt"));
    QRadioButton* seriesFirst = NewRadio(1096, QStringLiteral("Series"));

    auto* groups = new QHBoxLayout;
    groups->addWidget(NewRadioGroup(QStringLiteral("Topology"), {lowpass, highpass}));
    groups->addWidget(
        NewRadioGroup(QStringLiteral("First Element is...."), {shuntFirst, seriesFirst}));
    groups->addStretch(1);

    auto* edits = new QGridLayout;
    edits->addWidget(cutoffEdit, 0, 0);
    edits->addWidget(NewStatic(QStringLiteral("Fc (MHz, Ripple Cutoff frequency)")), 0, 1);
    edits->addWidget(rippleEdit, 1, 0, Qt::AlignTop);
    edits->addWidget(
        NewStatic(QStringLiteral("Passband Ripple (dB) \n(ripple will be the loss at cutoff)")), 1,
        1);
    edits->addWidget(orderEdit, 2, 0);
    edits->addWidget(
        NewStatic(QStringLiteral("N ( 3 <= N <= 15 ), if not odd , it will be rounded up")), 2, 1);
    edits->addWidget(roEdit, 3, 0);
    edits->addWidget(
        NewStatic(QStringLiteral("Ro (Ohms, characteristic resistance for filter design)")), 3, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(groups);
    left->addLayout(edits);
    left->addWidget(NewStatic(QStringLiteral(
        "Note: this will blow away anything you have on the chart (replace your circuit)")));

    auto* whole = new QHBoxLayout;
    whole->addLayout(left);
    whole->addLayout(NewButtonColumn(true));
    SetDialogLayout(whole);

    BindNumber(cutoffEdit, &cutoffMHz, kCutoffRange.min, kCutoffRange.max);
    BindNumber(rippleEdit, &rippleDb, kRippleRange.min, kRippleRange.max);
    BindInteger(orderEdit, &order, kOrderRange.min, kOrderRange.max);
    BindNumber(roEdit, &ro, kRoRange.min, kRoRange.max);
    BindRadio({lowpass, highpass}, &filterType);
    BindRadio({shuntFirst, seriesFirst}, &firstElement);
}

void CSimpleFilterWizardDialog::SetOpeningValues(const SmithChrt& doc) {
    SetInput(FilterInputFor(doc));
}

void CSimpleFilterWizardDialog::SetInput(const FilterInput& in) {
    cutoffMHz = in.cutoffMHz;
    rippleDb = in.rippleDb;
    order = in.order;
    ro = in.ro;
    filterType = in.filterType;
    firstElement = in.firstElement;
}

FilterInput CSimpleFilterWizardDialog::Input() const {
    FilterInput in;
    in.cutoffMHz = cutoffMHz;
    in.rippleDb = rippleDb;
    in.order = order;
    in.ro = ro;
    in.filterType = filterType;
    in.firstElement = firstElement;
    return in;
}
