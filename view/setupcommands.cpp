#include "view/ckesto1view.h"

#include "app/dialogs/chartsetupdialog.h"
#include "app/dialogs/parametereditordialog.h"
#include "model/measuredbinding.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"
#include "view/impedanceentry.h"

#include <QDialog>
#include <QString>

namespace {

void FillSetupDialog(CChartSetupDialog& d, const SmithChrt& sc, const ImpedanceEntry& start,
                     const ImpedanceEntry& goal) {
    d.frequency = sc.frequency;
    d.tunePercent = sc.tunePercent;
    d.chartZ0 = sc.chartZ0.re;
    d.title = sc.title;
    d.showQArcs = sc.showQArcs;
    d.showAdmittance = sc.showAdmittance;
    d.gammaMode = sc.gammaMode;
    d.textMarkers = sc.textMarkers;
    d.showVswrCircles = sc.showVswrCircles ? 1 : 0;
    d.f1Freq = sc.f1Freq;
    d.f2Freq = sc.f2Freq;
    d.f3Freq = sc.f3Freq;
    d.startReal = start.real;
    d.startImag = start.imag;
    d.startMag = start.mag;
    d.startAngle = start.angle;
    d.goalReal = goal.real;
    d.goalImag = goal.imag;
    d.goalMag = goal.mag;
    d.goalAngle = goal.angle;
}

/// What the dialog shows for z: z itself, or the chart Z0 while z is bound to data that has no
/// value at the analysis frequency (the dialog takes only numbers; left alone, it changes nothing).
ImpedanceEntry ShownEntry(const SmithChrt& sc, LoadEnd end, Complex z) {
    return EntryOf(sc, HasNoFiniteValueNow(sc, end) ? sc.chartZ0 : z);
}

/// Works out which format of one impedance the user changed and stores the result in z. The
/// polar pair is converted on the chart Z0 of sc, the one in force when the dialog opened.
void SettleSetupImpedance(const SmithChrt& sc, const ImpedanceEntry& entered,
                          const ImpedanceEntry& shown, Complex& z) {
    const EntryChanges changes =
        CompareEntry(entered, {shown.real, shown.imag}, {shown.mag, shown.angle});
    if (!changes.polar) {
        // Left alone when unchanged: the stored value keeps all its digits.
        if (changes.rectangular) {
            z = {entered.real, entered.imag};
        }
        return;
    }
    if (changes.rectangular) {
        MessageBoxes().Warning(QString::fromUtf8(kBothFormatsChanged));
    }
    z = sc.GammaPolarToZ(entered.mag, entered.angle);
}

void StoreSetupSettings(SmithChrt& sc, const CChartSetupDialog& d) {
    sc.title = d.title;
    sc.showAdmittance = d.showAdmittance != 0 ? 1 : 0;
    sc.showQArcs = d.showQArcs != 0 ? 1 : 0;
    sc.textMarkers = d.textMarkers != 0 ? 1 : 0;
    sc.gammaMode = d.gammaMode != 0 ? 1 : 0;
    sc.showVswrCircles = d.showVswrCircles != 0;
    sc.frequency = d.frequency;
    sc.tunePercent = d.tunePercent;
    sc.chartZ0.re = d.chartZ0;
    sc.f1Freq = d.f1Freq;
    sc.f2Freq = d.f2Freq;
    sc.f3Freq = d.f3Freq;
}

} // namespace

void CKesto1View::OnChartSetup() {
    SmithChrt& sc = document->chart;
    const ImpedanceEntry shownStart = ShownEntry(sc, LoadEnd::Start, sc.startZ);
    const ImpedanceEntry shownGoal = ShownEntry(sc, LoadEnd::Goal, sc.goalZ);
    CChartSetupDialog dialog(this);
    FillSetupDialog(dialog, sc, shownStart, shownGoal);
    dialog.SetBoundNotes(QString::fromStdString(BoundNote(sc, LoadEnd::Start)),
                         QString::fromStdString(BoundNote(sc, LoadEnd::Goal)));
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false);
        return;
    }
    SettleSetupImpedance(sc,
                         {dialog.startReal, dialog.startImag, dialog.startMag, dialog.startAngle},
                         shownStart, sc.startZ);
    SettleSetupImpedance(sc, {dialog.goalReal, dialog.goalImag, dialog.goalMag, dialog.goalAngle},
                         shownGoal, sc.goalZ);
    // An impedance typed in replaces its data; the frequency below then re-interpolates the rest.
    UnbindEdited();
    // Only now does a new Z0 take effect, after both impedances are settled on the old one.
    StoreSetupSettings(sc, dialog);
    AfterCommand(true);
}

void CKesto1View::OnEditFrequency() {
    SmithChrt& sc = document->chart;
    CParameterEditorDialog::Edit(this, "Frequency (MHz)", sc.frequency);
    AfterCommand(true);
}

void CKesto1View::OnEditChartZ0() {
    SmithChrt& sc = document->chart;
    double z0 = sc.chartZ0.re;
    if (CParameterEditorDialog::Edit(this, "Chart Z0 (ohm)", z0)) {
        sc.chartZ0 = {z0, 0.0};
    }
    AfterCommand(true);
}

void CKesto1View::OnEditTunePercent() {
    SmithChrt& sc = document->chart;
    double percent = sc.tunePercent;
    if (CParameterEditorDialog::Edit(this, "Tune % (0.1 - 10.0)", percent)) {
        if (percent >= 0.1 && percent <= 10.0) {
            sc.tunePercent = percent;
        } else {
            MessageBoxes().Warning(QStringLiteral("Tuning Percentage Out of Range"));
        }
    }
    AfterCommand(true);
}
