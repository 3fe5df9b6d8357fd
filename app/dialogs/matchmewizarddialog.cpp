#include "app/dialogs/matchmewizarddialog.h"

#include "model/measuredbinding.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

CMatchMeWizardDialog::CMatchMeWizardDialog(QWidget* parent)
    : CDialogBase(IDD, QStringLiteral("Simple MatchMe Wizard "), true, parent) {
    QLineEdit* startREdit = NewEdit(1003);
    QLineEdit* startXEdit = NewEdit(1006);
    QLineEdit* goalREdit = NewEdit(1004);
    QLineEdit* goalXEdit = NewEdit(1007);
    QLineEdit* sectionsEdit = NewEdit(1005);
    QRadioButton* lowPass = NewRadio(1080, QStringLiteral("Lumped Low-pass"));
    QRadioButton* highPass = NewRadio(1081, QStringLiteral("Lumped High-pass"));
    QRadioButton* quarterWave = NewRadio(1082, QStringLiteral("Quarter Wave Transformer"));

    auto* impedances = new QGridLayout;
    impedances->addWidget(NewStatic(QStringLiteral("Starting [Generator] Impedance")), 0, 0);
    impedances->addWidget(startREdit, 0, 1);
    impedances->addWidget(NewStatic(QStringLiteral("+/- J")), 0, 2);
    impedances->addWidget(startXEdit, 0, 3);
    impedances->addWidget(NewStatic(QStringLiteral("Ohms")), 0, 4);
    impedances->addWidget(NewStatic(QStringLiteral("Goal [Load] Impedance")), 1, 0);
    impedances->addWidget(goalREdit, 1, 1);
    impedances->addWidget(NewStatic(QStringLiteral("+/- J")), 1, 2);
    impedances->addWidget(goalXEdit, 1, 3);
    impedances->addWidget(NewStatic(QStringLiteral("Ohms")), 1, 4);
    // Where an impedance comes from data, a note naming it (SetOpeningValues fills them).
    impedances->addWidget(NewStatic(QString(), kStartNoteId), 0, 5);
    impedances->addWidget(NewStatic(QString(), kGoalNoteId), 1, 5);

    auto* sections = new QHBoxLayout;
    sections->addWidget(sectionsEdit);
    sections->addWidget(NewStatic(QStringLiteral("Number of Sections (10 Max)")));
    sections->addStretch(1);

    auto* topologies = new QHBoxLayout;
    topologies->addWidget(lowPass);
    topologies->addWidget(highPass);
    topologies->addWidget(quarterWave);
    topologies->addStretch(1);

    auto* column = new QVBoxLayout;
    column->addLayout(impedances);
    column->addWidget(NewStatic(
        QStringLiteral("!!Note, this will blow away anything on the chart that you've manually "
                       "added!!  Cancel now if you don't want to do this!!")));
    column->addLayout(sections);
    column->addLayout(topologies);
    column->addWidget(NewStatic(
        QStringLiteral("*** this is not meant to replace a real synthesis program!!! ***\n It is "
                       "very crude and simplistic -- you might be able to do better manually!!!")));
    column->addLayout(NewButtonRow(true));
    SetDialogLayout(column);

    BindInteger(sectionsEdit, &sectionCount, kSectionCountRange.min, kSectionCountRange.max);
    BindRadio({lowPass, highPass, quarterWave}, &topology);
    BindNumber(startREdit, &startR, kMatchResistanceRange.min, kMatchResistanceRange.max);
    BindNumber(startXEdit, &startX, kMatchReactanceRange.min, kMatchReactanceRange.max);
    BindNumber(goalREdit, &goalR, kMatchResistanceRange.min, kMatchResistanceRange.max);
    BindNumber(goalXEdit, &goalX, kMatchReactanceRange.min, kMatchReactanceRange.max);
}

void CMatchMeWizardDialog::SetOpeningValues(const SmithChrt& doc) {
    SetInput(MatchMeInputFor(doc));
    const std::string notes[] = {BoundNote(doc, LoadEnd::Start), BoundNote(doc, LoadEnd::Goal)};
    for (int i = 0; i < 2; ++i) {
        QLabel* label = ControlAs<QLabel>(kStartNoteId + i);
        label->setText(QString::fromStdString(notes[i]));
        label->setVisible(!notes[i].empty());
    }
}

void CMatchMeWizardDialog::SetInput(const MatchMeInput& in) {
    sectionCount = in.sectionCount;
    topology = in.topology;
    startR = in.startR;
    startX = in.startX;
    goalR = in.goalR;
    goalX = in.goalX;
}

MatchMeInput CMatchMeWizardDialog::Input() const {
    MatchMeInput in;
    in.sectionCount = sectionCount;
    in.topology = topology;
    in.startR = startR;
    in.startX = startX;
    in.goalR = goalR;
    in.goalX = goalX;
    return in;
}
