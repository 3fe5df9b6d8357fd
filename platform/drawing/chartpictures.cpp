#include "platform/drawing/chartpictures.h"

#include "model/smithchrt.h"
#include "platform/drawing/chartdrawview.h"
#include "platform/drawing/pngpicture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Vector pictures at the screen's resolution, so that the default font has the size it has in
// the window.
constexpr int kScreenDpi = 96;

using Draw = std::function<void(QPainter&)>;

bool RenderSvg(QIODevice& file, QSize size, const QString& title, const Draw& draw) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(kScreenDpi);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    draw(painter);
    return painter.end();
}

QPageLayout PixelPage(QSize size) {
    const double pointsPerPixel = 72.0 / kScreenDpi;
    const QPageSize page(QSizeF(size.width() * pointsPerPixel, size.height() * pointsPerPixel),
                         QPageSize::Point, QString(), QPageSize::ExactMatch);
    return QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

// One page for each picture, each page the size of its picture.
bool RenderPdf(QIODevice& file, const QString& title, std::span<const PicturePage> pages) {
    QPdfWriter pdf(&file);
    pdf.setResolution(kScreenDpi);
    pdf.setTitle(title);
    pdf.setCreator(QCoreApplication::applicationName());
    pdf.setPageLayout(PixelPage(pages.front().size));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && (!pdf.setPageLayout(PixelPage(pages[i].size)) || !pdf.newPage())) {
            return false;
        }
        pages[i].draw(painter);
    }
    return painter.end();
}

bool Render(QIODevice& file, PictureFormat format, const QString& title,
            std::span<const PicturePage> pages) {
    switch (format) {
    case PictureFormat::Png:
        return WritePngPicture(file, pages.front().size, pages.front().draw);
    case PictureFormat::Svg:
        return RenderSvg(file, pages.front().size, title, pages.front().draw);
    case PictureFormat::Pdf:
        return RenderPdf(file, title, pages);
    }
    return false;
}

// The chart as a page: PNG is the window's buffered draw, the vector formats the unbuffered one.
PicturePage ChartPage(SmithChrt& sc, QSize size, PictureFormat format, IDateTimeText& clock) {
    if (format == PictureFormat::Png) {
        return {QString(), size, [&sc, size, &clock](QPainter& painter) {
                    DrawChartOnWindow(sc, painter, size, QRect(QPoint(0, 0), size), clock, nullptr,
                                      1.0);
                }};
    }
    return {QString(), size, [&sc, size, &clock](QPainter& painter) {
                DrawChartAsVectors(sc, painter, size, clock, nullptr);
            }};
}

} // namespace

bool WritePicturePages(const QString& path, PictureFormat format, const QString& title,
                       std::span<const PicturePage> pages) {
    if (pages.empty() || pages.front().size.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!Render(file, format, title, pages)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteChartPicture(const SmithChrt& doc, QSize size, const QString& path, PictureFormat format,
                       IDateTimeText& clock) {
    return ExportChartPictures(doc, size, path, format, clock).isEmpty();
}

QString PagePictureName(const QString& path, const QString& pageName) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return stem + QLatin1Char('-') + pageName +
           (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

QString ExportChartPictures(const SmithChrt& doc, QSize size, const QString& path,
                            PictureFormat format, IDateTimeText& clock,
                            std::span<const PicturePage> morePages) {
    SmithChrt sc = doc;
    const QString title = QString::fromStdString(sc.title);
    std::vector<PicturePage> pages{ChartPage(sc, size, format, clock)};
    if (format == PictureFormat::Pdf) {
        pages.insert(pages.end(), morePages.begin(), morePages.end());
        return WritePicturePages(path, format, title, pages) ? QString() : path;
    }
    if (!WritePicturePages(path, format, title, pages)) {
        return path;
    }
    for (const PicturePage& page : morePages) {
        const QString pagePath = PagePictureName(path, page.name);
        if (!WritePicturePages(pagePath, format, title, {&page, 1})) {
            return pagePath;
        }
    }
    return QString();
}
