#pragma once

#include <QMainWindow>
#include <QTimer>

#include <map>

class CBandPlotView;
class CDevicePlotView;
class CKesto1App;
class CKesto1Doc;
class CKesto1View;
class ILockKeys;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;

/// The main window: the chart view with the menu, the toolbar (docked at the bottom) and the
/// status bar with its message pane and the CAP, NUM and SCRL indicators.
class CMainFrame : public QMainWindow {
public:
    CMainFrame(CKesto1App& app, CKesto1Doc& document, ILockKeys& lockKeys);
    ~CMainFrame() override;

    /// Builds the view, toolbar, status bar and menu: 0 on success, -1 on failure.
    int OnCreate();

    CKesto1View* View() const { return view; }

    /// Runs a command of the command table by its owner, the view or the application, if it
    /// is enabled; true when it ran. Menu items, toolbar buttons and keys come here.
    bool ExecuteCommand(int id);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    QToolBar* ToolBar() const { return toolBar; }
    QStatusBar* StatusBarPane() const { return statusBarPane; }
    /// The panel of the band response plot, made when it is first shown (null until then).
    QDockWidget* BandPlotDock() const { return bandPlotDock; }
    /// Whether the band response plot's panel is shown.
    bool BandPlotShown() const;
    CBandPlotView* BandPlot() const { return bandPlotView; }
    /// The loaded device's plot under the band's in the same panel; hidden without a device.
    CDevicePlotView* DevicePlot() const { return devicePlotView; }

    /// Shows or hides the band response plot.
    void ShowBandPlot(bool shown);
    /// Locks the response plot's value axes at their present ranges, or lets them follow the data.
    void LockPlotAxes(bool locked);
    bool PlotAxesLocked() const { return plotAxesLocked; }
    /// Shows the band response plot if it has not been offered yet in this run: the first time
    /// the band display is on.
    void OfferBandPlot();

    /// Caption, recent-file entries, enabled and checked states, and a repaint of the view.
    void OnDocumentChanged();
    void UpdateCaption();
    void UpdateCommandUI();
    void UpdateRecentFileMenu();
    void UpdateLockIndicators();
    /// Shows a prompt in the message pane; an empty one brings the idle text back.
    void ShowPrompt(const QString& prompt);
    /// Gives the chart view the keyboard back when the window is active, no menu or dialog is
    /// open and the focus is on the menu bar or nowhere: after a menu closes (the menu bar
    /// would otherwise keep every letter as a mnemonic) and when the window becomes active again
    /// after a dialog or message box.
    void ReturnFocusToView();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool CreateToolBar();
    bool CreateStatusBar();
    void CreateBandPlot();
    /// Brings the plot up to date with the document's last draw, when it is shown.
    void RefreshBandPlot();
    void CreateMenus();
    QAction* CreateMenuAction(int id);
    QLabel* CreateIndicator(const char* text);
    void RunCommand(int id);
    /// ReturnFocusToView once the events under way are handled, when menus and dialogs have
    /// settled.
    void ReturnFocusToViewLater();

    QStatusBar* statusBarPane = nullptr;
    QToolBar* toolBar = nullptr;
    CKesto1App& app;
    CKesto1Doc& document;
    ILockKeys& lockKeys;
    CKesto1View* view = nullptr;
    QMenu* fileMenu = nullptr;
    QAction* recentPlaceholder = nullptr;
    std::map<int, QAction*> menuActions;
    std::map<int, QAction*> toolActions;
    QLabel* capIndicator = nullptr;
    QLabel* numIndicator = nullptr;
    QLabel* scrlIndicator = nullptr;
    QDockWidget* bandPlotDock = nullptr;
    CBandPlotView* bandPlotView = nullptr;
    CDevicePlotView* devicePlotView = nullptr;
    bool plotAxesLocked = false;
    bool bandPlotOffered = false;
    /// Refreshes the plot once control is back in the event loop after a paint of the chart, so
    /// that the chart reaches the screen first and a burst of keys refreshes it once.
    QTimer bandPlotRefresh;
};
