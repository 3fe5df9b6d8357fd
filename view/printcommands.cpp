// Print, Print Preview and Print Setup of the chart view.
#include "chart/bandlocus.h"
#include "platform/drawing/cchartprinter.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/plot/bandplot.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"
#include "view/iviewshell.h"

#include <QPainter>
#include <QPrinter>

void CKesto1View::DrawPage(QPainter& painter, QPrinter& page) {
    printRect = PrintRectOf(page);
    if (!document->chart.band.display) {
        DrawView(painter);
        return;
    }
    // With the band on, the response plot goes below the chart, which takes its part of the
    // page by the ordinary printing rule.
    const BandPageLayout layout = LayOutBandPage(width(), height(), printRect, DotAspect(page));
    printRect = layout.chartPart;
    DrawView(painter);
    const Rect& p = layout.plot;
    RenderBandPlot(document->chart, painter,
                   QRectF(p.left, p.top, p.right - p.left, p.bottom - p.top));
}

int CKesto1View::PreviewPages() const {
    return shell != nullptr ? shell->PreviewPages() : 0;
}

void CKesto1View::OnFilePrint() {
    // The printout is a draw of its own: its messages are shown even if the window showed them.
    drawMessages.Rearm();
    printer.OnFilePrint(this);
    // The page's geometry replaced the window's; the pointer needs the window's back.
    update();
}

void CKesto1View::OnFilePrintPreview() {
    drawMessages.Rearm();
    printer.OnFilePrintPreview(this, PreviewPages());
    update();
}

void CKesto1View::OnFilePrintSetup() {
    printer.OnFilePrintSetup(this);
}
