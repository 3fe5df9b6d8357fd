#include "chartpicture.h"

#include "chartdrawview.h"
#include "chartgeometry.h"
#include "coffscreendc.h"
#include "drawchart.h"
#include "smithchrt.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>
#include <cstdlib>

namespace {

// Vector surfaces at the screen's resolution, so that the default font has the size it has in
// the window.
constexpr int kScreenDpi = 96;
// Fast zlib compression: a chart is mostly white, and large renderings stay quick.
constexpr int kPngQuality = 80;

int gArgc = 1;
char gProgram[] = "quorbel-cli";
char* gArgv[] = {gProgram, nullptr};

// Qt's own diagnostics (a missing runtime directory and the like) would mix with the messages
// the tool reports; only fatal ones are let through.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        std::abort();
    }
}

void DrawUnbuffered(SmithChrt& sc, QPainter& painter, int32_t width, int32_t height,
                    IDateTimeText& clock) {
    const Rect logical = DeviceToLogical({0, 0, width, height});
    painter.setBackgroundMode(Qt::TransparentMode);
    COffscreenDC dc(painter, logical, true);
    DrawChart(sc, dc, logical, clock);
}

// Drawn straight into the picture: the window's off-screen buffer would be the same pixels,
// copied once more.
bool RenderPng(SmithChrt& sc, QIODevice& file, int32_t width, int32_t height,
               IDateTimeText& clock) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return false;
    }
    QPainter painter(&image);
    DrawUnbuffered(sc, painter, width, height, clock);
    painter.end();
    return image.save(&file, "PNG", kPngQuality);
}

bool RenderSvg(SmithChrt& sc, QIODevice& file, int32_t width, int32_t height,
               IDateTimeText& clock) {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(kScreenDpi);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setTitle(QString::fromStdString(sc.title));
    QPainter painter;
    if (!painter.begin(&svg)) {
        return false;
    }
    DrawUnbuffered(sc, painter, width, height, clock);
    return painter.end();
}

bool RenderPdf(SmithChrt& sc, QIODevice& file, int32_t width, int32_t height,
               IDateTimeText& clock) {
    QPdfWriter pdf(&file);
    pdf.setResolution(kScreenDpi);
    pdf.setTitle(QString::fromStdString(sc.title));
    pdf.setCreator("quorbel-cli");
    const double pointsPerPixel = 72.0 / kScreenDpi;
    const QPageSize page(QSizeF(width * pointsPerPixel, height * pointsPerPixel), QPageSize::Point,
                         QString(), QPageSize::ExactMatch);
    pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        return false;
    }
    DrawUnbuffered(sc, painter, width, height, clock);
    return painter.end();
}

} // namespace

CGuiSession::CGuiSession() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(QuietQtMessages);
    app = std::make_unique<QGuiApplication>(gArgc, gArgv);
}

CGuiSession::~CGuiSession() = default;

bool WriteChartPicture(const SmithChrt& doc, const std::string& path, PictureFormat format,
                       int32_t width, int32_t height, IDateTimeText& clock) {
    SmithChrt sc = doc;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    bool ok = false;
    switch (format) {
    case PictureFormat::Png:
        ok = RenderPng(sc, file, width, height, clock);
        break;
    case PictureFormat::Svg:
        ok = RenderSvg(sc, file, width, height, clock);
        break;
    case PictureFormat::Pdf:
        ok = RenderPdf(sc, file, width, height, clock);
        break;
    }
    if (!ok) {
        file.cancelWriting();
    }
    return file.commit() && ok;
}
