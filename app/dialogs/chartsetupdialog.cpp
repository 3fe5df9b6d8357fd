#include "app/dialogs/chartsetupdialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

CChartSetupDialog::CChartSetupDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Chart Setup"), true, parent) {
    // Created in tab order; the order is set explicitly at the end as well.
    QLineEdit* titleEdit = NewEdit(1003);
    QLineEdit* freqEdit = NewEdit(1017);
    QLineEdit* z0Edit = NewEdit(1019);
    QLineEdit* tuneEdit = NewEdit(1018);
    QCheckBox* qArcs = NewCheck(1083, QStringLiteral("Q arcs"));
    QCheckBox* admittance = NewCheck(1084, QStringLiteral("Admittance circles"));
    QCheckBox* gamma = NewCheck(1085, QStringLiteral("Gamma mode"));
    QCheckBox* markers = NewCheck(1086, QStringLiteral("Text Markers"));
    QCheckBox* vswr = NewCheck(1091, QStringLiteral("VSWR Circles"));
    QLineEdit* startRealEdit = NewEdit(1020);
    QLineEdit* startImagEdit = NewEdit(1021);
    QLineEdit* startMagEdit = NewEdit(1024);
    QLineEdit* startAngleEdit = NewEdit(1025);
    QLineEdit* goalRealEdit = NewEdit(1022);
    QLineEdit* goalImagEdit = NewEdit(1023);
    QLineEdit* goalMagEdit = NewEdit(1026);
    QLineEdit* goalAngleEdit = NewEdit(1027);
    QBoxLayout* buttons = NewButtonRow(true);
    QLineEdit* f1Edit = NewEdit(1100);
    QLineEdit* f2Edit = NewEdit(1101);
    QLineEdit* f3Edit = NewEdit(1102);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(titleEdit, 1);
    titleRow->addWidget(NewStatic(QStringLiteral("Title")));

    auto* settings = new QGridLayout;
    settings->addWidget(NewStatic(QStringLiteral("Analysis Freq (MHz)")), 1, 0);
    settings->addWidget(freqEdit, 1, 1);
    settings->addWidget(NewStatic(QStringLiteral("Chart Z0 (Ohms)")), 2, 0);
    settings->addWidget(z0Edit, 2, 1);
    settings->addWidget(NewStatic(QStringLiteral("+/- Tuning %\n (0.1%-10%)")), 3, 0);
    settings->addWidget(tuneEdit, 3, 1, Qt::AlignTop);
    settings->setColumnMinimumWidth(2, 24);
    settings->addWidget(NewStatic(QStringLiteral("MHz")), 0, 4);
    settings->addWidget(NewStatic(QStringLiteral("F1 Freq")), 1, 3);
    settings->addWidget(f1Edit, 1, 4);
    settings->addWidget(NewStatic(QStringLiteral("F2 Freq")), 2, 3);
    settings->addWidget(f2Edit, 2, 4);
    settings->addWidget(NewStatic(QStringLiteral("F3 Freq")), 3, 3);
    settings->addWidget(f3Edit, 3, 4, Qt::AlignTop);

    auto* checkRow1 = new QHBoxLayout;
    checkRow1->addWidget(qArcs);
    checkRow1->addWidget(admittance);
    checkRow1->addStretch(1);
    auto* checkRow2 = new QHBoxLayout;
    checkRow2->addWidget(gamma);
    checkRow2->addWidget(markers);
    checkRow2->addWidget(vswr);
    checkRow2->addStretch(1);

    auto* column = new QVBoxLayout;
    column->addLayout(titleRow);
    column->addLayout(settings);
    column->addLayout(checkRow1);
    column->addLayout(checkRow2);
    column->addWidget(
        NewImpedanceGroup(QStringLiteral("Starting Impedance [Generator] (enter in either format)"),
                          startRealEdit, startImagEdit, startMagEdit, startAngleEdit));
    startNote = NewStatic(QString(), kStartNoteId);
    column->addWidget(startNote);
    column->addWidget(
        NewImpedanceGroup(QStringLiteral("Goal Ending Impedance [Load] (enter in either format)"),
                          goalRealEdit, goalImagEdit, goalMagEdit, goalAngleEdit));
    goalNote = NewStatic(QString(), kGoalNoteId);
    column->addWidget(goalNote);
    SetBoundNotes({}, {});
    column->addLayout(buttons);
    SetDialogLayout(column);

    const std::vector<QWidget*> tabOrder = {titleEdit,
                                            freqEdit,
                                            z0Edit,
                                            tuneEdit,
                                            qArcs,
                                            admittance,
                                            gamma,
                                            markers,
                                            vswr,
                                            startRealEdit,
                                            startImagEdit,
                                            startMagEdit,
                                            startAngleEdit,
                                            goalRealEdit,
                                            goalImagEdit,
                                            goalMagEdit,
                                            goalAngleEdit,
                                            Control(ID_OK),
                                            Control(ID_CANCEL),
                                            f1Edit,
                                            f2Edit,
                                            f3Edit};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    BindNumber(freqEdit, &frequency, 0.0, 1e15);
    BindNumber(tuneEdit, &tunePercent, 0.1, 10.0);
    BindNumber(startImagEdit, &startImag, -1e15, 1e15);
    BindNumber(startRealEdit, &startReal, 0.0, 1e15);
    BindNumber(z0Edit, &chartZ0, 1e-9, 1e15);
    BindNumber(startMagEdit, &startMag, 0.0, 1.0);
    BindNumber(startAngleEdit, &startAngle, -180.01, 180.01);
    BindNumber(goalAngleEdit, &goalAngle, -180.01, 180.01);
    BindNumber(goalImagEdit, &goalImag, -1e15, 1e15);
    BindNumber(goalMagEdit, &goalMag, 0.0, 1.0);
    BindNumber(goalRealEdit, &goalReal, 0.0, 1e15);
    BindText(titleEdit, &title, kTitleMaxLength);
    BindCheck(qArcs, &showQArcs);
    BindCheck(admittance, &showAdmittance);
    BindCheck(gamma, &gammaMode);
    BindCheck(markers, &textMarkers);
    BindCheck(vswr, &showVswrCircles);
    BindNumber(f1Edit, &f1Freq, 0.0, 1e9);
    BindNumber(f2Edit, &f2Freq, 0.0, 1e9);
    BindNumber(f3Edit, &f3Freq, 0.0, 1e9);
}

