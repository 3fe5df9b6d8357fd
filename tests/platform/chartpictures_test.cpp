#include "chart/datetimetext.h"
#include "model/smithchrt.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/chartpictures.h"
#include "platform/drawing/pngpicture.h"

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
        DrawChartOnWindow(drawn, painter, window.size(), window.rect(), clock, nullptr, 1.0);
    }
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), window);
}

// A large picture is drawn on memory mapped for it, not on the heap.
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
        DrawChartOnWindow(drawn, painter, size, window.rect(), clock, nullptr, 1.0);
    }
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), window);
}

// Pictures written one after another share the memory they are drawn on, which grows for a
// larger picture (on huge pages from 2 MiB on), and never shows what an earlier one drew.
TEST(ChartPictures, PngsOneAfterAnotherKeepTheirOwnPixels) {
    QTemporaryDir dir;
    FixedDateTimeText clock(std::string("07.12.2026 23:59"));
    SmithChrt three = OneCapacitor();
    three.AddComponent(NewInductor(PLACE_SHUNT, 20, 1000));
    three.AddComponent(NewCapacitor(PLACE_SERIES, 5, 1000));
    const struct {
        QSize size;
        SmithChrt doc;
    } pictures[] = {
        {{1280, 720}, three},         {{640, 360}, OneCapacitor()}, {{1920, 1080}, three},
        {{801, 449}, OneCapacitor()}, {{3840, 2160}, three},        {{97, 61}, three},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.size.width());
        const QString path = dir.filePath(QStringLiteral("chart.png"));
        ASSERT_TRUE(WriteChartPicture(p.doc, p.size, path, PictureFormat::Png, clock));
        QImage window(p.size, QImage::Format_RGB32);
        {
            QPainter painter(&window);
            SmithChrt drawn = p.doc;
            DrawChartOnWindow(drawn, painter, p.size, window.rect(), clock, nullptr, 1.0);
        }
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), window);
    }
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

// A further picture as a plot panel would give it: a blue page of its own size.
PicturePage BluePage() {
    return {QStringLiteral("band"), QSize(300, 200),
            [](QPainter& painter) { painter.fillRect(QRect(0, 0, 300, 200), Qt::blue); }};
}

TEST(ChartPictures, FurtherPicturesArePagesOfAPdfAndFilesBesideAPng) {
    QTemporaryDir dir;
    FixedDateTimeText clock(std::nullopt);
    const PicturePage band[] = {BluePage()};
    const QString pdf = dir.filePath(QStringLiteral("amp.pdf"));
    ASSERT_EQ(
        ExportChartPictures(OneCapacitor(), QSize(640, 360), pdf, PictureFormat::Pdf, clock, band),
        QString());
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdfFile.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
    EXPECT_TRUE(
        bytes.contains("/MediaBox [0 0 480.000000 270.000000]")); // the chart, 640 x 360 at 96 dpi
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 225.000000 150.000000]")); // the further page

    const QString png = dir.filePath(QStringLiteral("amp.png"));
    ASSERT_EQ(
        ExportChartPictures(OneCapacitor(), QSize(640, 360), png, PictureFormat::Png, clock, band),
        QString());
    EXPECT_EQ(QImage(png).size(), QSize(640, 360));
    const QImage second(dir.filePath(QStringLiteral("amp-band.png")));
    ASSERT_EQ(second.size(), QSize(300, 200));
    EXPECT_EQ(second.pixelColor(150, 100), QColor(Qt::blue));

    // The first file that cannot be written is named.
    const QString inMissing = dir.filePath(QStringLiteral("missing/amp.svg"));
    EXPECT_EQ(ExportChartPictures(OneCapacitor(), QSize(64, 64), inMissing, PictureFormat::Svg,
                                  clock, band),
              inMissing);
}

TEST(ChartPictures, NamesAndFormats) {
    EXPECT_EQ(PagePictureName(QStringLiteral("/a.b/amp.png"), QStringLiteral("band")),
              QStringLiteral("/a.b/amp-band.png"));
    EXPECT_EQ(PagePictureName(QStringLiteral("/a.b/amp"), QStringLiteral("band")),
              QStringLiteral("/a.b/amp-band"));
    EXPECT_EQ(PictureFormatOfPath("x.SVG"), PictureFormat::Svg);
    EXPECT_EQ(PictureFormatOfPath("x.pdf"), PictureFormat::Pdf);
    EXPECT_EQ(PictureFormatOfPath("x.png"), PictureFormat::Png);
    EXPECT_EQ(PictureFormatOfPath("png.d/x"), std::nullopt);
    EXPECT_EQ(PictureFormatOfPath("x.bmp"), std::nullopt);
}

} // namespace
