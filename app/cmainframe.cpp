#include "app/cmainframe.h"

#include "app/ckesto1app.h"
#include "app/shelllayout.h"
#include "platform/plot/cbandplotview.h"
#include "platform/plot/deviceplot.h"
#include "platform/shell/ilockkeys.h"
#include "platform/shell/shellicons.h"
#include "quorbel_config.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"
#include "view/commandtable.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

CMainFrame::CMainFrame(CKesto1App& application, CKesto1Doc& doc, ILockKeys& keys)
    : app(application), document(doc), lockKeys(keys) {}

CMainFrame::~CMainFrame() {
    // The window's own destruction hides the panel; by then the menus are gone.
    if (bandPlotDock != nullptr) {
        disconnect(bandPlotDock, nullptr, this, nullptr);
        view->SetPaintListener({});
    }
}

int CMainFrame::OnCreate() {
    view = new CKesto1View(document, this);
    view->SetShell(&app);
    setCentralWidget(view);
    if (!CreateToolBar() || !CreateStatusBar()) {
        return -1;
    }
    CreateMenus();
    // No minimum size of our own: the window can be made as small as the window system allows.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    qApp->installEventFilter(this);
    UpdateLockIndicators();
    UpdateRecentFileMenu();
    UpdateCommandUI();
    UpdateCaption();
    view->setFocus();
    return 0;
}

bool CMainFrame::CreateToolBar() {
    toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    toolBar->setObjectName(QStringLiteral("toolbar"));
    toolBar->setIconSize(QSize(32, 32));
    toolBar->setMovable(true);
    toolBar->setFloatable(true);
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const int id : ToolbarLayout()) {
        if (id == kSeparator) {
            toolBar->addSeparator();
            continue;
        }
        const CommandRow* row = FindCommand(id);
        if (row == nullptr || row->icon == nullptr) {
            return false;
        }
        const QIcon icon = ToolbarIcon(QString::fromLatin1(row->icon));
        if (icon.isNull()) {
            return false;
        }
        // No text, so that the button has a tooltip only where the table gives one.
        auto* action = new QAction(icon, QString(), this);
        action->setData(id);
        action->setToolTip(row->tooltip != nullptr ? QString::fromLatin1(row->tooltip) : QString());
        action->setStatusTip(row->prompt != nullptr ? QString::fromLatin1(row->prompt) : QString());
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        toolBar->addAction(action);
        toolActions[id] = action;
    }
    setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);
    addToolBar(Qt::BottomToolBarArea, toolBar);
    // A floating toolbar is a window of its own: its prompts are passed on from there.
    toolBar->installEventFilter(this);
    connect(toolBar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
    return true;
}

QLabel* CMainFrame::CreateIndicator(const char* text) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("indicator") + QString::fromLatin1(text));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 12);
    statusBarPane->addPermanentWidget(label);
    return label;
}

bool CMainFrame::CreateStatusBar() {
    statusBarPane = new QStatusBar(this);
    statusBarPane->setObjectName(QStringLiteral("statusbar"));
    setStatusBar(statusBarPane);
    capIndicator = CreateIndicator("CAP");
    numIndicator = CreateIndicator("NUM");
    scrlIndicator = CreateIndicator("SCRL");
    ShowPrompt(QString());
    return true;
}

QAction* CMainFrame::CreateMenuAction(int id) {
    const CommandRow* row = FindCommand(id);
    auto* action = new QAction(QString::fromLatin1(row->menuText), this);
    action->setData(id);
    action->setCheckable(row->checkable);
    action->setStatusTip(row->prompt != nullptr ? QString::fromLatin1(row->prompt) : QString());
    if (row->tooltip != nullptr) {
        action->setToolTip(QString::fromLatin1(row->tooltip));
    }
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    menuActions[id] = action;
    return action;
}

