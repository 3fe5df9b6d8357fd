#include "chart/chartgeometry.h"
#include "platform/drawing/cchartprinter.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/messages/messageboxes.h"
#include "tests/support/idleshell.h"
#include "tests/support/recordingboxes.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A shell that only gives the preview page count.
class PreviewShell : public IdleShell {
public:
    int PreviewPages() const override { return pages; }
    int pages = 0;
};

bool IsWhite(QRgb c) {
    return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255;
}

/// Counts the pixels of a band of rows that satisfy pred.
int CountPixels(const QImage& image, int top, int bottom, int right,
                const std::function<bool(QRgb)>& pred) {
    int n = 0;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y) {
        for (int x = 0; x < std::min(right, image.width()); ++x) {
            n += pred(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

/// Runs check on the next modal dialog, then closes it; a guard closes any dialog left open.
void OnNextModal(const std::function<void(QWidget*)>& check, bool accept = false) {
    QTimer::singleShot(0, [check, accept] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        check(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            accept ? dialog->accept() : dialog->reject();
        }
    });
    QTimer::singleShot(5000, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
}

class PaintTest : public ::testing::Test {
protected:
    PaintTest() : scopedBoxes(boxes), view(doc) {
        doc.chart.ResetForNewDocument();
        view.SetShell(&shell);
        view.resize(800, 400);
        view.show();
        QApplication::processEvents();
        boxes.warnings.clear();
    }

    /// Renders the view as a paint does and lets the deferred messages come up.
    QImage Paint() {
        QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QApplication::processEvents();
        return image;
    }

    void AddSeriesCapacitor(double pf) {
        Component c = NewCapacitor(PLACE_SERIES, 50, 1000);
        c.capacitance = pf;
        doc.chart.AddComponent(c);
    }

    void AddBadComponent() {
        Component c = NewResistor(PLACE_SERIES, 50);
        c.kind = 99;
        doc.chart.AddComponent(c);
    }

    RecordingBoxes boxes;
    ScopedMessageBoxes scopedBoxes;
    CKesto1Doc doc;
    PreviewShell shell;
    CKesto1View view;
};

TEST_F(PaintTest, PaintEvaluatesTheDocumentInWindowPixels) {
    AddSeriesCapacitor(10);
    doc.chart.endZ = Complex{0, 0};
    Paint();
    EXPECT_EQ(doc.chart.clientRect, (Rect{0, 0, 800, -400}));
    EXPECT_EQ(doc.chart.chartCentre, (Point{610, -200}));
    EXPECT_DOUBLE_EQ(doc.chart.chartRadius, 190.0);
    // 50 ohm in series with 10 pF at 1000 MHz.
    EXPECT_NEAR(doc.chart.endZ.re, 50.0, 1e-9);
    EXPECT_NEAR(doc.chart.endZ.im, -15.915494, 1e-5);
    // The pick anchor halfway along the trace, from the centre (50 ohm) to the end.
    const Point end = doc.chart.ZToScreen(doc.chart.endZ);
    EXPECT_EQ(end, (Point{614, -229}));
    EXPECT_EQ(doc.chart.tracePoints[0], (Point{(610 + end.x) / 2, (-200 + end.y) / 2}));
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(PaintTest, ReadoutIsWrittenLeftOfTheChart) {
    AddSeriesCapacitor(10);
    const QImage image = Paint();
    const int line = doc.chart.lineHeight;
    ASSERT_GT(line, 5);
    auto dark = [](QRgb c) { return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128; };
    auto blue = [](QRgb c) { return qBlue(c) > 200 && qRed(c) < 100 && qGreen(c) < 100; };
    // Header lines in black, the active component's line in blue, then the closing lines.
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(CountPixels(image, i * line, (i + 1) * line, 400, dark), 20) << i;
    }
    EXPECT_GT(CountPixels(image, 3 * line, 4 * line, 400, blue), 20);
    EXPECT_EQ(CountPixels(image, 4 * line, 7 * line, 400, blue), 0);
    EXPECT_GT(CountPixels(image, 4 * line, 7 * line, 400, dark), 20);
    // Below the text, left of the chart, the window stays white.
    EXPECT_EQ(CountPixels(image, 9 * line, 400, 380, [](QRgb c) { return !IsWhite(c); }), 0);
    // The chart's rim passes through the left end of its horizontal axis.
    EXPECT_FALSE(IsWhite(image.pixel(610 - 190, 200)));
}

TEST_F(PaintTest, DeviceRatioTwoDrawsTheSameAnchorsSharper) {
    AddSeriesCapacitor(10);
    doc.chart.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    doc.chart.textMarkers = 1;
    QImage plain(800, 400, QImage::Format_RGB32);
    {
        QPainter p(&plain);
        view.DrawView(p);
    }
    const SmithChrt once = doc.chart;
    QImage sharp(1600, 800, QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2.0);
    {
        QPainter p(&sharp);
        view.DrawView(p);
    }
    EXPECT_EQ(doc.chart.clientRect, once.clientRect);
    EXPECT_EQ(doc.chart.chartCentre, once.chartCentre);
    EXPECT_EQ(doc.chart.chartRadius, once.chartRadius);
    EXPECT_EQ(doc.chart.tracePoints, once.tracePoints);
    EXPECT_EQ(doc.chart.labelPoints, once.labelPoints);
    // The whole image is drawn, at twice the pixels: the rim's left end lies at (2 x 420, 400).
    EXPECT_TRUE(IsWhite(sharp.pixel(1599, 799)));
    int inked = 0;
    for (int dx = -2; dx <= 2; ++dx) {
        inked += IsWhite(sharp.pixel(2 * 420 + dx, 400)) ? 0 : 1;
    }
    EXPECT_GT(inked, 0);
}

TEST_F(PaintTest, DrawMessagesShownOnceEachAfterThePaint) {
    AddBadComponent();
    boxes.onWarning = [&] {
        // The box covers the view; closing it repaints, which raises the messages again.
        view.repaint();
    };
    view.grab();
    EXPECT_TRUE(boxes.warnings.isEmpty()); // nothing from inside the paint
    QApplication::processEvents();
    const QStringList once{QStringLiteral("default case in plotcomponents type checking"),
                           QStringLiteral("problem plotting components")};
    EXPECT_EQ(boxes.warnings, once);
    // Repaints that nothing but the boxes caused show nothing again.
    Paint();
    view.update();
    QApplication::processEvents();
    EXPECT_EQ(boxes.warnings, once);
    // A redraw of the view's own (a command, a document, a resize) shows them again, once each.
    view.Redraw();
    Paint();
    EXPECT_EQ(boxes.warnings, once + once);
    view.resize(600, 300);
    Paint();
    EXPECT_EQ(boxes.warnings, once + once + once);
}

TEST_F(PaintTest, PrintsToPdfThroughTheDrawRoutine) {
    QTemporaryDir dir;
    AddSeriesCapacitor(10);
    QPrinter& printer = view.printer.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("chart.pdf"));
    ASSERT_TRUE(view.printer.PrintPage(printer));
    EXPECT_GT(QFileInfo(dir.filePath("chart.pdf")).size(), 1000);
    EXPECT_EQ(view.printRect, PrintRectOf(printer));
    // The page's part with the window's proportions (800 x 400), in printer dots.
    EXPECT_EQ(doc.chart.clientRect,
              DeviceToLogical(ApplyPrintingRule(800, 400, view.printRect, DotAspect(printer))));
    EXPECT_GT(doc.chart.chartRadius, 1000.0);
    EXPECT_NEAR(doc.chart.endZ.im, -15.915494, 1e-5);
    // The next window paint puts the window's geometry back.
    Paint();
    EXPECT_EQ(doc.chart.chartCentre, (Point{610, -200}));
}

TEST_F(PaintTest, CtrlPOpensThePrintDialog) {
    QTemporaryDir dir;
    QPrinter& printer = view.printer.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("cancelled.pdf"));
    bool sawDialog = false;
    OnNextModal([&](QWidget* w) { sawDialog = qobject_cast<QPrintDialog*>(w) != nullptr; });
    QTest::keyClick(&view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(sawDialog);
    // Cancelled: nothing printed.
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("cancelled.pdf")));
}

