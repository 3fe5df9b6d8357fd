// Band analysis: the band display and its junction loci, the Band Setup dialog and the response
// plot's panel.
#include "view/ckesto1view.h"

#include "app/dialogs/bandsetupdialog.h"
#include "model/bandsettings.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"
#include "view/iviewshell.h"

#include <QDialog>
#include <QString>

namespace {

constexpr const char* kNoBandMessage =
    "No band can be made from the analysis frequency: please set one with Band Setup (Shift+B).";

} // namespace

void CKesto1View::OnToggleBandDisplay() {
    SmithChrt& sc = document->chart;
    if (sc.band.display) {
        sc.band.display = false;
    } else if (TurnBandDisplayOn(sc)) {
        if (shell != nullptr) {
            shell->BandDisplayTurnedOn();
        }
    } else {
        MessageBoxes().Warning(QString::fromLatin1(kNoBandMessage));
    }
    AfterCommand();
}

void CKesto1View::OnToggleJunctionLoci() {
    BandSettings& band = document->chart.band;
    band.junctionLoci = !band.junctionLoci;
    AfterCommand();
}

void CKesto1View::OnBandSetup() {
    SmithChrt& sc = document->chart;
    const BandSettings shown = sc.band.IsSet() ? sc.band : DefaultBand(sc);
    CBandSetupDialog dialog(this);
    dialog.low = shown.low;
    dialog.high = shown.high;
    dialog.points = shown.points;
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false);
        return;
    }
    // The dialog refuses every band that SetBand would.
    SetBand(sc, dialog.low, dialog.high, dialog.points);
    // A band just set is one to look at.
    const bool turnedOn = !sc.band.display;
    sc.band.display = true;
    if (turnedOn && shell != nullptr) {
        shell->BandDisplayTurnedOn();
    }
    AfterCommand(true);
}