void CMainFrame::CreateMenus() {
    for (const MenuLayout& layout : MenuBarLayout()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(layout.title));
        menu->setToolTipsVisible(layout.showsTooltips);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
        connect(menu, &QMenu::aboutToHide, this, [this] { ShowPrompt(QString()); });
        for (const int id : layout.items) {
            if (id == kSeparator) {
                menu->addSeparator();
            } else if (id == kRecentFiles) {
                fileMenu = menu;
                recentPlaceholder = menu->addAction(QString::fromLatin1(kRecentFilePlaceholder));
                recentPlaceholder->setEnabled(false);
                for (int i = 0; i < kRecentFileCount; ++i) {
                    QAction* entry = CreateMenuAction(ID_FILE_MRU_FILE1 + i);
                    menu->addAction(entry);
                }
            } else {
                menu->addAction(CreateMenuAction(id));
            }
        }
    }
}

void CMainFrame::CreateBandPlot() {
    bandPlotDock = new QDockWidget(QStringLiteral("Band Response"), this);
    bandPlotDock->setObjectName(QStringLiteral("bandPlot"));
    bandPlotDock->setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* panel = new QWidget(bandPlotDock);
    auto* plots = new QHBoxLayout(panel);
    plots->setContentsMargins(0, 0, 0, 0);
    plots->setSpacing(0);
    bandPlotView = new CBandPlotView(panel);
    bandPlotView->Content().SetAxesLocked(plotAxesLocked);
    devicePlotView = new CDevicePlotView(panel);
    devicePlotView->hide();
    plots->addWidget(bandPlotView, 1);
    plots->addWidget(devicePlotView, 1);
    bandPlotDock->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, bandPlotDock);
    bandPlotDock->hide();
    connect(bandPlotDock, &QDockWidget::visibilityChanged, this, &CMainFrame::RefreshBandPlot);
    connect(bandPlotDock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateCommandUI);
    bandPlotRefresh.setSingleShot(true);
    bandPlotRefresh.setInterval(0);
    connect(&bandPlotRefresh, &QTimer::timeout, this, &CMainFrame::RefreshBandPlot);
    view->SetPaintListener([this] { bandPlotRefresh.start(); });
}

void CMainFrame::RefreshBandPlot() {
    if (bandPlotDock != nullptr && !bandPlotDock->isHidden()) {
        bandPlotView->Update(document.chart);
        const bool device = document.chart.device != nullptr;
        if (device) {
            devicePlotView->Update(document.chart);
        }
        if (device == devicePlotView->isHidden()) {
            devicePlotView->setVisible(device);
            if (device && !bandPlotDock->isFloating()) {
                resizeDocks({bandPlotDock}, {bandPlotDock->widget()->sizeHint().height()},
                            Qt::Vertical);
            }
        }
    }
}

void CMainFrame::LockPlotAxes(bool locked) {
    plotAxesLocked = locked;
    if (bandPlotView != nullptr) {
        bandPlotView->Content().SetAxesLocked(locked);
        RefreshBandPlot();
    }
    UpdateCommandUI();
}

bool CMainFrame::BandPlotShown() const {
    return bandPlotDock != nullptr && !bandPlotDock->isHidden();
}

void CMainFrame::ShowBandPlot(bool shown) {
    bandPlotOffered = true;
    if (shown == BandPlotShown()) {
        return;
    }
    // The panel and its charting are made the first time they are shown, not at start-up.
    if (bandPlotDock == nullptr) {
        CreateBandPlot();
    }
    bandPlotDock->setVisible(shown);
    if (shown && !bandPlotDock->isFloating()) {
        resizeDocks({bandPlotDock}, {bandPlotView->sizeHint().height()}, Qt::Vertical);
    }
    // The view's size changed: its next paint refreshes the plot.
    UpdateCommandUI();
}

void CMainFrame::OfferBandPlot() {
    if (!bandPlotOffered) {
        ShowBandPlot(true);
    }
}

namespace {

bool IsShellRow(int id) {
    const CommandRow* row = FindCommand(id);
    return row != nullptr && row->owner == CommandOwner::Shell;
}

} // namespace

