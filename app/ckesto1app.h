#pragma once

#include "app/crecentfilelist.h"
#include "platform/messages/cmessageboxsink.h"
#include "view/ckesto1doc.h"
#include "view/iviewshell.h"

#include <QString>

#include <memory>

class CMainFrame;
class CSettingsStore;
class IFileDialogs;
class ILockKeys;

/// The application: one document, one main frame and one view for the whole run, the
/// recent-file list and the settings store, and the file commands.
class CKesto1App : public IViewShell {
public:
    CKesto1App(IFileDialogs& fileDialogs, ILockKeys& lockKeys);
    ~CKesto1App() override;
    CKesto1App(const CKesto1App&) = delete;
    CKesto1App& operator=(const CKesto1App&) = delete;

    /// Start-up: settings, the main window, then a new document or the one named by
    /// documentPath. False when the program should end at once.
    bool InitInstance(const QString& documentPath = QString());
    /// Writes the recent-file list, the preview page count and the main window's place back to
    /// the settings store.
    void ExitInstance();

    CKesto1Doc& Document() { return document; }
    CMainFrame* MainFrame() const { return frame.get(); }
    const CRecentFileList& RecentFiles() const { return recentFiles; }
    int PreviewPages() const override { return previewPages; }
    void SetPreviewPages(int pages) { previewPages = pages; }

    /// Opens a document in place of the current one, after the save question. Failures are
    /// shown and leave the current document as it was.
    bool OpenDocumentFile(const QString& path);
    /// Asks "Save changes to %1?" for a modified document; false when the user cancels or the
    /// save fails.
    bool SaveModified();
    /// The save question before the main window closes; writes the settings when it may close.
    bool CanCloseFrame();

    /// Runs one of the command table's shell rows if it is enabled; true when it ran. The main
    /// frame sends those rows here.
    bool ExecuteShellCommand(int id);
    /// Whether a shell command can run now (a recent-file entry only while it exists).
    bool IsShellCommandEnabled(int id) const;
    /// The check mark of the View items.
    bool IsShellCommandChecked(int id) const;

    // The shell's commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    /// index 0 is the most recent file.
    void OnOpenRecentFile(int index);
    void OnAppExit();
    void OnAppAbout();
    void OnViewToolbar();
    void OnViewStatusBar();
    /// Shows or hides the band response plot.
    void OnViewBandPlot();
    /// Locks the response plot's axes, or lets them follow the data again (Ctrl+L).
    void OnLockPlotAxes();

    void BandDisplayTurnedOn() override;
    QString AskExportFileName(const QString& suggested) override;
    QString AskDataFileName() override;
    QString AskDeviceFileName() override;
    void DeviceLoaded() override;
    QString AskNetworkFileName(const QString& suggested) override;

private:
    enum class OpenResult { Opened, Cancelled, Failed };
    /// Shows the main window where it was last left, brought onto a screen, or at its first
    /// size.
    void ShowFrame();
    OpenResult OpenDocument(const QString& path);
    bool DoFileSave();
    /// Saves under path, or asks for a name when path is empty.
    bool DoSave(const QString& path);
    QString SuggestedSaveName() const;
    static QString WithDefaultExtension(const QString& path);

    IFileDialogs& fileDialogs;
    ILockKeys& lockKeys;
    CMessageBoxSink messageSink;
    CKesto1Doc document;
    std::unique_ptr<CSettingsStore> settings;
    CRecentFileList recentFiles;
    int previewPages = 0;
    std::unique_ptr<CMainFrame> frame;
};
