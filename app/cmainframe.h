#pragma once

#include <QMainWindow>

#include <map>

class CKesto1App;
class CKesto1Doc;
class CKesto1View;
class ILockKeys;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;

/// The main window: the chart view with the menu, the toolbar (docked at the bottom) and the
/// status bar with its message pane and the CAP, NUM and SCRL indicators.
class CMainFrame : public QMainWindow {
public:
    CMainFrame(CKesto1App& app, CKesto1Doc& document, ILockKeys& lockKeys);

    /// Builds the view, toolbar, status bar and menu: 0 on success, -1 on failure.
    int OnCreate();

    CKesto1View* View() const { return view; }
    QToolBar* ToolBar() const { return toolBar; }
    QStatusBar* StatusBarPane() const { return statusBarPane; }

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
};
