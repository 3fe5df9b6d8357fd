#include "view/ckesto1view.h"

#include "design/bodefano.h"
#include "model/measuredbinding.h"
#include "platform/drawing/chartdrawview.h"
#include "view/ckesto1doc.h"
#include "view/iviewshell.h"

#include <QBackingStore>
#include <QKeyEvent>
#include <QMetaObject>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QWindow>

CKesto1View::CKesto1View(CKesto1Doc& doc, QWidget* parent) : QWidget(parent), document(&doc) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The picture does not depend on focus or window activation, so neither repaints the view:
    // a dialog that closes without a change leaves the chart as it was.
    QPalette colours = palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        colours.setBrush(QPalette::Inactive, r, colours.brush(QPalette::Active, r));
    }
    setPalette(colours);
}

void CKesto1View::focusInEvent(QFocusEvent*) {}

void CKesto1View::focusOutEvent(QFocusEvent*) {}

namespace {

// The row of one of the view's own commands, or nullptr.
const CommandRow* FindViewCommand(int id) {
    const CommandRow* row = FindCommand(id);
    return row != nullptr && row->owner == CommandOwner::View ? row : nullptr;
}

// The commands that act on a loaded device.
bool NeedsDevice(int id) {
    switch (id) {
    case ID_DEVICE_STABILITY_CIRCLES:
    case ID_DEVICE_AVAILABLE_GAIN_CIRCLES:
    case ID_DEVICE_OPERATING_GAIN_CIRCLES:
    case ID_DEVICE_NOISE_CIRCLES:
    case ID_DEVICE_CIRCLE_STEPS:
    case ID_DEVICE_GOAL:
    case ID_UNBIND_DEVICE:
        return true;
    default:
        return false;
    }
}

// Whether a circle toggle's family is shown: on while a device is loaded.
bool CircleFamilyShown(const SmithChrt& sc, int id) {
    const CircleSettings& c = sc.circles;
    const bool on = id == ID_DEVICE_STABILITY_CIRCLES        ? c.stability
                    : id == ID_DEVICE_AVAILABLE_GAIN_CIRCLES ? c.availableGain
                    : id == ID_DEVICE_OPERATING_GAIN_CIRCLES
                        ? c.operatingGain
                        : id == ID_DEVICE_NOISE_CIRCLES && c.noise;
    return on && sc.device != nullptr;
}

} // namespace

bool CKesto1View::IsCommandEnabled(int id) const {
    const CommandRow* row = FindViewCommand(id);
    if (row == nullptr || row->handler == nullptr) {
        return false;
    }
    if (id == ID_UNBIND_DATA) {
        return document->chart.startData != nullptr || document->chart.goalData != nullptr;
    }
    if (NeedsDevice(id)) {
        return document->chart.device != nullptr;
    }
    return true;
}

bool CKesto1View::IsCommandChecked(int id) const {
    if (id == ID_BAND_BODE_FANO) {
        return showBodeFano;
    }
    if (NeedsDevice(id)) {
        return CircleFamilyShown(document->chart, id);
    }
    const BandSettings& band = document->chart.band;
    return id == ID_BAND_DISPLAY ? band.display : id == ID_BAND_JUNCTIONS && band.junctionLoci;
}

bool CKesto1View::ExecuteCommand(int id) {
    if (!IsCommandEnabled(id)) {
        return false;
    }
    (this->*(FindCommand(id)->handler))();
    return true;
}

void CKesto1View::DrawView(QPainter& painter, const QRect& clipBox) {
    // Drawing units are the widget's own pixels, the units of its mouse events, at any device
    // pixel ratio; the painter's device uses the ratio only for sharpness.
    if (auto* printer = dynamic_cast<QPrinter*>(painter.device())) {
        DrawChartOnPage(document->chart, painter, *printer, size(), printRect, clock,
                        &drawMessages);
        return;
    }
    DrawChartOnWindow(document->chart, painter, size(), clipBox.isNull() ? rect() : clipBox, clock,
                      &drawMessages, painter.device()->devicePixelRatioF(), &rasterCache);
}

void CKesto1View::Redraw() {
    drawMessages.Rearm();
    // Shown at the event loop's next turn, as update() shows it, once for any number of changes.
    if (!showPending) {
        showPending = true;
        QMetaObject::invokeMethod(this, &CKesto1View::ShowChange, Qt::QueuedConnection);
    }
}

void CKesto1View::ShowChange() {
    showPending = false;
    if (!PaintAtOnce()) {
        update();
    }
}

bool CKesto1View::PaintAtOnce() {
    QWidget* top = window();
    QBackingStore* store = top->backingStore();
    if (painting || !isVisible() || !updatesEnabled() || store == nullptr ||
        top->windowHandle() == nullptr || !top->windowHandle()->isExposed()) {
        return false;
    }
    const QPoint offset = mapTo(top, QPoint(0, 0));
    const QRect area(offset, size());
    if (!QRect(QPoint(0, 0), store->size()).contains(area)) {
        return false; // the store is yet to follow a resize
    }
    // Nothing else in the window may lie over the view (its pixels are the view's alone), and
    // the window may hold no widget that Qt composes from a texture as it flushes.
    for (const QWidget* other : top->findChildren<QWidget*>()) {
        if (other->window() != top) {
            continue; // in a window of its own
        }
        if (other->inherits("QOpenGLWidget") || other->inherits("QQuickWidget") ||
            other->inherits("QRhiWidget")) {
            return false;
        }
        if (other != this && other->isVisible() && !other->isAncestorOf(this) &&
            !isAncestorOf(other) &&
            QRect(other->mapTo(top, QPoint(0, 0)), other->size()).intersects(area)) {
            return false;
        }
    }
    store->beginPaint(area);
    {
        QPainter painter(store->paintDevice());
        render(&painter, offset, QRegion(rect()), QWidget::DrawChildren);
    }
    store->endPaint();
    const QRegion written = rasterCache.LastWritten();
    store->flush(written.isEmpty() ? QRegion(area) : written.translated(offset) & area,
                 top->windowHandle());
    return true;
}

void CKesto1View::AfterCommand(bool markModified) {
    // Every command ends here, so every change of the analysis frequency re-interpolates.
    RefreshBoundImpedances(document->chart);
    ShowBodeFano(document->chart, showBodeFano);
    if (markModified) {
        document->SetModifiedFlag(true);
    }
    Redraw();
}

void CKesto1View::paintEvent(QPaintEvent* event) {
    const QScopedValueRollback<bool> inPaint(painting, true);
    QPainter painter(this);
    DrawView(painter, event->rect());
    if (paintListener) {
        paintListener();
    }
}

void CKesto1View::resizeEvent(QResizeEvent*) {
    // The window's backing store follows the new size in Qt's own repaint.
    drawMessages.Rearm();
    update();
}

bool CKesto1View::TranslateAccelerator(QKeyEvent* event) {
    const CommandRow* row = FindAccelerator(event->key(), event->modifiers());
    if (row == nullptr || row->owner != CommandOwner::View) {
        return false;
    }
    event->accept();
    ExecuteCommand(row->id);
    return true;
}

void CKesto1View::keyPressEvent(QKeyEvent* event) {
    if (!TranslateAccelerator(event)) {
        QWidget::keyPressEvent(event);
    }
}
