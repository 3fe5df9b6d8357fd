#pragma once

#include "quorbel_config.h"

#include <QRect>
#include <QSettings>
#include <QStringList>

#include <optional>

/// Where the main window was: its normal (not maximised) geometry in screen coordinates, and
/// whether it was maximised.
struct WindowPlacement {
    QRect normalGeometry;
    bool maximized = false;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

/// The per-user settings store: "Recent File List" (File1..File4, most recent first) and
/// "Settings" with "PreviewPages", under "Local AppWizard-Generated Applications/" and the
/// program's title; beside them "Window" with the main window's place and size.
/// The location follows QSettings' user scope, which the test mode of QStandardPaths isolates.
class CSettingsStore {
public:
    CSettingsStore();

    QStringList ReadRecentFiles(int count) const;
    /// Replaces the whole list; empty entries are not written.
    void WriteRecentFiles(const QStringList& files);

    /// The print-preview page count; 0 when none is stored.
    int ReadPreviewPages() const;
    void WritePreviewPages(int pages);

    /// The main window's place and size as last written; nothing when none is stored or the
    /// stored size is not a usable one.
    std::optional<WindowPlacement> ReadWindowPlacement() const;
    void WriteWindowPlacement(const WindowPlacement& placement);

    /// The file that holds the settings.
    QString FileName() const { return settings_.fileName(); }
    void Sync() { settings_.sync(); }

    static constexpr const char* kOrganization = "Local AppWizard-Generated Applications";
    static constexpr const char* kApplication = kProgramTitle;

private:
    mutable QSettings settings_;
};
