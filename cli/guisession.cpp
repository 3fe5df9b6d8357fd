#include "cli/guisession.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

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

} // namespace

CGuiSession::CGuiSession(bool widgets) {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(QuietQtMessages);
    // A widget application only for the band response plot, which Qt Charts draws with graphics
    // widgets: it takes longer to start.
    if (widgets) {
        app = std::make_unique<QApplication>(gArgc, gArgv);
    } else {
        app = std::make_unique<QGuiApplication>(gArgc, gArgv);
    }
}

CGuiSession::~CGuiSession() = default;
