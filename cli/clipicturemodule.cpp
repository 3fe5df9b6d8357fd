// The tool's picture writers as a module of their own (see cli/clipictures.h): the only code of
// the tool that links Qt's widgets, charts, SVG and print support.
#include "cli/clipictures.h"
#include "cli/guisession.h"
#include "platform/drawing/chartpictures.h"
#include "platform/drawing/pngpicture.h"
#include "platform/plot/bandplot.h"

#include <QSize>
#include <QString>

namespace {

void* StartSession(bool widgets) {
    return new CGuiSession(widgets);
}

void EndSession(void* session) {
    delete static_cast<CGuiSession*>(session);
}

void PreparePng(int width, int height) {
    PreparePngPicture(QSize(width, height));
}

bool WriteChart(const SmithChrt& doc, int width, int height, const std::string& path,
                PictureFormat format, IDateTimeText& clock) {
    return WriteChartPicture(doc, QSize(width, height), QString::fromStdString(path), format,
                             clock);
}

bool WritePlot(const SmithChrt& doc, int width, int height, const std::string& path,
               PictureFormat format) {
    return WriteBandPlotPicture(doc, QSize(width, height), QString::fromStdString(path), format);
}

const CliPictureWriters kWriters{
    kCliPictureWritersVersion, StartSession, EndSession, PreparePng, WriteChart, WritePlot};

} // namespace

extern "C" __attribute__((visibility("default"))) const CliPictureWriters*
QuorbelCliPictureWriters() {
    return &kWriters;
}
