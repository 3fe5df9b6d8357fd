// Amplifier design in the window: a two-port device loaded from a Touchstone file, its circle
// families and their steps, the goal bound to the device, and the device unbound again.
#include "view/ckesto1view.h"

#include "app/dialogs/circlestepsdialog.h"
#include "app/dialogs/devicegoaldialog.h"
#include "app/dialogs/portchoicedialog.h"
#include "model/devicebinding.h"
#include "model/touchstone.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"
#include "view/iviewshell.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <optional>
#include <string>
#include <utility>

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// The device's two ports the user picks from S-parameter data of more ports; nothing when
/// cancelled.
std::optional<std::pair<int, int>> AskDevicePorts(QWidget* parent, const std::string& fileName,
                                                  int ports) {
    CPortChoiceDialog dialog(ports, true, parent);
    dialog.label = fileName + " holds S-parameter data of " + std::to_string(ports) +
                   " ports: which two are the device's?";
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return std::make_pair(dialog.port, dialog.port2);
}

} // namespace

void CKesto1View::OnLoadDevice() {
    const QString path = shell != nullptr ? shell->AskDeviceFileName() : QString();
    if (path.isEmpty()) {
        return;
    }
    const QString fileName = QFileInfo(path).fileName();
    const std::string file = QFile::encodeName(path).toStdString();
    DeviceReadResult read = ReadTouchstoneDeviceFile(file);
    if (!read.data && read.portsNeeded) {
        const auto ports = AskDevicePorts(this, fileName.toStdString(), read.ports);
        if (!ports) {
            return;
        }
        read = ReadTouchstoneDeviceFile(file, DeviceReadOptions{0, ports->first, ports->second});
        if (read.data) {
            read.data->name += " (ports " + std::to_string(ports->first) + "," +
                               std::to_string(ports->second) + ")";
        }
    }
    const std::string problem = read.data ? CheckDeviceData(*read.data) : read.error;
    if (!problem.empty()) {
        MessageBoxes().Warning(QStringLiteral("%1: %2").arg(fileName, FromUtf8(problem)));
        return;
    }
    for (const std::string& note : read.notes) {
        MessageBoxes().Warning(QStringLiteral("%1: %2.").arg(fileName, FromUtf8(note)));
    }
    LoadDevice(document->chart, std::make_shared<const DeviceData>(std::move(*read.data)));
    AfterCommand(true);
    if (shell != nullptr) {
        shell->DeviceLoaded();
    }
}

void CKesto1View::ToggleCircles(bool& family) {
    family = !family;
    AfterCommand(true);
}

void CKesto1View::OnToggleStabilityCircles() {
    ToggleCircles(document->chart.circles.stability);
}

void CKesto1View::OnToggleAvailableGainCircles() {
    ToggleCircles(document->chart.circles.availableGain);
}

void CKesto1View::OnToggleOperatingGainCircles() {
    ToggleCircles(document->chart.circles.operatingGain);
}

void CKesto1View::OnToggleNoiseCircles() {
    ToggleCircles(document->chart.circles.noise);
}

void CKesto1View::OnCircleSteps() {
    CircleSettings& circles = document->chart.circles;
    CCircleStepsDialog dialog(this);
    dialog.availableSteps = CircleStepsText(circles.availableSteps);
    dialog.operatingSteps = CircleStepsText(circles.operatingSteps);
    dialog.noiseSteps = CircleStepsText(circles.noiseSteps);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The dialog accepts only lists that parse.
    CircleSettings changed = circles;
    changed.availableSteps = *CCircleStepsDialog::Steps(dialog.availableSteps);
    changed.operatingSteps = *CCircleStepsDialog::Steps(dialog.operatingSteps);
    changed.noiseSteps = *CCircleStepsDialog::Steps(dialog.noiseSteps);
    if (changed == circles) {
        return;
    }
    circles = changed;
    AfterCommand(true);
}

void CKesto1View::OnGoalFromDevice() {
    SmithChrt& sc = document->chart;
    CDeviceGoalDialog dialog(this);
    dialog.label = "Device " + sc.device->name;
    dialog.goal = sc.deviceGoal > 0 ? sc.deviceGoal - 1 : 0;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const int32_t goal = dialog.goal + 1;
    if (goal == sc.deviceGoal) {
        return;
    }
    BindGoalToDevice(sc, static_cast<DeviceGoal>(goal));
    AfterCommand(true);
}

void CKesto1View::OnUnbindDevice() {
    UnloadDevice(document->chart);
    AfterCommand(true);
}
