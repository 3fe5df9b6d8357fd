#include "chart/chartgeometry.h"
#include "model/smithchrt.h"
#include "platform/drawing/cchartprinter.h"
#include "platform/drawing/cdrawmessages.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/clocaledatetime.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct PrintedChart {
    SmithChrt sc;
    QSize client{800, 400};
    Rect printRect;
    int pages = 0;
    FixedDateTimeText clock{std::string("now")};
    CChartPrinter printer{[this](QPainter& p, QPrinter& pr) {
        ++pages;
        printRect = PrintRectOf(pr);
        DrawChartOnPage(sc, p, pr, client, printRect, clock, nullptr);
    }};
};

void ToPdf(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

// The pen widths a draw used, as an SVG drawing of it records them.
std::set<double> PenWidths(const std::function<void(QPainter&)>& draw) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    {
        QPainter painter(&svg);
        draw(painter);
    }
    std::set<double> widths;
    static const QRegularExpression kWidth(QStringLiteral("stroke-width=\"([0-9.]+)\""));
    auto it = kWidth.globalMatch(QString::fromUtf8(buffer.data()));
    while (it.hasNext()) {
        widths.insert(it.next().captured(1).toDouble());
    }
    return widths;
}

TEST(Printing, PensCoverOnPaperWhatTheyCoverOnScreen) {
    SmithChrt sc;
    sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    sc.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    sc.showVswrCircles = 1;
    sc.showQArcs = 1;
    FixedDateTimeText clock(std::nullopt);
    const QSize client(800, 400);
    const std::set<double> screen =
        PenWidths([&](QPainter& p) { DrawChartAsVectors(sc, p, client, clock, nullptr); });
    // Grid, rim, markers and circles, active trace.
    EXPECT_EQ(screen, (std::set<double>{1, 2, 3, 5}));

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, dir.filePath("chart.pdf"));
    printer.setResolution(600);
    ASSERT_EQ(printer.logicalDpiX(), 600);
    const std::set<double> paper = PenWidths([&](QPainter& p) {
        DrawChartOnPage(sc, p, printer, client, PrintRectOf(printer), clock, nullptr);
    });
    // 600 dots per inch are 6.25 dots for each pixel of a 96-dpi screen; the text's own pen
    // (width 1) stays.
    EXPECT_EQ(paper, (std::set<double>{1, 6.25, 12.5, 18.75, 31.25}));
}

TEST(Printing, PageUsesThePartWithTheWindowsProportions) {
    QTemporaryDir dir;
    PrintedChart c;
    c.sc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    ToPdf(c.printer.Printer(), dir.filePath("chart.pdf"));
    ASSERT_TRUE(c.printer.PrintPage(c.printer.Printer()));
    EXPECT_GT(QFileInfo(dir.filePath("chart.pdf")).size(), 1000);
    const Rect page = c.printRect;
    ASSERT_GT(page.right, 800);
    // A portrait page: the full width, half of it as height.
    EXPECT_EQ(c.sc.clientRect, DeviceToLogical(ApplyPrintingRule(800, 400, page, 1.0)));
    EXPECT_EQ(c.sc.clientRect.right, page.right);
    EXPECT_EQ(-c.sc.clientRect.bottom, page.right / 2);
    EXPECT_GT(c.sc.lineHeight, 16); // the printer's font in printer dots
}

TEST(Printing, EmptyWindowPrintsOnTheWholePage) {
    QTemporaryDir dir;
    PrintedChart c;
    c.client = QSize(0, 0);
    ToPdf(c.printer.Printer(), dir.filePath("empty.pdf"));
    ASSERT_TRUE(c.printer.PrintPage(c.printer.Printer()));
    EXPECT_EQ(c.sc.clientRect, DeviceToLogical(c.printRect));
}

TEST(Printing, PreviewShowsTheChosenNumberOfPages) {
    PrintedChart c;
    auto two = c.printer.CreatePreview(nullptr, 2);
    auto* preview = two->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->viewMode(), QPrintPreviewWidget::AllPagesView);
    preview->updatePreview();
    EXPECT_GE(c.pages, 1);
    EXPECT_EQ(preview->pageCount(), 1);
    auto one = c.printer.CreatePreview(nullptr, 1);
    EXPECT_EQ(one->findChild<QPrintPreviewWidget*>()->viewMode(),
              QPrintPreviewWidget::SinglePageView);
}

TEST(DrawMessages, ShownAfterThePaintOnceEach) {
    std::vector<std::string> boxes;
    CDrawMessages messages([&](const std::string& t) { boxes.push_back(t); });
    SmithChrt sc;
    Component bad = NewCapacitor(PLACE_SERIES, 50, 1000);
    bad.placement = 9;
    sc.AddComponent(bad);
    FixedDateTimeText clock(std::string("now"));
    QImage window(400, 300, QImage::Format_RGB32);
    auto paint = [&] {
        QPainter p(&window);
        DrawChartOnWindow(sc, p, window.size(), window.rect(), clock, &messages, 1.0);
    };
    paint();
    EXPECT_TRUE(boxes.empty()); // nothing inside the paint
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes,
              (std::vector<std::string>{"AddImpedancePercent -- you never should have gotten here!",
                                        "You never should have reached this point!"}));
    // The repaint after the boxes closed shows nothing again.
    paint();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 2u);
    // A command's redraw does.
    messages.Rearm();
    paint();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.size(), 4u);
}

TEST(DrawMessages, RepaintsWhileABoxIsOpenAddOnlyNewMessages) {
    std::vector<std::string> boxes;
    CDrawMessages* self = nullptr;
    CDrawMessages messages([&](const std::string& t) {
        boxes.push_back(t);
        // A repaint behind the open box raises the same message and one more.
        self->Report(t);
        self->Report("problem plotting components");
        self->ShowPending();
    });
    self = &messages;
    messages.Report("default case in plotcomponents type checking");
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes, (std::vector<std::string>{"default case in plotcomponents type checking",
                                               "problem plotting components"}));
    EXPECT_FALSE(messages.HasPending());
}

TEST(LocaleDateTime, GivesDateAndTime) {
    CLocaleDateTime clock;
    const auto text = clock.Now();
    ASSERT_TRUE(text.has_value());
    EXPECT_FALSE(text->empty());
}

} // namespace
