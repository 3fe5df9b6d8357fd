// What the offscreen platform cannot show: the real menu bar, real modal loops, real key and
// pointer events through the X server.
#include "tests/support/missingtool.h"
#include "tests/x11/x11shellfixture.h"

#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>

namespace {

// Presses keys; see EscapeFrom.
QString EscapeFromKeys(const QString& keys) {
    return EscapeFrom([&keys] { return XDo({QStringLiteral("key"), keys}); });
}

// Clicks at a place on the screen.
bool ClickAt(QPoint at, int button = 1) {
    return XDo({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                QStringLiteral("click"), QString::number(button)});
}

// The steps of the report: Alt+H, Escape, Ctrl+W, Escape, then F opened the File menu because
// the menu bar kept the keyboard.
TEST_F(X11ShellTest, KeysReachTheChartAfterAMenuAndADialogClose) {
    Start();
    ASSERT_TRUE(Keys(QStringLiteral("alt+h")));
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    ASSERT_TRUE(Keys(QStringLiteral("Escape")));
    ASSERT_TRUE(AllClosed());
    EXPECT_TRUE(ViewHasKeyboard()) << "the menu bar kept the keyboard";

    EXPECT_EQ(EscapeFromKeys(QStringLiteral("ctrl+w")),
              QStringLiteral("Simple HPF/LPF Synthesis wizard"));
    // The window manager gives the window back its activation; the program the keyboard.
    ASSERT_TRUE(Activate(Frame()));
    EXPECT_TRUE(ViewHasKeyboard());

    EXPECT_EQ(EscapeFromKeys(QStringLiteral("f")), QStringLiteral("Parameter Editor"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "F opened a menu";
}

TEST_F(X11ShellTest, MenuKeyboardNavigationStillWorks) {
    Start();
    // Alt+F opens File; Right moves to Edit, Right again to View; Enter on its first item hides
    // the toolbar.
    ASSERT_TRUE(Keys(QStringLiteral("alt+f")));
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    ASSERT_TRUE(Keys(QStringLiteral("Right")));
    ASSERT_TRUE(Keys(QStringLiteral("Right")));
    ASSERT_TRUE(WaitUntil([] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu != nullptr && menu->title() == QStringLiteral("&View");
    }));
    ASSERT_TRUE(Keys(QStringLiteral("Return")));
    ASSERT_TRUE(AllClosed());
    EXPECT_TRUE(WaitUntil([this] { return Frame().ToolBar()->isHidden(); }));
    EXPECT_TRUE(ViewHasKeyboard());
    // And a key of the chart works at once.
    const int32_t markers = Chart().textMarkers;
    ASSERT_TRUE(Keys(QStringLiteral("m")));
    EXPECT_TRUE(WaitUntil([&] { return Chart().textMarkers != markers; }));
}

TEST_F(X11ShellTest, KeysReachTheChartAfterAMessageBoxAndAMenuClick) {
    Start();
    Chart().AddComponent(NewResistor(PLACE_SERIES, 50));
    View()->Redraw();
    // Ctrl+F asks whether to flip; No.
    EXPECT_FALSE(EscapeFromKeys(QStringLiteral("ctrl+f")).isEmpty());
    ASSERT_TRUE(Activate(Frame()));
    EXPECT_TRUE(ViewHasKeyboard());

    // Help > About with the pointer, closed with Escape.
    const QRect help = Frame().menuBar()->actionGeometry(Frame().menuBar()->actions().last());
    const QPoint at = Frame().menuBar()->mapToGlobal(help.center());
    ASSERT_TRUE(ClickAt(at));
    ASSERT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* popup = QApplication::activePopupWidget();
    const QPoint item = popup->mapToGlobal(QPoint(popup->width() / 2, popup->height() / 2));
    const QString about = EscapeFrom([item] { return ClickAt(item); });
    EXPECT_TRUE(about.startsWith(QStringLiteral("About "))) << about.toStdString();
    ASSERT_TRUE(Activate(Frame()));
    EXPECT_TRUE(ViewHasKeyboard());
    const int32_t gamma = Chart().gammaMode;
    ASSERT_TRUE(Keys(QStringLiteral("g")));
    EXPECT_TRUE(WaitUntil([&] { return Chart().gammaMode != gamma; }));
}

TEST_F(X11ShellTest, KeysAndClicksReachTheView) {
    Start();
    Chart().AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    Chart().AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    View()->Redraw();
    ASSERT_TRUE(WaitUntil([this] { return Chart().tracePoints[0] != Point{}; }));
    ASSERT_EQ(Chart().activeIndex, 1);

    // A click on the first component's trace makes it the active one.
    const Point trace = Chart().tracePoints[0];
    const QPoint at = View()->mapToGlobal(QPoint(trace.x, -trace.y));
    ASSERT_TRUE(ClickAt(at));
    EXPECT_TRUE(WaitUntil([this] { return Chart().activeIndex == 0; }));

    // Right selects the next one; Up tunes it.
    ASSERT_TRUE(Keys(QStringLiteral("Right")));
    EXPECT_TRUE(WaitUntil([this] { return Chart().activeIndex == 1; }));
    const double inductance = Chart().components[1].inductance;
    ASSERT_TRUE(Keys(QStringLiteral("Up")));
    EXPECT_TRUE(WaitUntil([&] { return Chart().components[1].inductance > inductance; }));
    // Ctrl+Up steps the frequency.
    const double frequency = Chart().frequency;
    ASSERT_TRUE(Keys(QStringLiteral("ctrl+Up")));
    EXPECT_TRUE(WaitUntil([&] { return Chart().frequency > frequency; }));

    // A right click opens the impedance popup.
    EXPECT_FALSE(EscapeFrom([at] { return ClickAt(at, 3); }).isEmpty());
    ASSERT_TRUE(Activate(Frame()));
    EXPECT_TRUE(ViewHasKeyboard());
}

TEST_F(X11ShellTest, LockIndicatorsFollowTheServersLocks) {
    Start();
    auto indicator = [this](const char* name) {
        return Frame().findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    ASSERT_EQ(indicator("indicatorCAP"), QString());
    ASSERT_TRUE(Keys(QStringLiteral("Caps_Lock")));
    EXPECT_TRUE(WaitUntil([&] { return indicator("indicatorCAP") == QStringLiteral("CAP"); }));
    ASSERT_TRUE(Keys(QStringLiteral("Num_Lock")));
    EXPECT_TRUE(WaitUntil([&] { return indicator("indicatorNUM") == QStringLiteral("NUM"); }));
    EXPECT_EQ(lockKeys->Read(), (LockKeys{true, true, false}));
    ASSERT_TRUE(Keys(QStringLiteral("Caps_Lock")));
    ASSERT_TRUE(Keys(QStringLiteral("Num_Lock")));
    EXPECT_TRUE(WaitUntil([&] {
        return indicator("indicatorCAP").isEmpty() && indicator("indicatorNUM").isEmpty();
    }));
    EXPECT_EQ(lockKeys->Read(), LockKeys{});
}

// Scroll Lock locks nothing in the usual X keymaps, so its indicator stays dark there. With a
// keymap that does lock it (Scroll_Lock on a modifier of its own) the indicator follows it.
TEST_F(X11ShellTest, ScrollLockIndicatorWhereTheKeymapLocksIt) {
    const QString xkbcomp = QStandardPaths::findExecutable(QStringLiteral("xkbcomp"));
    if (xkbcomp.isEmpty()) {
        SKIP_OR_FAIL_MISSING("xkbcomp is not installed (Debian package x11-xkb-utils)");
    }
    const QString display = qEnvironmentVariable("DISPLAY");
    const QString keymap = files.filePath(QStringLiteral("keymap.xkb"));
    ASSERT_EQ(QProcess::execute(xkbcomp, {QStringLiteral("-w0"), display, keymap}), 0);
    QFile file(keymap);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray text = file.readAll();
    const QByteArray numLock = "modifier_map Mod2 { <NMLK> };";
    ASSERT_TRUE(text.contains(numLock));
    text.replace(numLock, numLock + "\n    modifier_map Mod3 { <SCLK> };");
    file.resize(0);
    file.write(text);
    file.close();
    ASSERT_EQ(QProcess::execute(xkbcomp, {QStringLiteral("-w0"), keymap, display}), 0);

    Start();
    auto scroll = [this] {
        return Frame().findChild<QLabel*>(QStringLiteral("indicatorSCRL"))->text();
    };
    ASSERT_TRUE(Keys(QStringLiteral("Scroll_Lock")));
    EXPECT_TRUE(WaitUntil([&] { return scroll() == QStringLiteral("SCRL"); }));
    ASSERT_TRUE(Keys(QStringLiteral("Scroll_Lock")));
    EXPECT_TRUE(WaitUntil([&] { return scroll().isEmpty(); }));
}

// Counts the key presses an object receives.
class KeyCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        presses += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

// A key shows its change at once: the view paints straight into the window's backing store
// and sends the X server only the tiles that changed. What the screen then shows must be the
// whole chart, as a paint of all of it gives (below the title line, whose clock moves on).
TEST_F(X11ShellTest, TheScreenAfterKeysShowsTheWholeChart) {
    Start();
    Chart().AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    Chart().AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    Chart().AddComponent(NewResistor(PLACE_SERIES, 50));
    Chart().AddComponent(NewCapacitor(PLACE_SHUNT, 50, 1000));
    View()->Redraw();
    const int titleRows = 2 * QFontMetrics(View()->font()).height();
    const auto belowTitle = [&](const QImage& image) {
        return image.convertToFormat(QImage::Format_RGB32)
            .copy(0, titleRows, image.width(), image.height() - titleRows);
    };
    const auto screenShowsTheChart = [&] {
        QWidget& top = Frame();
        const QPoint at = View()->mapTo(&top, QPoint(0, 0));
        const QImage shown =
            top.screen()
                ->grabWindow(top.winId(), at.x(), at.y(), View()->width(), View()->height())
                .toImage();
        return belowTitle(shown) == belowTitle(View()->grab().toImage());
    };
    ASSERT_TRUE(WaitUntil(screenShowsTheChart, 5000));
    // Each step's first key draws all (the check's whole paint went elsewhere); the next ones
    // draw only what they change.
    KeyCounter pressed;
    View()->installEventFilter(&pressed);
    int sent = 0;
    for (const char* keys :
         {"Up Up Down", "Left Up Up Up", "Left Down Left Down Down", "m Up a Down Down"}) {
        const QStringList list = QString::fromLatin1(keys).split(QLatin1Char(' '));
        sent += static_cast<int>(list.size());
        ASSERT_TRUE(XDo(QStringList{QStringLiteral("key")} + list));
        ASSERT_TRUE(WaitUntil([&] { return pressed.presses == sent; })) << keys;
        EXPECT_TRUE(WaitUntil(screenShowsTheChart, 5000)) << "after " << keys;
    }
    EXPECT_EQ(Chart().showAdmittance, 1);
}

} // namespace
