#include "app/crecentfilelist.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr qsizetype kMaxShownLength = 50;

QString ShortName(const QString& path) {
    const QFileInfo info(path);
    if (info.absolutePath() == QDir::currentPath()) {
        return info.fileName();
    }
    QString shown = QDir::toNativeSeparators(path);
    const QChar sep = QDir::separator();
    // Drop leading folders until the name fits, keeping the file name whole.
    while (shown.size() > kMaxShownLength) {
        const qsizetype next = shown.indexOf(sep, shown.startsWith(QStringLiteral("...")) ? 4 : 1);
        if (next < 0) {
            break;
        }
        shown = QStringLiteral("...") + shown.mid(next);
    }
    return shown;
}

} // namespace

void CRecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > size_) {
        files_.removeLast();
    }
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < files_.size()) {
        files_.removeAt(index);
    }
}

void CRecentFileList::SetEntries(const QStringList& files) {
    files_.clear();
    for (const QString& f : files) {
        if (!f.isEmpty() && !files_.contains(f) && files_.size() < size_) {
            files_.append(f);
        }
    }
}

QString CRecentFileList::MenuText(int index) const {
    QString name = ShortName(At(index));
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QString::asprintf("&%d ", index + 1) + name;
}
