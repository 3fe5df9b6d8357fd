// Measured loads: the starting or goal impedance bound to the data of a Touchstone file, and
// unbound again.
#include "view/ckesto1view.h"

#include "app/dialogs/portchoicedialog.h"
#include "model/devicebinding.h"
#include "model/measuredbinding.h"
#include "model/touchstone.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"
#include "view/iviewshell.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The port the user picks for S-parameter data of several ports; 0 when cancelled.
int AskPort(QWidget* parent, const std::string& fileName, int ports) {
    CPortChoiceDialog dialog(ports, parent);
    dialog.label = fileName + " holds S-parameter data of " + std::to_string(ports) +
                   " ports: whose reflection should be used?";
    return dialog.exec() == QDialog::Accepted ? dialog.port : 0;
}

} // namespace

void CKesto1View::LoadData(LoadEnd end) {
    const QString path = shell != nullptr ? shell->AskDataFileName() : QString();
    if (path.isEmpty()) {
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    TouchstoneResult read = ReadTouchstoneFile(file);
    if (!read.data && read.portNeeded) {
        const int port = AskPort(this, QFileInfo(path).fileName().toStdString(), read.ports);
        if (port == 0) {
            return;
        }
        read = ReadTouchstoneFile(file, TouchstoneOptions{0, port});
        if (read.data) {
            read.data->name += " (port " + std::to_string(port) + ")";
        }
    }
    const std::string problem = read.data ? CheckBindable(*read.data) : read.error;
    if (!problem.empty()) {
        MessageBoxes().Warning(
            QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), FromUtf8(problem)));
        return;
    }
    for (const std::string& note : read.notes) {
        MessageBoxes().Warning(
            QStringLiteral("%1: %2.").arg(QFileInfo(path).fileName(), FromUtf8(note)));
    }
    BindMeasuredData(document->chart, end,
                     std::make_shared<const MeasuredData>(std::move(*read.data)));
    AfterCommand(true);
}

void CKesto1View::OnLoadStartData() {
    LoadData(LoadEnd::Start);
}

void CKesto1View::OnLoadGoalData() {
    LoadData(LoadEnd::Goal);
}

void CKesto1View::OnUnbindData() {
    SmithChrt& sc = document->chart;
    bool changed = false;
    for (const LoadEnd end : {LoadEnd::Start, LoadEnd::Goal}) {
        if (BoundData(sc, end) == nullptr) {
            continue;
        }
        if (UnbindMeasuredData(sc, end)) {
            changed = true;
        } else {
            MessageBoxes().Warning(FromUtf8("Not unbound: " + NoValueMessage(sc, end) + "."));
        }
    }
    AfterCommand(changed);
}

bool CKesto1View::RefuseWithoutValues(const char* what) {
    for (const LoadEnd end : {LoadEnd::Start, LoadEnd::Goal}) {
        if (HasNoFiniteValueNow(document->chart, end)) {
            MessageBoxes().Warning(
                FromUtf8(std::string(what) + ": " + NoValueMessage(document->chart, end) + "."));
            return true;
        }
    }
    if (const std::string problem = DeviceGoalProblem(document->chart); !problem.empty()) {
        MessageBoxes().Warning(FromUtf8(std::string(what) + ": the goal from the device has " +
                                        "no value here: " + problem + "."));
        return true;
    }
    return false;
}

bool CKesto1View::UnbindEdited() {
    SmithChrt& sc = document->chart;
    // Asked before anything is unbound: No keeps the data and its value.
    for (const LoadEnd end : EditedEnds(sc)) {
        if (!MessageBoxes().Question(FromUtf8(UnbindQuestion(end, BoundData(sc, end)->name)))) {
            RestoreBoundValue(sc, end);
        }
    }
    return !UnbindEditedEnds(sc).empty();
}
