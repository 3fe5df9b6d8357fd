#include "cmessageboxsink.h"

#include "messageboxes.h"

void CMessageBoxSink::Report(const std::string& text) {
    MessageBoxes().Warning(QString::fromStdString(text));
}
