#include "platform/drawing/chartdrawview.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace {

TEST_F(ShellTest, ExportWritesTheChartAsTheViewShowsIt) {
    Start();
    CKesto1View& view = *Frame().View();
    const QSize client = view.size();
    ASSERT_GT(client.height(), 100);
    Doc().chart.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    dialogs.exportNames = {Path(QStringLiteral("chart.png")), Path(QStringLiteral("chart.svg"))};
    QTest::keyClick(&view, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(dialogs.exportSuggestions, QStringList{QStringLiteral("Untitled.png")});
    const QImage png(Path(QStringLiteral("chart.png")));
    ASSERT_EQ(png.size(), client);
    // The window's own draw of the same client area, but for the clock in the header line.
    QImage window(png.size(), QImage::Format_RGB32);
    {
        QPainter painter(&window);
        SmithChrt drawn = Doc().chart;
        FixedDateTimeText noClock(std::nullopt);
        DrawChartOnWindow(drawn, painter, window.size(), window.rect(), noClock, nullptr, 1.0);
    }
    const QRect belowHeader(0, 60, client.width(), client.height() - 60);
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32).copy(belowHeader),
              window.copy(belowHeader));

    ASSERT_TRUE(view.ExecuteCommand(ID_FILE_EXPORT_CHART));
    EXPECT_TRUE(QSvgRenderer(Path(QStringLiteral("chart.svg"))).isValid());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(ShellTest, ExportThatCannotWriteSaysSoAndCancelDoesNothing) {
    Start();
    dialogs.exportNames = {Path(QStringLiteral("missing/chart.pdf"))};
    ASSERT_TRUE(Frame().View()->ExecuteCommand(ID_FILE_EXPORT_CHART));
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to export the chart to %1.")
                                              .arg(Path(QStringLiteral("missing/chart.pdf")))});
    boxes.warnings.clear();
    // No name: the user cancelled.
    ASSERT_TRUE(Frame().View()->ExecuteCommand(ID_FILE_EXPORT_CHART));
    EXPECT_TRUE(boxes.warnings.isEmpty());
    // A saved document suggests its own name beside it.
    ASSERT_TRUE(app->OpenDocumentFile(WriteDocumentFile(QStringLiteral("amp.qbl"), "T")));
    Frame().View()->ExecuteCommand(ID_FILE_EXPORT_CHART);
    EXPECT_EQ(dialogs.exportSuggestions.last(), Path(QStringLiteral("amp.png")));
}

} // namespace
