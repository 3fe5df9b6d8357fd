#pragma once

#include "model/geometry.h"

#include <QPrinter>

#include <functional>
#include <memory>

class QPainter;
class QPrintPreviewDialog;
class QWidget;

/// Print, Print Preview and Print Setup of the chart, over one printer that keeps the chosen
/// settings. Every page is drawn by the page drawer, the view's draw routine for printers.
class CChartPrinter {
public:
    using PageDrawer = std::function<void(QPainter&, QPrinter&)>;

    explicit CChartPrinter(PageDrawer drawPage);

    /// File > Print...: the print dialog, then the page.
    void OnFilePrint(QWidget* parent);
    /// File > Print Preview: the toolkit's preview with previewPages pages side by side.
    void OnFilePrintPreview(QWidget* parent, int previewPages);
    /// File > Print Setup...: the page set-up dialog of the printer.
    void OnFilePrintSetup(QWidget* parent);

    /// Draws the one page of the chart onto printer; false when it cannot be started.
    bool PrintPage(QPrinter& printer);
    /// The preview dialog as OnFilePrintPreview shows it.
    std::unique_ptr<QPrintPreviewDialog> CreatePreview(QWidget* parent, int previewPages);

    QPrinter& Printer() { return printer; }

private:
    PageDrawer drawPage;
    QPrinter printer;
};

/// The page's drawing area in printer device units, with its top-left corner at (0, 0).
Rect PrintRectOf(QPrinter& printer);
