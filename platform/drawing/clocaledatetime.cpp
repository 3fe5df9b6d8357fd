#include "platform/drawing/clocaledatetime.h"

#include <QDateTime>
#include <QLocale>

std::optional<std::string> CLocaleDateTime::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    if (!now.isValid()) {
        return std::nullopt;
    }
    const QString text = QLocale::system().toString(now, QLocale::ShortFormat);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text.toStdString();
}
