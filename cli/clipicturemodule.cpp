// The chart's pictures as a module of the tool (see cli/clipictures.h): Qt GUI and SVG, no
// widgets, charts or print support.
#include "cli/clipictures.h"
#include "cli/guisession.h"
#include "platform/drawing/chartpictures.h"

#include <QGuiApplication>
#include <QSize>
#include <QString>

namespace {

std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv) {
    return std::make_unique<QGuiApplication>(argc, argv);
}

void* StartSession() {
    return new CGuiSession(MakeApplication);
}

void EndSession(void* session) {
    delete static_cast<CGuiSession*>(session);
}

bool WriteChart(const SmithChrt& doc, int width, int height, const std::string& path,
                PictureFormat format, IDateTimeText& clock) {
    return WriteChartPicture(doc, QSize(width, height), QString::fromStdString(path), format,
                             clock);
}

const CliPictureWriters kWriters{kCliPictureWritersVersion, StartSession, EndSession, WriteChart};

} // namespace

extern "C" __attribute__((visibility("default"))) const CliPictureWriters*
QuorbelCliPictureWriters() {
    return &kWriters;
}
