#include "app/dialogs/dialogbase.h"
#include "app/shelllayout.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"
#include "view/commandtable.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString kIdle = QStringLiteral(
    "KBD:   s=Setup  e=Edit  UP/DN=value CTRL-UP/DN=freq  SHIFT-UP/DN=Z0 L/R=select  "
    "Del=Delete m=Marks g=gamma a=Admittance");

QToolButton* Button(QToolBar* bar, int id) {
    for (QAction* a : bar->actions()) {
        if (a->data().toInt() == id) {
            return qobject_cast<QToolButton*>(bar->widgetForAction(a));
        }
    }
    return nullptr;
}

QMenu* MenuNamed(CMainFrame& frame, const QString& title) {
    for (QAction* a : frame.menuBar()->actions()) {
        if (a->text() == title) {
            return a->menu();
        }
    }
    return nullptr;
}

QAction* MenuItem(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions()) {
        if (a->text() == text) {
            return a;
        }
    }
    return nullptr;
}

void Hover(QWidget* w) {
    QEnterEvent enter(QPointF(5, 5), w->mapTo(w->window(), QPointF(5, 5)),
                      w->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(w, &enter);
}

void Leave(QWidget* w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

TEST_F(ShellTest, StartsUntitledWithIdleTextAndNewDocument) {
    Start();
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Quorbel"));
    EXPECT_EQ(Frame().statusBar()->currentMessage(), kIdle);
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().chart.title, DefaultTitle());
    EXPECT_EQ(Doc().chart.frequency, 1000.0);
    EXPECT_EQ(Doc().chart.componentCount, 0);
    EXPECT_EQ(Frame().centralWidget(), Frame().View());
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(ShellTest, ToolbarOrderSeparatorsAndBottomDock) {
    Start();
    QToolBar* bar = Frame().ToolBar();
    std::vector<int> order;
    for (QAction* a : bar->actions()) {
        order.push_back(a->isSeparator() ? 0 : a->data().toInt());
    }
    const std::vector<int> expected{57600, 57601, 57603, 0,     32814, 32811, 32823, 32819, 32787,
                                    0,     32773, 32774, 32775, 32776, 32777, 32778, 32779, 32780,
                                    32782, 32810, 0,     57634, 57637, 57609, 57607, 0,     57664};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(Frame().toolBarArea(bar), Qt::BottomToolBarArea);
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_TRUE(bar->isFloatable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    // Above the status bar, below the chart view.
    EXPECT_LE(bar->geometry().bottom(), Frame().statusBar()->geometry().top());
    EXPECT_GE(bar->geometry().top(), Frame().View()->geometry().bottom());
    for (QAction* a : bar->actions()) {
        if (!a->isSeparator()) {
            EXPECT_TRUE(Button(bar, a->data().toInt())->autoRaise()) << "flat buttons";
        }
    }
}

TEST_F(ShellTest, TooltipsOnlyWhereTabled) {
    Start();
    const std::map<int, QString> tips{
        {57600, QStringLiteral("New")},   {57601, QStringLiteral("Open")},
        {57603, QStringLiteral("Save")},  {57634, QStringLiteral("Copy")},
        {57637, QStringLiteral("Paste")}, {57609, QStringLiteral("Print Preview")},
        {57607, QStringLiteral("Print")}, {57664, QStringLiteral("About")}};
    int buttons = 0;
    for (QAction* a : Frame().ToolBar()->actions()) {
        if (a->isSeparator()) {
            continue;
        }
        ++buttons;
        const int id = a->data().toInt();
        const auto tip = tips.find(id);
        EXPECT_EQ(Button(Frame().ToolBar(), id)->toolTip(),
                  tip == tips.end() ? QString() : tip->second)
            << id;
    }
    EXPECT_EQ(buttons, 23);
}

TEST_F(ShellTest, PromptsWhileThePointerRestsOnAButton) {
    Start();
    QStatusBar* status = Frame().statusBar();
    QToolButton* wizard = Button(Frame().ToolBar(), 32811);
    Hover(wizard);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Simple MatchMe Wizard  (type w)"));
    EXPECT_TRUE(wizard->toolTip().isEmpty());
    Leave(wizard);
    EXPECT_EQ(status->currentMessage(), kIdle);

    Hover(Button(Frame().ToolBar(), 57607));
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Print the active document"));
    Leave(Button(Frame().ToolBar(), 57607));
    Hover(Button(Frame().ToolBar(), 32782));
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Add shunt  (open) transmission line (t)"));
    Leave(Button(Frame().ToolBar(), 32782));
    // The setup button has no prompt: the idle text stays.
    Hover(Button(Frame().ToolBar(), 32814));
    EXPECT_EQ(status->currentMessage(), kIdle);
}

TEST_F(ShellTest, MenuItemsCarryTheirPrompts) {
    Start();
    QMenu* file = MenuNamed(Frame(), QStringLiteral("&File"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(MenuItem(file, QStringLiteral("E&xit"))->statusTip(),
              QStringLiteral("Quit the application; prompts to save documents"));
    QMenu* edit = MenuNamed(Frame(), QStringLiteral("&Edit"));
    EXPECT_EQ(MenuItem(edit, QStringLiteral("&Options...\ts"))->statusTip(),
              QStringLiteral("Setup the chart"));
    MenuItem(file, QStringLiteral("E&xit"))->showStatusText(Frame().menuBar());
    EXPECT_EQ(Frame().statusBar()->currentMessage(),
              QStringLiteral("Quit the application; prompts to save documents"));
}

TEST_F(ShellTest, MenusAsTabled) {
    Start();
    QStringList titles;
    for (QAction* a : Frame().menuBar()->actions()) {
        titles.append(a->text());
    }
    // The Band menu holds the band analysis commands (its items: bandpanel_test.cpp), the Data
    // menu those of measured loads.
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"),
                                   QStringLiteral("&View"), QStringLiteral("&Band"),
                                   QStringLiteral("&Data"), QStringLiteral("L&osses"),
                                   QStringLiteral("&Help")}));
    auto visibleTexts = [](QMenu* menu) {
        QStringList texts;
        for (QAction* a : menu->actions()) {
            if (a->isVisible()) {
                texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
            }
        }
        return texts;
    };
    EXPECT_EQ(visibleTexts(MenuNamed(Frame(), QStringLiteral("&File"))),
              (QStringList{"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...",
                           "&Export Chart...\tCtrl+E", "Export &Network...\tCtrl+Shift+E", "-",
                           "&Print...\tCtrl+P", "Print Pre&view", "P&rint Setup...", "-",
                           "Recent File", "-", "E&xit"}));
    EXPECT_EQ(visibleTexts(MenuNamed(Frame(), QStringLiteral("&Edit"))),
              (QStringList{"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V",
                           "&Options...\ts"}));
    EXPECT_EQ(visibleTexts(MenuNamed(Frame(), QStringLiteral("&View"))),
              (QStringList{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(visibleTexts(MenuNamed(Frame(), QStringLiteral("&Data"))),
              (QStringList{"Load &Starting Impedance Data...\tD",
                           "Load &Goal as Conjugate of Load Data...\tShift+D", "-", "&Unbind\tU",
                           "-", "Load &Device...\tCtrl+D", "S&tability Circles\tK",
                           "&Available Gain Circles\tShift+K", "&Operating Gain Circles\tCtrl+K",
                           "&Noise Circles\tCtrl+Shift+K", "Circle St&eps...\tCtrl+Shift+D",
                           "Goal from De&vice...\tShift+G", "Unbind Devi&ce\tCtrl+U"}));
    EXPECT_EQ(visibleTexts(MenuNamed(Frame(), QStringLiteral("L&osses"))),
              (QStringList{"&Losses...\tShift+L", "&Component Loss...\tShift+Q"}));
    EXPECT_EQ(visibleTexts(MenuNamed(Frame(), QStringLiteral("&Help"))),
              QStringList{"&About Quorbel..."});
}

TEST_F(ShellTest, DisabledItemsAndButtons) {
    Start();
    QMenu* edit = MenuNamed(Frame(), QStringLiteral("&Edit"));
    for (QAction* a : edit->actions()) {
        if (!a->isSeparator()) {
            const bool options = a->text() == QStringLiteral("&Options...\ts");
            EXPECT_EQ(a->isEnabled(), options) << a->text().toStdString();
        }
    }
    QMenu* file = MenuNamed(Frame(), QStringLiteral("&File"));
    EXPECT_TRUE(MenuItem(file, QStringLiteral("&New\tCtrl+N"))->isEnabled());
    EXPECT_TRUE(MenuItem(file, QStringLiteral("Save &As..."))->isEnabled());
    EXPECT_FALSE(MenuItem(file, QStringLiteral("Recent File"))->isEnabled());
    EXPECT_TRUE(
        MenuItem(MenuNamed(Frame(), QStringLiteral("&Help")), QStringLiteral("&About Quorbel..."))
            ->isEnabled());
    // A button is enabled exactly when its command has a handler, the view's or the
    // application's; Copy and Paste never do.
    for (QAction* a : Frame().ToolBar()->actions()) {
        if (!a->isSeparator()) {
            const int id = a->data().toInt();
            const CommandRow* row = FindCommand(id);
            ASSERT_NE(row, nullptr) << id;
            EXPECT_EQ(a->isEnabled(), row->handler != nullptr || row->owner == CommandOwner::Shell)
                << id;
            if (id == ID_EDIT_COPY || id == ID_EDIT_PASTE) {
                EXPECT_FALSE(a->isEnabled()) << id;
            }
        }
    }
    // Disabled commands do nothing from the keyboard either.
    QTest::keyClick(Frame().View(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(Frame().View(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(ShellTest, ViewItemsShowHideAndCheck) {
    Start();
    QMenu* view = MenuNamed(Frame(), QStringLiteral("&View"));
    QAction* toolbarItem = MenuItem(view, QStringLiteral("&Toolbar"));
    QAction* statusItem = MenuItem(view, QStringLiteral("&Status Bar"));
    ASSERT_TRUE(toolbarItem->isCheckable());
    ASSERT_TRUE(statusItem->isCheckable());
    EXPECT_TRUE(toolbarItem->isChecked());
    EXPECT_TRUE(statusItem->isChecked());
    const int viewHeight = Frame().View()->height();

    toolbarItem->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(Frame().ToolBar()->isHidden());
    EXPECT_FALSE(toolbarItem->isChecked());
    EXPECT_GT(Frame().View()->height(), viewHeight);

    statusItem->trigger();
    EXPECT_TRUE(Frame().statusBar()->isHidden());
    EXPECT_FALSE(statusItem->isChecked());

    toolbarItem->trigger();
    statusItem->trigger();
    EXPECT_FALSE(Frame().ToolBar()->isHidden());
    EXPECT_FALSE(Frame().statusBar()->isHidden());
    EXPECT_TRUE(toolbarItem->isChecked());
    EXPECT_TRUE(statusItem->isChecked());
}

TEST_F(ShellTest, LockKeyIndicators) {
    lockKeys.state = {true, false, true};
    Start();
    auto text = [this](const char* name) {
        return Frame().findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(text("indicatorCAP"), QStringLiteral("CAP"));
    EXPECT_EQ(text("indicatorNUM"), QString());
    EXPECT_EQ(text("indicatorSCRL"), QStringLiteral("SCRL"));
    lockKeys.state = {false, true, false};
    QTest::keyRelease(Frame().View(), Qt::Key_NumLock);
    EXPECT_EQ(text("indicatorCAP"), QString());
    EXPECT_EQ(text("indicatorNUM"), QStringLiteral("NUM"));
    EXPECT_EQ(text("indicatorSCRL"), QString());
}

TEST_F(ShellTest, NoMinimumSize) {
    Start();
    Frame().resize(120, 90);
    QApplication::processEvents();
    EXPECT_EQ(Frame().View()->minimumSizeHint(), QSize(0, 0));
    EXPECT_EQ(Frame().size(), QSize(120, 90));
    EXPECT_EQ(Frame().minimumSize(), QSize(0, 0));
}

TEST_F(ShellTest, DialogMessagesAreTheProgramsMessageBoxes) {
    Start();
    // The Complex Element dialog refuses a resistance of 0 with its range message, then closes.
    // A box of its own (which the program must not show) would be closed and counted.
    QTimer poll;
    poll.setInterval(5);
    bool handled = false;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* dialog = qobject_cast<CDialogBase*>(QApplication::activeModalWidget());
        if (dialog == nullptr || handled) {
            return;
        }
        handled = true;
        if (auto* resistance = dialog->ControlAs<QLineEdit>(1003)) {
            resistance->setText(QStringLiteral("0"));
            dialog->accept();
        }
        dialog->reject();
    });
    int ownBoxes = 0;
    QTimer guard;
    guard.setInterval(5);
    QObject::connect(&guard, &QTimer::timeout, &guard, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QDialog*>(modal);
        if (box != nullptr && qobject_cast<CDialogBase*>(modal) == nullptr) {
            ++ownBoxes;
            box->reject();
        }
    });
    guard.start();
    poll.start();
    QTest::keyClick(Frame().View(), Qt::Key_X);
    EXPECT_EQ(boxes.warnings, QStringList{"Please enter a number between 1e-15 and 1e+15."});
    EXPECT_EQ(Doc().chart.componentCount, 0);
    EXPECT_EQ(ownBoxes, 0);
}

} // namespace
