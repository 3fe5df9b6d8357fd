#include "tests/x11/x11suite.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

std::vector<std::unique_ptr<QProcess>>& LaterInput() {
    static std::vector<std::unique_ptr<QProcess>> running;
    return running;
}

QString XdotoolPath() {
    return QStandardPaths::findExecutable(QStringLiteral("xdotool"));
}

} // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QTest::qWait(5);
    }
    return true;
}

namespace {

// Runs xdotool to its end within timeoutMs; false when it failed or had to be killed.
bool RunXdotool(QProcess& xdotool, const QStringList& args, int timeoutMs) {
    xdotool.start(XdotoolPath(), args);
    const bool ended =
        WaitUntil([&] { return xdotool.state() == QProcess::NotRunning; }, timeoutMs);
    if (!ended) {
        xdotool.kill();
        xdotool.waitForFinished(2000);
        return false;
    }
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

} // namespace

bool XDo(const QStringList& args, int timeoutMs) {
    QProcess xdotool;
    return RunXdotool(xdotool, args, timeoutMs);
}

QString XDoRead(const QStringList& args, int timeoutMs) {
    QProcess xdotool;
    if (!RunXdotool(xdotool, args, timeoutMs)) {
        return {};
    }
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

void XDoLater(const QStringList& args) {
    auto xdotool = std::make_unique<QProcess>();
    xdotool->start(XdotoolPath(), args);
    LaterInput().push_back(std::move(xdotool));
}

void FinishLaterInput() {
    for (const std::unique_ptr<QProcess>& p : LaterInput()) {
        if (!WaitUntil([&] { return p->state() == QProcess::NotRunning; }, 10000)) {
            p->kill();
            p->waitForFinished(2000);
        }
    }
    LaterInput().clear();
}

bool Activate(QWidget& window) {
    return XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                QString::number(window.winId())}) &&
           WaitUntil([&] { return window.isActiveWindow(); });
}

CModalAnswer::CModalAnswer(std::function<void(QWidget*)> a)
    : answer(std::move(a)), poll(std::make_unique<QTimer>()) {
    poll->setInterval(10);
    QObject::connect(poll.get(), &QTimer::timeout, poll.get(), [this] {
        QWidget* modal = QApplication::activeModalWidget();
        // Answer once the box is up and has the keyboard, so that typed keys reach it.
        if (answered || modal == nullptr || !modal->isActiveWindow()) {
            return;
        }
        answered = true;
        poll->stop();
        answer(modal);
    });
    poll->start();
}

CModalAnswer::~CModalAnswer() = default;

bool AllClosed() {
    return WaitUntil([] {
        return QApplication::activePopupWidget() == nullptr &&
               QApplication::activeModalWidget() == nullptr;
    });
}

QString EscapeFrom(const std::function<bool()>& input) {
    QString title;
    CModalAnswer escape([&title](QWidget* box) {
        title = box->windowTitle();
        XDoLater({QStringLiteral("key"), QStringLiteral("Escape")});
    });
    if (!input() || !WaitUntil([&escape] { return escape.Answered(); }) || !AllClosed()) {
        return {};
    }
    return title;
}
