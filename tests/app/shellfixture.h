#pragma once

#include "app/ckesto1app.h"
#include "app/cmainframe.h"
#include "model/documentfile.h"
#include "platform/messages/messageboxes.h"
#include "platform/shell/ifiledialogs.h"
#include "platform/shell/ilockkeys.h"
#include "tests/support/recordingboxes.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// File dialogs that return prepared names; an empty queue means the user cancelled.
class FakeFileDialogs : public IFileDialogs {
public:
    QString GetOpenFileName() override { return Next(openNames); }
    QString GetSaveFileName(const QString& suggested) override {
        suggestions.append(suggested);
        return Next(saveNames);
    }
    QString GetExportFileName(const QString& suggested) override {
        exportSuggestions.append(suggested);
        return Next(exportNames);
    }
    QString GetDeviceFileName() override { return Next(deviceNames); }
    QStringList openNames;
    QStringList deviceNames;
    QStringList saveNames;
    QStringList suggestions;
    QStringList exportNames;
    QStringList exportSuggestions;

private:
    static QString Next(QStringList& names) {
        return names.isEmpty() ? QString() : names.takeFirst();
    }
};

class FakeLockKeys : public ILockKeys {
public:
    LockKeys Read() override { return state; }
    LockKeys state;
};

// An application on an isolated settings location, with recorded boxes and fake dialogs.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() : scopedBoxes(boxes) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    CKesto1App& Start(const QString& path = QString()) {
        app = std::make_unique<CKesto1App>(dialogs, lockKeys);
        started = app->InitInstance(path);
        EXPECT_TRUE(started);
        return *app;
    }

    /// Closes the window as the user would and starts the program again.
    void Restart() {
        if (app && app->MainFrame() != nullptr) {
            app->MainFrame()->close();
        }
        app.reset();
        Start();
    }

    CMainFrame& Frame() { return *app->MainFrame(); }
    CKesto1Doc& Doc() { return app->Document(); }

    QString Path(const QString& name) const { return files.filePath(name); }

    /// Writes a document file whose title is title; returns its path.
    QString WriteDocumentFile(const QString& name, const std::string& title, int components = 0) {
        SmithChrt chart;
        chart.ResetForNewDocument();
        chart.title = title;
        for (int i = 0; i < components; ++i) {
            chart.AddComponent(NewResistor(PLACE_SERIES, 50));
        }
        WriteBytes(name, Bytes(chart));
        return Path(name);
    }

    static QByteArray Bytes(const SmithChrt& chart) {
        const std::vector<uint8_t> b = WriteDocument(chart);
        return QByteArray(reinterpret_cast<const char*>(b.data()),
                          static_cast<qsizetype>(b.size()));
    }

    void WriteBytes(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir settingsDir;
    QTemporaryDir files;
    RecordingBoxes boxes;
    ScopedMessageBoxes scopedBoxes;
    FakeFileDialogs dialogs;
    FakeLockKeys lockKeys;
    std::unique_ptr<CKesto1App> app;
    bool started = false;
};
