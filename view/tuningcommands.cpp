// Tuning and stepping: the active component's value, the analysis frequency and the chart Z0
// by the tuning percentage, the stored frequencies F1 to F3, the display toggles and the wheel.

#include "view/ckesto1view.h"

#include "model/component.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"

#include <QString>
#include <QWheelEvent>

#include <algorithm>

namespace {

/// Turns the tuning percentage into a fraction.
constexpr double TUNE_STEP_SCALE = 0.01;

/// The most steps that one wheel event can make.
constexpr int kMaxWheelSteps = 20;

} // namespace

double CKesto1View::StepFactor(bool up) const {
    const double step = document->chart.tunePercent * TUNE_STEP_SCALE;
    return up ? 1 + step : 1 - step;
}

void CKesto1View::StepActiveValue(double factor) {
    if (document->chart.componentCount < 1) {
        return;
    }
    Component* active = ActiveComponent();
    if (active != nullptr) {
        TunableLookup status = TunableLookup::Found;
        double* field = TunableField(*active, status);
        if (field != nullptr) {
            *field *= factor;
        } else if (status == TunableLookup::ScrewyTunedElement) {
            MessageBoxes().Warning(QStringLiteral("Screwy tunable value"));
        } else {
            MessageBoxes().Warning(QStringLiteral("Problematic component type for tuning"));
        }
    }
    AfterCommand();
}

void CKesto1View::OnValueUp() {
    StepActiveValue(StepFactor(true));
}

void CKesto1View::OnValueDown() {
    StepActiveValue(StepFactor(false));
}

void CKesto1View::OnFrequencyUp() {
    document->chart.frequency *= StepFactor(true);
    AfterCommand();
}

void CKesto1View::OnFrequencyDown() {
    document->chart.frequency *= StepFactor(false);
    AfterCommand();
}

void CKesto1View::OnZ0Up() {
    document->chart.chartZ0.re *= StepFactor(true);
    AfterCommand();
}

void CKesto1View::OnZ0Down() {
    document->chart.chartZ0.re *= StepFactor(false);
    AfterCommand();
}

void CKesto1View::RecallFrequency(double stored) {
    document->chart.frequency = stored;
    AfterCommand();
}

void CKesto1View::OnRecallF1() {
    RecallFrequency(document->chart.f1Freq);
}

void CKesto1View::OnRecallF2() {
    RecallFrequency(document->chart.f2Freq);
}

void CKesto1View::OnRecallF3() {
    RecallFrequency(document->chart.f3Freq);
}

void CKesto1View::ToggleFlag(int32_t& flag) {
    // Anything but 1 (a file may hold any number) counts as off.
    flag = flag == 1 ? 0 : 1;
    AfterCommand();
}

void CKesto1View::OnToggleMarkers() {
    ToggleFlag(document->chart.textMarkers);
}

void CKesto1View::OnToggleGamma() {
    ToggleFlag(document->chart.gammaMode);
}

void CKesto1View::OnToggleAdmittance() {
    ToggleFlag(document->chart.showAdmittance);
}

void CKesto1View::OnToggleQArcs() {
    ToggleFlag(document->chart.showQArcs);
}

void CKesto1View::OnToggleVswr() {
    document->chart.showVswrCircles = !document->chart.showVswrCircles;
    AfterCommand();
}

void CKesto1View::OnMouseWheel(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                               int delta) {
    // Only Shift and Ctrl take part, as in the key-state flags of a wheel message; any mouse
    // button held makes it a value step.
    const Qt::KeyboardModifiers keys = modifiers & (Qt::ShiftModifier | Qt::ControlModifier);
    const bool noButton = buttons == Qt::NoButton;
    const bool up = delta > 1;
    using Step = void (CKesto1View::*)();
    Step step = up ? &CKesto1View::OnValueUp : &CKesto1View::OnValueDown;
    if (noButton && keys == Qt::ShiftModifier) {
        step = up ? &CKesto1View::OnZ0Up : &CKesto1View::OnZ0Down;
    } else if (noButton && keys == Qt::ControlModifier) {
        step = up ? &CKesto1View::OnFrequencyUp : &CKesto1View::OnFrequencyDown;
    }
    (this->*step)();
    // Also when the value step found no component.
    document->SetModifiedFlag(true);
}

void CKesto1View::wheelEvent(QWheelEvent* event) {
    event->accept();
    // No wheel turns more than a few notches between two events; a larger delta is cut down so
    // that one event can never run an endless string of steps.
    const int delta = std::clamp(event->angleDelta().y(), -kMaxWheelSteps * kWheelNotch,
                                 kMaxWheelSteps * kWheelNotch);
    if (delta == 0) {
        return; // horizontal movement only
    }
    // Touchpads and high-resolution wheels send fractions of a notch: they are added up, and a
    // turn the other way starts afresh, so that it steps as soon as it makes a notch of its own.
    if ((delta > 0) != (wheelRemainder > 0) && wheelRemainder != 0) {
        wheelRemainder = 0;
    }
    wheelRemainder += delta;
    while (wheelRemainder >= kWheelNotch || wheelRemainder <= -kWheelNotch) {
        const int notch = wheelRemainder > 0 ? kWheelNotch : -kWheelNotch;
        wheelRemainder -= notch;
        OnMouseWheel(event->modifiers(), event->buttons(), notch);
    }
}
