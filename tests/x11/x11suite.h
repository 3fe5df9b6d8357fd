#pragma once

#include <QPointer>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

/// Why the suite cannot run here (no Xvfb or no xdotool); empty when it can.
const std::string& X11SuiteProblem();

/// Spins the event loop until done() holds or timeoutMs passes; true when it held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

/// Runs xdotool with args on the suite's X server, the event loop running meanwhile (a dialog the
/// input opens runs its own loop inside). True when it ended with status 0 within timeoutMs;
/// otherwise it is killed.
bool XDo(const QStringList& args, int timeoutMs = 15000);

/// Runs xdotool like XDo and returns what it printed, without the final newline; empty when it
/// failed or timed out.
QString XDoRead(const QStringList& args, int timeoutMs = 15000);

/// Gives window the X input focus, as a window manager does when it activates a window (the
/// suite's X server has none), and waits until Qt sees the window active.
bool Activate(QWidget& window);

/// Watches for the next modal dialog or message box and hands it to answer once, from inside
/// the dialog's own event loop; answer typically types into it with XDoLater.
class CModalAnswer {
public:
    explicit CModalAnswer(std::function<void(QWidget*)> answer);
    ~CModalAnswer();
    bool Answered() const { return answered; }

private:
    std::function<void(QWidget*)> answer;
    bool answered = false;
    std::unique_ptr<class QTimer> poll;
};

/// Waits until no menu and no dialog is open.
bool AllClosed();

/// Gives input, which should open a dialog or message box, closes that with Escape and returns
/// its title; empty when none opened.
QString EscapeFrom(const std::function<bool()>& input);

/// Starts xdotool with args and returns at once; the suite waits for it at the end of the test.
void XDoLater(const QStringList& args);
/// Waits (bounded) for every XDoLater command still running.
void FinishLaterInput();
