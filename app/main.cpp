#include "app/ckesto1app.h"
#include "app/cmainframe.h"
#include "platform/shell/cqtfiledialogs.h"
#include "platform/shell/lockkeysource.h"

#include <QApplication>
#include <QIcon>

#include <clocale>

namespace {

/// The document named on the command line: the first argument that is not an option.
QString DocumentArgument(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1Char('-'))) {
            return args[i];
        }
        if (args[i] == QStringLiteral("--")) {
            return args.value(i + 1);
        }
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // Numbers are written and read the same way everywhere; only dates follow the user.
    std::setlocale(LC_NUMERIC, "C");
    QGuiApplication::setDesktopFileName(QStringLiteral("quorbel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quorbel/quorbel.svg")));

    CQtFileDialogs fileDialogs;
    const std::unique_ptr<ILockKeys> lockKeys = CreateLockKeys();
    CKesto1App app(fileDialogs, *lockKeys);
    if (!app.InitInstance(DocumentArgument(QApplication::arguments()))) {
        return 1;
    }
    fileDialogs.SetParent(app.MainFrame());
    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