bool CMainFrame::ExecuteCommand(int id) {
    return IsShellRow(id) ? app.ExecuteShellCommand(id) : view->ExecuteCommand(id);
}

bool CMainFrame::IsCommandEnabled(int id) const {
    return IsShellRow(id) ? app.IsShellCommandEnabled(id) : view->IsCommandEnabled(id);
}

bool CMainFrame::IsCommandChecked(int id) const {
    return IsShellRow(id) ? app.IsShellCommandChecked(id) : view->IsCommandChecked(id);
}

void CMainFrame::RunCommand(int id) {
    ExecuteCommand(id);
    UpdateCommandUI();
}

void CMainFrame::OnDocumentChanged() {
    if (document.chart.band.display) {
        OfferBandPlot();
    }
    UpdateCaption();
    UpdateRecentFileMenu();
    UpdateCommandUI();
    view->Redraw();
}

void CMainFrame::UpdateCaption() {
    setWindowTitle(document.GetTitle() + QStringLiteral(" - ") + QString::fromLatin1(kProgramName));
}

void CMainFrame::UpdateCommandUI() {
    for (auto* actions : {&menuActions, &toolActions}) {
        for (const auto& [id, action] : *actions) {
            action->setEnabled(IsCommandEnabled(id));
            if (action->isCheckable()) {
                action->setChecked(IsCommandChecked(id));
            }
        }
    }
}

void CMainFrame::UpdateRecentFileMenu() {
    if (fileMenu == nullptr) {
        return;
    }
    const CRecentFileList& recent = app.RecentFiles();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* entry = menuActions[ID_FILE_MRU_FILE1 + i];
        const bool present = i < recent.Count();
        entry->setVisible(present);
        entry->setText(present ? recent.MenuText(i) : QString());
    }
    recentPlaceholder->setVisible(recent.Count() == 0);
}

void CMainFrame::UpdateLockIndicators() {
    const LockKeys keys = lockKeys.Read();
    capIndicator->setText(keys.capsLock ? QStringLiteral("CAP") : QString());
    numIndicator->setText(keys.numLock ? QStringLiteral("NUM") : QString());
    scrlIndicator->setText(keys.scrollLock ? QStringLiteral("SCRL") : QString());
}

void CMainFrame::ShowPrompt(const QString& prompt) {
    statusBarPane->showMessage(prompt.isEmpty() ? QString::fromLatin1(kIdleText) : prompt);
}

void CMainFrame::ReturnFocusToViewLater() {
    QMetaObject::invokeMethod(this, &CMainFrame::ReturnFocusToView, Qt::QueuedConnection);
}

void CMainFrame::ReturnFocusToView() {
    if (!isActiveWindow() || QApplication::activePopupWidget() != nullptr ||
        QApplication::activeModalWidget() != nullptr || !view->isVisible()) {
        return;
    }
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus == menuBar()) {
        view->setFocus(Qt::OtherFocusReason);
    }
}

bool CMainFrame::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::StatusTip:
        ShowPrompt(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    case QEvent::WindowActivate:
        ReturnFocusToViewLater();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::StatusTip:
        if (watched == toolBar) {
            ShowPrompt(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        }
        break;
    case QEvent::KeyRelease: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) {
            UpdateLockIndicators();
        }
        break;
    }
    case QEvent::ApplicationActivate:
        UpdateLockIndicators();
        break;
    case QEvent::Hide:
        if (qobject_cast<QMenu*>(watched) != nullptr) {
            ReturnFocusToViewLater();
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::keyPressEvent(QKeyEvent* event) {
    // The view leaves the shell's keys to the frame, and keys that reach the frame from
    // elsewhere (a toolbar button with the focus) still work.
    const CommandRow* row = FindAccelerator(event->key(), event->modifiers());
    if (row == nullptr) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    RunCommand(row->id);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!app.CanCloseFrame()) {
        event->ignore();
        return;
    }
    event->accept();
}
