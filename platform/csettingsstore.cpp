#include "csettingsstore.h"

namespace {
const QString kRecentSection = QStringLiteral("Recent File List");
const QString kSettingsSection = QStringLiteral("Settings");
const QString kPreviewPages = QStringLiteral("PreviewPages");

QString FileKey(int number) {
    return QString::asprintf("File%d", number);
}
} // namespace

CSettingsStore::CSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kOrganization),
                QString::fromLatin1(kApplication)) {}

QStringList CSettingsStore::ReadRecentFiles(int count) const {
    QStringList files;
    settings_.beginGroup(kRecentSection);
    for (int i = 1; i <= count; ++i) {
        const QString path = settings_.value(FileKey(i)).toString();
        if (!path.isEmpty()) {
            files.append(path);
        }
    }
    settings_.endGroup();
    return files;
}

void CSettingsStore::WriteRecentFiles(const QStringList& files) {
    settings_.remove(kRecentSection);
    settings_.beginGroup(kRecentSection);
    int number = 1;
    for (const QString& path : files) {
        if (!path.isEmpty()) {
            settings_.setValue(FileKey(number++), path);
        }
    }
    settings_.endGroup();
    settings_.sync();
}

int CSettingsStore::ReadPreviewPages() const {
    settings_.beginGroup(kSettingsSection);
    bool ok = false;
    const int pages = settings_.value(kPreviewPages, 0).toInt(&ok);
    settings_.endGroup();
    return ok ? pages : 0;
}

void CSettingsStore::WritePreviewPages(int pages) {
    settings_.beginGroup(kSettingsSection);
    settings_.setValue(kPreviewPages, pages);
    settings_.endGroup();
    settings_.sync();
}
