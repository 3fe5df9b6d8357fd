#include "platform/drawing/cdrawmessages.h"

#include "platform/messages/messageboxes.h"

#include <QMetaObject>

#include <algorithm>
#include <utility>

CDrawMessages::CDrawMessages(Shower show) : show(std::move(show)) {}

bool CDrawMessages::Contains(const std::vector<std::string>& list, const std::string& text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

void CDrawMessages::Report(const std::string& text) {
    if (Contains(shown, text) || Contains(pending, text)) {
        return;
    }
    pending.push_back(text);
    if (!scheduled) {
        scheduled = true;
        QMetaObject::invokeMethod(
            &context, [this] { ShowPending(); }, Qt::QueuedConnection);
    }
}

void CDrawMessages::Rearm() {
    shown.clear();
}

void CDrawMessages::ShowPending() {
    scheduled = false;
    if (showing) {
        return; // the loop below picks the newcomers up
    }
    showing = true;
    while (!pending.empty()) {
        const std::string text = pending.front();
        pending.erase(pending.begin());
        shown.push_back(text);
        show(text);
    }
    showing = false;
}

void CDrawMessages::ShowWarningBox(const std::string& text) {
    MessageBoxes().Warning(QString::fromStdString(text));
}
