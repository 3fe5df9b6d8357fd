#include "cli/guisession.h"

#include <QGuiApplication>

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

CGuiSession::CGuiSession(Maker make) {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(QuietQtMessages);
    app = make(gArgc, gArgv);
}

CGuiSession::~CGuiSession() = default;
