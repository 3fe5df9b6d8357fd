// The band response plot's panel in the main window, and the band on a printed page.
#include "chart/bandlocus.h"
#include "platform/drawing/cchartprinter.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/plot/cbandplotview.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"
#include "view/commandids.h"

#include <QApplication>
#include <QDockWidget>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

class BandPanelTest : public ShellTest {
protected:
    bool PanelShown() { return Frame().BandPlotShown(); }
    QList<QPointF> VswrPoints() { return Frame().BandPlot()->Content().VswrSeries()->points(); }
};

TEST_F(BandPanelTest, ShownTheFirstTimeTheBandIsTurnedOnThenAsTheUserLeavesIt) {
    Start();
    Frame().show();
    EXPECT_FALSE(PanelShown());
    Key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(PanelShown());
    EXPECT_TRUE(Frame().IsCommandChecked(ID_VIEW_BAND_PLOT));
    Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(PanelShown());
    EXPECT_FALSE(Frame().IsCommandChecked(ID_VIEW_BAND_PLOT));
    Key(Qt::Key_B, Qt::ControlModifier);
    Key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(Doc().chart.band.display);
    EXPECT_FALSE(PanelShown());
    // The panel never takes the keyboard from the chart.
    EXPECT_EQ(Frame().BandPlot()->focusPolicy(), Qt::NoFocus);
}

TEST_F(BandPanelTest, FollowsEveryKeyWhileTuning) {
    Start();
    Frame().show();
    Doc().chart.frequency = 435;
    Doc().chart.startZ = {12.5, -8};
    Doc().chart.AddComponent(NewInductor(PLACE_SERIES, 20, 435));
    Doc().chart.AddComponent(NewCapacitor(PLACE_SHUNT, 40, 435));
    Key(Qt::Key_B, Qt::ControlModifier);
    ASSERT_TRUE(PanelShown());
    Frame().View()->repaint();
    Settle();
    const QList<QPointF> before = VswrPoints();
    ASSERT_EQ(before.size(), kDefaultBandPoints);
    EXPECT_EQ(before.front().x(), Doc().chart.band.low);
    for (int step = 0; step < 3; ++step) {
        Key(Qt::Key_Up);
        Frame().View()->repaint();
        Settle();
        const QList<QPointF> now = VswrPoints();
        ASSERT_EQ(now.size(), kDefaultBandPoints);
        EXPECT_EQ(now[7].y(), Doc().chart.bandResult.vswr[7]);
        EXPECT_NE(now[7].y(), before[7].y());
    }
}

TEST_F(BandPanelTest, TheBandMenuCarriesTheCommandsAndTheirChecks) {
    Start();
    QMenu* band = nullptr;
    for (QAction* a : Frame().menuBar()->actions()) {
        if (a->text() == QStringLiteral("&Band")) {
            band = a->menu();
        }
    }
    ASSERT_NE(band, nullptr);
    QStringList texts;
    for (QAction* a : band->actions()) {
        texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(texts,
              (QStringList{"Show &Band\tCtrl+B", "&Junction Loci\tJ", "Band &Setup...\tShift+B",
                           "-", "&Optimise...\tO", "Snap to Standard &Values...\tShift+O",
                           "Bode-&Fano Limit\tShift+F", "-", "Response &Plot\tCtrl+Shift+B",
                           "&Lock Plot Axes\tCtrl+L"}));
    EXPECT_TRUE(band->toolTipsVisible());
    Doc().chart.band = {400, 470, 11, true, true};
    Frame().UpdateCommandUI();
    for (QAction* a : band->actions()) {
        if (a->isCheckable()) {
            EXPECT_EQ(a->isChecked(), a->text().startsWith(QStringLiteral("Show &Band")) ||
                                          a->text().startsWith(QStringLiteral("&Junction")))
                << a->text().toStdString();
        }
    }
}

// Ctrl+L locks the plot's axes: a point far above them no longer widens them; again, unlocked.
TEST_F(BandPanelTest, CtrlLLocksThePlotsAxes) {
    Start();
    Frame().show();
    Doc().chart.band = {400, 470, 11, true, false};
    Frame().ShowBandPlot(true);
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(Frame().PlotAxesLocked());
    EXPECT_TRUE(Frame().BandPlot()->Content().AxesLocked());
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(Frame().BandPlot()->Content().AxesLocked());
}

TEST_F(BandPanelTest, APrintedPageGivesTheChartItsPartAboveThePlot) {
    Start();
    Doc().chart.band = {400, 470, 21, true, false};
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    CKesto1View& view = *Frame().View();
    ASSERT_TRUE(view.printer.PrintPage(printer));
    const Rect page = PrintRectOf(printer);
    const BandPageLayout layout =
        LayOutBandPage(view.width(), view.height(), page, DotAspect(printer));
    EXPECT_EQ(view.printRect, layout.chartPart);
    Doc().chart.band.display = false;
    ASSERT_TRUE(view.printer.PrintPage(printer));
    EXPECT_EQ(view.printRect, page);
}

} // namespace
