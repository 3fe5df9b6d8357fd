#pragma once

#include <QString>

/// The commands that the view passes on to the application shell: file handling, the bars,
/// the About box. The view's handlers for these commands call them.
class IShellCommands {
public:
    virtual ~IShellCommands() = default;
    virtual void OnFileNew() = 0;
    virtual void OnFileOpen() = 0;
    virtual void OnFileSave() = 0;
    virtual void OnFileSaveAs() = 0;
    /// index 0 is the most recent file.
    virtual void OnOpenRecentFile(int index) = 0;
    virtual void OnAppExit() = 0;
    virtual void OnAppAbout() = 0;
    virtual void OnViewToolbar() = 0;
    virtual void OnViewStatusBar() = 0;
    /// Whether a shell command can run now (a recent-file entry only while it exists).
    virtual bool IsShellCommandEnabled(int id) const = 0;
    /// The check mark of the View items.
    virtual bool IsShellCommandChecked(int id) const = 0;
    /// Shows or hides the band response plot.
    virtual void OnViewBandPlot() {}
    /// Locks the response plot's axes, or lets them follow the data again.
    virtual void OnLockPlotAxes() {}
    /// The band display has just been turned on: the shell shows the response plot the first
    /// time this happens.
    virtual void OnBandDisplayTurnedOn() {}
    /// The print preview's page count from the settings store ("Settings", "PreviewPages");
    /// 0 when none is stored.
    virtual int PreviewPages() const { return 0; }
    /// The file to export the chart to, asked with the file dialog (suggested: the name it
    /// starts with); empty when the user cancels.
    virtual QString AskExportFileName(const QString& /*suggested*/) { return {}; }
    /// A Touchstone file to read measured data from, asked with the file dialog; empty when the
    /// user cancels.
    virtual QString AskDataFileName() { return {}; }
};
