#include "platform/messages/cmessageboxsink.h"

#include "platform/messages/messageboxes.h"

void CMessageBoxSink::Report(const std::string& text) {
    MessageBoxes().Warning(QString::fromStdString(text));
}
