#pragma once

#include <QString>
#include <QStringList>

/// The recent-file list of the File menu: at most `size` absolute paths, most recent first.
class CRecentFileList {
public:
    explicit CRecentFileList(int size) : size_(size) {}

    /// Puts path at the top, removing an earlier entry of the same file.
    void Add(const QString& path);
    void Remove(int index);

    int Count() const { return static_cast<int>(files_.size()); }
    int Size() const { return size_; }
    QString At(int index) const { return files_.value(index); }
    const QStringList& Entries() const { return files_; }
    /// Replaces the list, as read from the settings store.
    void SetEntries(const QStringList& files);

    /// The menu text of an entry: "&1 " and the file's name, shortened to a readable length.
    QString MenuText(int index) const;

private:
    int size_;
    QStringList files_;
};
