#pragma once

#include "model/archive.h"
#include "model/smithchrt.h"

#include <QString>
#include <QStringList>

/// The program's one document: the chart data, the file it belongs to, its name and the
/// modified flag. File New and File Open reuse it for the whole run.
class CKesto1Doc {
public:
    SmithChrt chart;

    /// Reinitialises for File New: the new-document values, no path, the name "Untitled",
    /// not modified. The frequencies and the VSWR-circle flag keep their values.
    bool OnNewDocument();

    /// Reads a file, all or nothing. On success the document takes the file's path and name
    /// and is not modified; a zero-length file keeps the whole content under the new name.
    /// On failure nothing changes. What the file held that could not be read is told in notes.
    DocumentError OnOpenDocument(const QString& path, QStringList* notes = nullptr);

    /// Writes the document; on success it takes the path and name and is no longer modified.
    /// On failure cause (if given) tells why, such as "Permission denied".
    DocumentError OnSaveDocument(const QString& path, QString* cause = nullptr);

    bool IsModified() const { return modified; }
    void SetModifiedFlag(bool value = true) { modified = value; }

    /// The full path; empty for a document never saved.
    const QString& GetPathName() const { return pathName; }
    /// The document's name in the caption: the file name, or "Untitled".
    const QString& GetTitle() const { return title; }
    void SetPathName(const QString& path);

    static constexpr const char* kUntitled = "Untitled";

private:
    QString pathName;
    QString title = QString::fromLatin1(kUntitled);
    bool modified = false;
};
