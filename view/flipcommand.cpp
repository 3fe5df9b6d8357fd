#include "view/ckesto1view.h"

#include "model/networkflip.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"

#include <QString>

void CKesto1View::OnFlipNetwork() {
    if (MessageBoxes().Question(
            QStringLiteral("You are about to flip around the network and conjugate the "
                           "source/load impedances.  Do you want to do this?"))) {
        // activeIndex keeps its number: the active component is now the mirrored one.
        FlipNetwork(document->chart);
    }
    // Looking at the network from the other end is not an edit: the modified flag stays.
    AfterCommand(false);
}