TEST_F(PaintTest, CtrlPPrintsWhenTheDialogIsAccepted) {
    QTemporaryDir dir;
    AddSeriesCapacitor(10);
    QPrinter& printer = view.printer.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    OnNextModal([](QWidget*) {}, true);
    QTest::keyClick(&view, Qt::Key_P, Qt::ControlModifier);
    EXPECT_GT(QFileInfo(dir.filePath("printed.pdf")).size(), 1000);
    EXPECT_GT(doc.chart.chartRadius, 1000.0); // the page's geometry, until the next paint
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(doc.chart.chartRadius, 190.0);
}

TEST_F(PaintTest, PrintCommandsRunWithoutAShell) {
    view.SetShell(nullptr);
    EXPECT_TRUE(view.IsCommandEnabled(ID_FILE_PRINT));
    EXPECT_TRUE(view.IsCommandEnabled(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(view.IsCommandEnabled(ID_FILE_PRINT_SETUP));
    bool sawPreview = false;
    OnNextModal([&](QWidget* w) { sawPreview = qobject_cast<QPrintPreviewDialog*>(w) != nullptr; });
    EXPECT_TRUE(view.ExecuteCommand(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(sawPreview);
}

// The preview shows the page count the settings give, and draws its page through DrawView.
class PreviewPagesTest : public PaintTest, public ::testing::WithParamInterface<int> {};

TEST_P(PreviewPagesTest, PreviewUsesThePageCount) {
    shell.pages = GetParam();
    AddBadComponent();
    QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::FacingPagesView;
    int pages = -1;
    Rect pageRect;
    OnNextModal([&](QWidget* w) {
        auto* preview = w->findChild<QPrintPreviewWidget*>();
        if (preview == nullptr) {
            return;
        }
        mode = preview->viewMode();
        preview->updatePreview();
        pages = preview->pageCount();
        pageRect = doc.chart.clientRect;
    });
    view.ExecuteCommand(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(mode, GetParam() >= 2 ? QPrintPreviewWidget::AllPagesView
                                    : QPrintPreviewWidget::SinglePageView);
    EXPECT_EQ(pages, 1);
    EXPECT_GT(pageRect.right, 1000); // a page in printer dots, not the window
    QApplication::processEvents();
    // The page's messages are shown once, however often the preview redrew the page.
    EXPECT_EQ(boxes.warnings.count(QStringLiteral("problem plotting components")), 1);
    EXPECT_EQ(boxes.warnings.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Pages, PreviewPagesTest, ::testing::Values(0, 1, 2));

} // namespace
