#include "platform/shell/csettingsstore.h"

namespace {
const QString kRecentSection = QStringLiteral("Recent File List");
const QString kSettingsSection = QStringLiteral("Settings");
const QString kPreviewPages = QStringLiteral("PreviewPages");
const QString kWindowSection = QStringLiteral("Window");
const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kMaximized = QStringLiteral("Maximized");

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

std::optional<WindowPlacement> CSettingsStore::ReadWindowPlacement() const {
    settings_.beginGroup(kWindowSection);
    bool ok[5] = {};
    const int left = settings_.value(kLeft).toInt(&ok[0]);
    const int top = settings_.value(kTop).toInt(&ok[1]);
    const int width = settings_.value(kWidth).toInt(&ok[2]);
    const int height = settings_.value(kHeight).toInt(&ok[3]);
    const int maximized = settings_.value(kMaximized, 0).toInt(&ok[4]);
    settings_.endGroup();
    if (!(ok[0] && ok[1] && ok[2] && ok[3] && ok[4]) || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    return WindowPlacement{QRect(left, top, width, height), maximized != 0};
}

void CSettingsStore::WriteWindowPlacement(const WindowPlacement& placement) {
    const QRect& r = placement.normalGeometry;
    settings_.beginGroup(kWindowSection);
    settings_.setValue(kLeft, r.left());
    settings_.setValue(kTop, r.top());
    settings_.setValue(kWidth, r.width());
    settings_.setValue(kHeight, r.height());
    settings_.setValue(kMaximized, placement.maximized ? 1 : 0);
    settings_.endGroup();
    settings_.sync();
}
