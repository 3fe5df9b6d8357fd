// gtest main of the suite under a real X server: each test process starts its own Xvfb and runs
// a QApplication on it through the xcb platform; the tests type and click with xdotool.
#include "tests/x11/x11suite.h"
#include "tests/x11/xvfbdisplay.h"

#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <optional>

namespace {

std::string gProblem;

bool OnlyListing(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

const std::string& X11SuiteProblem() {
    return gProblem;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (OnlyListing(argc, argv)) {
        return RUN_ALL_TESTS();
    }
    std::optional<CXvfbDisplay> display;
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        gProblem = "xdotool is not installed (Debian package xdotool)";
    } else {
        display.emplace(1280, 1024, 20);
        gProblem = display->Problem();
    }
    if (gProblem.empty()) {
        qputenv("DISPLAY", QByteArray::fromStdString(display->Name()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("QT_SCALE_FACTOR");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QT_LOGGING_RULES", "*.debug=false;qt.qpa.*=false");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName("QuorbelTests");
    QCoreApplication::setApplicationName("QuorbelTests");
    const int status = [&] {
        QApplication app(argc, argv);
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
        const int result = RUN_ALL_TESTS();
        FinishLaterInput();
        return result;
    }();
    return status;
}
