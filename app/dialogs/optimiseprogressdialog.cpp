#include "app/dialogs/optimiseprogressdialog.h"

#include "model/numbertext.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

COptimiseProgressDialog::COptimiseProgressDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Optimising"), true, parent) {
    bar = new QProgressBar(this);
    bar->setRange(0, 100);
    best = NewStatic(QStringLiteral("Worst VSWR so far: -"), 1201);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(NewCancelButton());
    auto* column = new QVBoxLayout;
    column->addWidget(bar);
    column->addWidget(best);
    column->addLayout(buttons);
    SetDialogLayout(column, 40);
}

void COptimiseProgressDialog::ShowProgress(int evaluations, int budget, double bestSoFar,
                                           bool gain) {
    bar->setValue(budget > 0 ? std::clamp(100 * evaluations / budget, 0, 100) : 0);
    best->setText(
        QString::fromStdString(gain ? CFormat("Worst transducer gain so far: %.3f dB", bestSoFar)
                                    : CFormat("Worst VSWR so far: %.3f", bestSoFar)));
}
