#include "platform/drawing/cchartprinter.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include <utility>

CChartPrinter::CChartPrinter(PageDrawer drawPage)
    : drawPage(std::move(drawPage)), printer(QPrinter::HighResolution) {}

bool CChartPrinter::PrintPage(QPrinter& target) {
    QPainter painter;
    if (!painter.begin(&target)) {
        return false;
    }
    drawPage(painter, target);
    painter.end();
    return true;
}

void CChartPrinter::OnFilePrint(QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() == QDialog::Accepted) {
        PrintPage(printer);
    }
}

std::unique_ptr<QPrintPreviewDialog> CChartPrinter::CreatePreview(QWidget* parent,
                                                                  int previewPages) {
    auto dialog = std::make_unique<QPrintPreviewDialog>(&printer, parent);
    QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
                     [this](QPrinter* p) { PrintPage(*p); });
    if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
        preview->setViewMode(previewPages >= 2 ? QPrintPreviewWidget::AllPagesView
                                               : QPrintPreviewWidget::SinglePageView);
    }
    return dialog;
}

void CChartPrinter::OnFilePrintPreview(QWidget* parent, int previewPages) {
    CreatePreview(parent, previewPages)->exec();
}

void CChartPrinter::OnFilePrintSetup(QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
}

Rect PrintRectOf(QPrinter& printer) {
    const QRect r = printer.pageLayout().paintRectPixels(printer.resolution());
    return {0, 0, r.width(), r.height()};
}
