#include "view/ckesto1view.h"

#include "app/dialogs/matchmewizarddialog.h"
#include "app/dialogs/simplefilterwizarddialog.h"
#include "design/filterwizard.h"
#include "design/matchmewizard.h"
#include "platform/messages/cmessageboxsink.h"
#include "view/ckesto1doc.h"

// The two design wizards. Each opens its dialog with the values for the document; on OK the
// synthesised network replaces the old one and the wizard's messages appear as message boxes
// at the point of the run where they arise.

void CKesto1View::OnMatchMeWizard() {
    SmithChrt& chart = document->chart;
    if (RefuseWithoutValues("The matching wizard needs both impedances")) {
        return;
    }
    CMatchMeWizardDialog dialog(this);
    dialog.SetOpeningValues(chart);
    if (dialog.exec() != QDialog::Accepted) {
        return; // a cancelled run changes nothing and leaves the picture as it is
    }
    CMessageBoxSink boxes;
    const int32_t added =
        ApplyMatchMe(chart, DesignMatchMe(dialog.Input(), chart.frequency), &boxes);
    const bool unbound = UnbindEdited();
    AfterCommand(added > 0 || unbound);
}

void CKesto1View::OnFilterWizard() {
    SmithChrt& chart = document->chart;
    CSimpleFilterWizardDialog dialog(this);
    dialog.SetOpeningValues(chart);
    if (dialog.exec() != QDialog::Accepted) {
        AfterCommand(false); // repainted also after Cancel
        return;
    }
    CMessageBoxSink boxes;
    const int32_t added = ApplyFilter(chart, DesignFilter(dialog.Input()), &boxes);
    const bool unbound = UnbindEdited();
    AfterCommand(added > 0 || unbound);
}
