// gtest main for the Qt-based suites: an offscreen QApplication, the C locale, isolated settings.
#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.debug=false;qt.qpa.*=false");
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName("QuorbelTests");
    QCoreApplication::setApplicationName("QuorbelTests");
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
