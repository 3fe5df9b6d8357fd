#include "chartpictures.h"

#include "chartdrawview.h"
#include "smithchrt.h"

#include <QCoreApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

// Vector pictures at the screen's resolution, so that the default font has the size it has in
// the window.
constexpr int kScreenDpi = 96;
// Fast zlib compression: a chart is mostly white, and large renderings stay quick.
constexpr int kPngQuality = 80;

bool RenderPng(SmithChrt& sc, QIODevice& file, QSize size, IDateTimeText& clock) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    QPainter painter(&image);
    DrawViewOnWindow(sc, painter, size, image.rect(), clock, nullptr, 1.0);
    painter.end();
    return image.save(&file, "PNG", kPngQuality);
}

bool RenderSvg(SmithChrt& sc, QIODevice& file, QSize size, IDateTimeText& clock) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(kScreenDpi);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromStdString(sc.title));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    DrawViewUnbuffered(sc, painter, size, clock, nullptr);
    return painter.end();
}

bool RenderPdf(SmithChrt& sc, QIODevice& file, QSize size, IDateTimeText& clock) {
    QPdfWriter pdf(&file);
    pdf.setResolution(kScreenDpi);
    pdf.setTitle(QString::fromStdString(sc.title));
    pdf.setCreator(QCoreApplication::applicationName());
    const double pointsPerPixel = 72.0 / kScreenDpi;
    const QPageSize page(QSizeF(size.width() * pointsPerPixel, size.height() * pointsPerPixel),
                         QPageSize::Point, QString(), QPageSize::ExactMatch);
    pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    DrawViewUnbuffered(sc, painter, size, clock, nullptr);
    return painter.end();
}

bool Render(SmithChrt& sc, QIODevice& file, QSize size, PictureFormat format,
            IDateTimeText& clock) {
    switch (format) {
    case PictureFormat::Png:
        return RenderPng(sc, file, size, clock);
    case PictureFormat::Svg:
        return RenderSvg(sc, file, size, clock);
    case PictureFormat::Pdf:
        return RenderPdf(sc, file, size, clock);
    }
    return false;
}

} // namespace

bool WriteChartPicture(const SmithChrt& doc, QSize size, const QString& path, PictureFormat format,
                       IDateTimeText& clock) {
    SmithChrt sc = doc;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!Render(sc, file, size, format, clock)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
