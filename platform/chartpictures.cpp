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

#include <png.h>
#include <sys/mman.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Vector pictures at the screen's resolution, so that the default font has the size it has in
// the window.
constexpr int kScreenDpi = 96;
// A chart is mostly white with flat colours: rows left unfiltered and packed as runs by the
// fastest zlib level give small files quickly, smaller here than with any row filter.
constexpr int kPngZlibLevel = 1;
// Pictures this large get their pixels from whole huge pages where the system has them: one
// page fault per 2 MiB instead of one per 4 KiB, which is most of a large picture's cost.
constexpr qsizetype kHugePageBytes = qsizetype{2} << 20;

void WritePngData(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (file->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) !=
        static_cast<qint64>(length)) {
        png_error(png, "write failed");
    }
}

void FlushPngData(png_structp) {}

// One row of an opaque 32-bit picture as 8-bit RGB bytes.
void ToRgbRow(const QRgb* pixels, int width, png_bytep row) {
    for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<png_byte>(qRed(pixels[x]));
        row[3 * x + 1] = static_cast<png_byte>(qGreen(pixels[x]));
        row[3 * x + 2] = static_cast<png_byte>(qBlue(pixels[x]));
    }
}

// Writes an opaque RGB32 picture as an 8-bit RGB PNG, losslessly. No object with a destructor
// lives in this function, as libpng reports errors by jumping back to its start.
bool WritePng(const QImage& image, QIODevice& file, png_bytep row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &file, WritePngData, FlushPngData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, kPngZlibLevel);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        ToRgbRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), width, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

void ReleasePages(void* mapping) {
    const auto* m = static_cast<std::pair<void*, size_t>*>(mapping);
    munmap(m->first, m->second);
    delete m;
}

// An RGB32 picture of the given size; a large one on huge pages where the system gives them.
QImage NewPicture(QSize size) {
    const qsizetype bytes = qsizetype{4} * size.width() * size.height();
    if (size.isEmpty() || bytes < kHugePageBytes) {
        return {size, QImage::Format_RGB32};
    }
    const auto length = static_cast<size_t>(bytes + kHugePageBytes);
    void* mapping =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        return {size, QImage::Format_RGB32};
    }
    const auto start = (reinterpret_cast<uintptr_t>(mapping) + kHugePageBytes - 1) &
                       ~static_cast<uintptr_t>(kHugePageBytes - 1);
    madvise(reinterpret_cast<void*>(start), static_cast<size_t>(bytes), MADV_HUGEPAGE);
    return {reinterpret_cast<uchar*>(start),
            size.width(),
            size.height(),
            4 * size.width(),
            QImage::Format_RGB32,
            ReleasePages,
            new std::pair<void*, size_t>(mapping, length)};
}

bool RenderPng(SmithChrt& sc, QIODevice& file, QSize size, IDateTimeText& clock) {
    QImage image = NewPicture(size);
    if (image.isNull()) {
        return false;
    }
    QPainter painter(&image);
    DrawViewOnWindow(sc, painter, size, image.rect(), clock, nullptr, 1.0);
    painter.end();
    std::vector<png_byte> row(static_cast<size_t>(image.width()) * 3);
    return WritePng(image, file, row.data());
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
