#pragma once

#include "model/messagesink.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

/// Takes the messages a draw raises and shows them after the paint, never from inside it. A
/// message is shown once until Rearm: the repaint that closing its box causes does not show it
/// again, so a box can never bring up the next one by itself. The view calls Rearm whenever it
/// redraws for a reason of its own (a command, a new document, a resize).
class CDrawMessages : public IMessageSink {
public:
    using Shower = std::function<void(const std::string&)>;

    /// show defaults to the program's warning box (MessageBoxes().Warning).
    explicit CDrawMessages(Shower show = ShowWarningBox);

    void Report(const std::string& text) override;
    void Rearm();
    /// Shows what is waiting; runs by itself once control is back in the event loop.
    void ShowPending();
    bool HasPending() const { return !pending.empty(); }

    /// The program's warning box.
    static void ShowWarningBox(const std::string& text);

private:
    static bool Contains(const std::vector<std::string>& list, const std::string& text);

    Shower show;
    QObject context;
    std::vector<std::string> pending;
    std::vector<std::string> shown;
    bool scheduled = false;
    bool showing = false;
};
