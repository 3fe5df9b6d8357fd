#include "platform/messages/messageboxes.h"

#include "platform/messages/cqtmessageboxes.h"

namespace {
IMessageBoxes* installed = nullptr;
}

IMessageBoxes& MessageBoxes() {
    static CQtMessageBoxes qtBoxes;
    return installed != nullptr ? *installed : qtBoxes;
}

IMessageBoxes* InstallMessageBoxes(IMessageBoxes* boxes) {
    IMessageBoxes* previous = installed;
    installed = boxes;
    return previous;
}