void CChartSetupDialog::SetBoundNotes(const QString& start, const QString& goal) {
    for (const auto& [label, text] : {std::pair{startNote, start}, std::pair{goalNote, goal}}) {
        label->setText(text.isEmpty() ? QString()
                                      : text + QStringLiteral(" (typing a value unbinds it)"));
        label->setVisible(!text.isEmpty());
    }
}

QGroupBox* CChartSetupDialog::NewImpedanceGroup(const QString& caption, QWidget* real,
                                                QWidget* imag, QWidget* mag, QWidget* angle) {
    QGroupBox* group = NewGroup(caption);
    auto* grid = new QGridLayout(group);
    grid->addWidget(NewStatic(QStringLiteral("Real")), 0, 0);
    grid->addWidget(NewStatic(QStringLiteral("Imag")), 0, 2);
    grid->addWidget(real, 1, 0);
    grid->addWidget(NewStatic(QStringLiteral("+/- j")), 1, 1);
    grid->addWidget(imag, 1, 2);
    grid->addWidget(NewStatic(QStringLiteral("Ohms")), 1, 3);
    grid->addWidget(NewStatic(QStringLiteral("Mag")), 2, 0);
    grid->addWidget(NewStatic(QStringLiteral("Angle")), 2, 2);
    grid->addWidget(mag, 3, 0);
    grid->addWidget(angle, 3, 2);
    grid->addWidget(NewStatic(QStringLiteral("Mag/Angle on this Z0")), 3, 3);
    grid->setColumnStretch(4, 1);
    return group;
}
