#include "picturefiles.h"

#include <QCoreApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

constexpr int kScreenDpi = 96;

bool PaintOn(QPaintDevice& device, const PicturePainter& paint) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    paint(painter);
    return painter.end();
}

bool WritePng(QIODevice& file, QSize size, const PicturePainter& paint) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    image.fill(Qt::white);
    return PaintOn(image, paint) && image.save(&file, "PNG");
}

bool WriteSvg(QIODevice& file, QSize size, const QString& title, const PicturePainter& paint) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(kScreenDpi);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    return PaintOn(svg, paint);
}

bool WritePdf(QIODevice& file, QSize size, const QString& title, const PicturePainter& paint) {
    QPdfWriter pdf(&file);
    pdf.setResolution(kScreenDpi);
    pdf.setTitle(title);
    pdf.setCreator(QCoreApplication::applicationName());
    const double points = 72.0 / kScreenDpi;
    const QPageSize page(QSizeF(size.width() * points, size.height() * points), QPageSize::Point,
                         QString(), QPageSize::ExactMatch);
    pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    return PaintOn(pdf, paint);
}

} // namespace

bool WritePictureFile(QSize size, const QString& path, PictureFormat format, const QString& title,
                      const PicturePainter& paint) {
    if (size.isEmpty()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    bool written = false;
    switch (format) {
    case PictureFormat::Png:
        written = WritePng(file, size, paint);
        break;
    case PictureFormat::Svg:
        written = WriteSvg(file, size, title, paint);
        break;
    case PictureFormat::Pdf:
        written = WritePdf(file, size, title, paint);
        break;
    }
    if (!written) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
