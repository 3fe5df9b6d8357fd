// A Qt GUI application that starts on the offscreen platform and ends at once: the paint
// benchmark times its whole process as the lower bound of the command-line tool's picture runs.
#include <QGuiApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    return 0;
}
