#include "view/ckesto1view.h"

#include "app/dialogs/impedancedisplaydialog.h"
#include "platform/messages/messageboxes.h"
#include "view/ckesto1doc.h"
#include "view/impedanceentry.h"

#include <QDialog>
#include <QMouseEvent>
#include <QString>

#include <cmath>

namespace {

/// The pointer's client position in the pixel units the chart is drawn in. Both are Qt's
/// logical (device-independent) pixels: the paint scales the drawing by the device pixel ratio,
/// so on a high-DPI screen a click still lands on what is drawn under the pointer. Fractions
/// are truncated toward zero like every coordinate conversion.
Point ClientPoint(const QMouseEvent* event) {
    const QPointF p = event->position();
    return {TruncToInt32(p.x()), TruncToInt32(p.y())};
}

/// The numbers the impedance popup opens with for the impedance z.
void FillImpedanceDialog(CImpedanceDisplayDialog& d, const SmithChrt& sc, Complex z) {
    GammaPolar polar = sc.ZToGammaPolar(z);
    // The conversion can pass 180 degrees by a few billionths on the negative real axis; the
    // dialog accepts no more than 180 either way.
    if (polar.angle > 180.0) {
        polar.angle = 180.0;
    } else if (polar.angle < -180.0) {
        polar.angle = -180.0;
    }
    d.gammaMag = polar.magnitude;
    d.gammaAngle = polar.angle;
    d.zReal = z.re;
    d.zImag = z.im;
    d.action = 0;
}

/// Stores the popup's impedance in target after OK: the clicked impedance when nothing changed,
/// else the changed format, the polar one when both were changed.
void SettlePopupImpedance(const SmithChrt& sc, const CImpedanceDisplayDialog& d,
                          const ImpedanceEntry& shown, Complex& target) {
    const ImpedanceEntry entered{d.zReal, d.zImag, d.gammaMag, d.gammaAngle};
    const EntryChanges changes =
        CompareEntry(entered, {shown.real, shown.imag}, {shown.mag, shown.angle});
    if (!changes.rectangular && !changes.polar) {
        if (d.zReal >= 0) {
            target = {d.zReal, d.zImag};
        }
        return;
    }
    if (changes.rectangular && changes.polar) {
        MessageBoxes().Warning(QString::fromUtf8(kBothFormatsChanged));
    }
    if (changes.rectangular && d.zReal >= 0) {
        target = {d.zReal, d.zImag};
    }
    if (changes.polar) {
        target = sc.GammaPolarToZ(d.gammaMag, d.gammaAngle);
    }
}

} // namespace

void CKesto1View::OnLButtonDown(Qt::KeyboardModifiers, Qt::MouseButtons, Point point) {
    document->chart.PickComponentAt(point.x, point.y);
    AfterCommand(true);
}

void CKesto1View::OnLButtonDblClk(Qt::KeyboardModifiers, Qt::MouseButtons, Point) {
    // The press of the first click has already picked the component under the pointer.
    ExecuteCommand(ID_EDIT_COMPONENT);
}

void CKesto1View::OnRButtonDown(Qt::KeyboardModifiers, Qt::MouseButtons, Point point) {
    SmithChrt& sc = document->chart;
    const Complex z = sc.ScreenToZ(point.x, point.y);
    if (std::isnan(z.re) || z.re < 0) {
        AfterCommand(false);
        return;
    }
    CImpedanceDisplayDialog dialog(this);
    FillImpedanceDialog(dialog, sc, z);
    const ImpedanceEntry shown{dialog.zReal, dialog.zImag, dialog.gammaMag, dialog.gammaAngle};
    if (dialog.exec() == QDialog::Accepted && dialog.action != 0) {
        if (dialog.action == 1) {
            SettlePopupImpedance(sc, dialog, shown, sc.startZ);
        } else if (dialog.action == 2) {
            SettlePopupImpedance(sc, dialog, shown, sc.goalZ);
        } else {
            MessageBoxes().Warning(
                QStringLiteral("you shouldn't have gotten to this in impedancepopup"));
        }
    }
    // Adopting an impedance leaves the modified flag alone; unbinding its data does not.
    AfterCommand(UnbindEdited());
}

void CKesto1View::OnMouseMove(Qt::KeyboardModifiers, Qt::MouseButtons, Point point) {
    document->chart.pointerPos = point;
}

void CKesto1View::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(event->modifiers(), event->buttons(), ClientPoint(event));
    } else if (event->button() == Qt::RightButton) {
        OnRButtonDown(event->modifiers(), event->buttons(), ClientPoint(event));
    }
    QWidget::mousePressEvent(event);
}

void CKesto1View::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonDblClk(event->modifiers(), event->buttons(), ClientPoint(event));
    }
    // QWidget's own double-click handling would run this view's press handler a second time
    // (a second pick, or a second impedance popup); the default press handling is called
    // directly instead.
    QWidget::mousePressEvent(event);
}

void CKesto1View::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event->modifiers(), event->buttons(), ClientPoint(event));
    QWidget::mouseMoveEvent(event);
}
