#include "view/ckesto1view.h"

#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"

#include <QString>

#include <algorithm>

void CKesto1View::OnFlipNetwork() {
    SmithChrt& sc = document->chart;
    if (MessageBoxes().Question(
            QStringLiteral("You are about to flip around the network and conjugate the "
                           "source/load impedances.  Do you want to do this?"))) {
        const Complex start = sc.startZ;
        sc.startZ = Conjugate(sc.goalZ);
        sc.goalZ = Conjugate(start);
        const int32_t count = std::clamp(sc.componentCount, 0, MAX_COMPONENTS);
        std::reverse(sc.components.begin(), sc.components.begin() + count);
        // activeIndex keeps its number: the active component is now the mirrored one.
    }
    // Looking at the network from the other end is not an edit: the modified flag stays.
    AfterCommand(false);
}
