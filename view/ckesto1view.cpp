#include "view/ckesto1view.h"

#include "design/bodefano.h"
#include "model/measuredbinding.h"
#include "platform/drawing/chartdrawview.h"
#include "view/ckesto1doc.h"
#include "view/ishellcommands.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPrinter>

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

bool CKesto1View::IsCommandEnabled(int id) const {
    const CommandRow* row = FindCommand(id);
    if (row == nullptr || row->handler == nullptr) {
        return false;
    }
    if (id == ID_UNBIND_DATA) {
        return document->chart.startData != nullptr || document->chart.goalData != nullptr;
    }
    // The framework's ids (57600 and up) belong to the shell, which may still refuse them.
    const bool shellCommand = id >= ID_FILE_NEW && !IsPrintCommand(id);
    return !shellCommand || (shell != nullptr && shell->IsShellCommandEnabled(id));
}

bool CKesto1View::IsCommandChecked(int id) const {
    const CommandRow* row = FindCommand(id);
    if (id == ID_BAND_BODE_FANO) {
        return showBodeFano;
    }
    if (id == ID_BAND_DISPLAY || id == ID_BAND_JUNCTIONS) {
        const BandSettings& band = document->chart.band;
        return id == ID_BAND_DISPLAY ? band.display : band.junctionLoci;
    }
    return row != nullptr && row->checkable && shell != nullptr && shell->IsShellCommandChecked(id);
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
    DrawViewTarget to;
    to.client = size();
    to.clipBox = clipBox.isNull() ? rect() : clipBox;
    to.printer = dynamic_cast<QPrinter*>(painter.device());
    to.printRect = printRect;
    to.clock = &clock;
    to.drawMessages = &drawMessages;
    to.devicePixelRatio = painter.device()->devicePixelRatioF();
    to.rasterCache = &rasterCache;
    ::DrawView(document->chart, painter, to);
}

void CKesto1View::Redraw() {
    drawMessages.Rearm();
    update();
}

void CKesto1View::AfterCommand(bool markModified) {
    // Every command ends here, so every change of the analysis frequency re-interpolates.
    RefreshBoundImpedances(document->chart);
    document->chart.bodeFanoLine = showBodeFano ? BodeFanoLine(document->chart) : std::string();
    if (markModified) {
        document->SetModifiedFlag(true);
    }
    Redraw();
}

void CKesto1View::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    DrawView(painter, event->rect());
    if (paintListener) {
        paintListener();
    }
}

void CKesto1View::resizeEvent(QResizeEvent*) {
    Redraw();
}

bool CKesto1View::TranslateAccelerator(QKeyEvent* event) {
    const CommandRow* row = FindAccelerator(event->key(), event->modifiers());
    if (row == nullptr) {
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

void CKesto1View::OnFileNew() {
    shell->OnFileNew();
}
void CKesto1View::OnFileOpen() {
    shell->OnFileOpen();
}
void CKesto1View::OnFileSave() {
    shell->OnFileSave();
}
void CKesto1View::OnFileSaveAs() {
    shell->OnFileSaveAs();
}
void CKesto1View::OnRecentFile(int index) {
    shell->OnOpenRecentFile(index);
}
void CKesto1View::OnRecentFile1() {
    OnRecentFile(0);
}
void CKesto1View::OnRecentFile2() {
    OnRecentFile(1);
}
void CKesto1View::OnRecentFile3() {
    OnRecentFile(2);
}
void CKesto1View::OnRecentFile4() {
    OnRecentFile(3);
}
void CKesto1View::OnAppExit() {
    shell->OnAppExit();
}
void CKesto1View::OnAppAbout() {
    shell->OnAppAbout();
}
void CKesto1View::OnViewToolbar() {
    shell->OnViewToolbar();
}
void CKesto1View::OnViewStatusBar() {
    shell->OnViewStatusBar();
}
