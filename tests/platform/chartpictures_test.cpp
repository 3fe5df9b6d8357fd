#include "chartdrawview.h"
#include "chartpictures.h"
#include "datetimetext.h"
#include "smithchrt.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

SmithChrt OneCapacitor() {
    SmithChrt doc;
    doc.AddComponent(NewCapacitor(PLACE_SERIES, 50, 1000));
    return doc;
}

TEST(ChartPictures, PngIsTheWindowsDrawPixelForPixel) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.png"));
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    const SmithChrt doc = OneCapacitor();
    ASSERT_TRUE(WriteChartPicture(doc, QSize(640, 360), path, PictureFormat::Png, clock));

    QImage window(640, 360, QImage::Format_RGB32);
    {
        QPainter painter(&window);
        SmithChrt drawn = doc;
        DrawViewOnWindow(drawn, painter, window.size(), window.rect(), clock, nullptr, 1.0);
    }
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), window);
}

// A picture of more than a huge page's worth of pixels is made on its own pages.
TEST(ChartPictures, LargePngIsTheWindowsDrawToo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.png"));
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    const SmithChrt doc = OneCapacitor();
    const QSize size(1280, 720);
    ASSERT_TRUE(WriteChartPicture(doc, size, path, PictureFormat::Png, clock));
    QImage window(size, QImage::Format_RGB32);
    {
        QPainter painter(&window);
        SmithChrt drawn = doc;
        DrawViewOnWindow(drawn, painter, size, window.rect(), clock, nullptr, 1.0);
    }
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), window);
}

TEST(ChartPictures, UnwritableFileIsAFailureAndLeavesNothing) {
    QTemporaryDir dir;
    FixedDateTimeText clock(std::nullopt);
    for (const PictureFormat format :
         {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
        EXPECT_FALSE(WriteChartPicture(OneCapacitor(), QSize(100, 100),
                                       dir.filePath(QStringLiteral("missing/chart")), format,
                                       clock));
    }
    // A picture that cannot be made is refused too, and the file is not left behind.
    const QString empty = dir.filePath(QStringLiteral("empty.png"));
    EXPECT_FALSE(WriteChartPicture(OneCapacitor(), QSize(0, 0), empty, PictureFormat::Png, clock));
    EXPECT_FALSE(QFile::exists(empty));
}

} // namespace
