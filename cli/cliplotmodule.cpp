// The band response plot as a module of the tool (see cli/clipictures.h): Qt Charts draws it
// with graphics widgets, so that this module, unlike the chart's, needs Qt's widgets.
#include "cli/clipictures.h"
#include "cli/guisession.h"
#include "platform/plot/bandplot.h"

#include <QApplication>
#include <QSize>
#include <QString>

namespace {

std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv) {
    return std::make_unique<QApplication>(argc, argv);
}

void* StartSession() {
    return new CGuiSession(MakeApplication);
}

void EndSession(void* session) {
    delete static_cast<CGuiSession*>(session);
}

bool WritePlot(const SmithChrt& doc, int width, int height, const std::string& path,
               PictureFormat format) {
    return WriteBandPlotPicture(doc, QSize(width, height), QString::fromStdString(path), format);
}

const CliPlotWriters kWriters{kCliPictureWritersVersion, StartSession, EndSession, WritePlot};

} // namespace

extern "C" __attribute__((visibility("default"))) const CliPlotWriters* QuorbelCliPlotWriters() {
    return &kWriters;
}
