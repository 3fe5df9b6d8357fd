// The installed program itself, started as a user starts it, on the suite's X server: keys,
// the real file dialogs, and its window coming back where it was left.
#include "model/documentfile.h"
#include "model/smithchrt.h"
#include "tests/support/missingtool.h"
#include "tests/x11/x11suite.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!X11SuiteProblem().empty()) {
            SKIP_OR_FAIL_MISSING(X11SuiteProblem());
        }
    }

    void TearDown() override {
        FinishLaterInput();
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(5000);
        }
    }

    /// Starts the program with settings of its own; returns its main window's X id.
    QString Run() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUORBEL_PROGRAM_PATH), {});
        return WindowNamed(QStringLiteral("^Untitled - Quorbel$"));
    }

    /// Waits for a shown window whose title matches the pattern; its X id.
    static QString WindowNamed(const QString& pattern) {
        return XDoRead({QStringLiteral("search"), QStringLiteral("--sync"),
                        QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern})
            .section(QLatin1Char('\n'), 0, 0);
    }

    /// Gives the window the keyboard, as a window manager would, and presses keys.
    static bool KeysTo(const QString& window, const QStringList& keys) {
        QStringList args{
            QStringLiteral("windowfocus"), QStringLiteral("--sync"),  window,
            QStringLiteral("key"),         QStringLiteral("--delay"), QStringLiteral("40")};
        return XDo(args + keys);
    }

    /// Types text into the dialog and presses Return until the dialog has gone: on a slow run the
    /// file name's completion list may have opened by then and take the first Return.
    static bool TypeLine(const QString& dialog, const QString& text) {
        if (dialog.isEmpty() ||
            !XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog,
                  QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("5"),
                  QStringLiteral("--args"), QStringLiteral("1"), text})) {
            return false;
        }
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!XDo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), dialog,
                      QStringLiteral("key"), QStringLiteral("Return")})) {
                return !Shown(dialog);
            }
            if (WaitUntil([&] { return !Shown(dialog); }, 3000)) {
                return true;
            }
        }
        return false;
    }

    /// Whether the window is still mapped.
    static bool Shown(const QString& window) {
        return XDoRead({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), QStringLiteral(".")})
            .split(QLatin1Char('\n'))
            .contains(window);
    }

    bool Ended() {
        return WaitUntil([this] { return program.state() == QProcess::NotRunning; }, 15000);
    }

    QTemporaryDir config;
    QTemporaryDir files;
    QProcess program;
};

TEST_F(ProgramTest, KeysDialogsSaveExportAndTheWindowsPlace) {
    QString window = Run();
    ASSERT_FALSE(window.isEmpty()) << "no main window";

    // R asks series or shunt; Return takes series.
    ASSERT_TRUE(KeysTo(window, {QStringLiteral("r")}));
    ASSERT_FALSE(WindowNamed(QStringLiteral("^Component Configuration$")).isEmpty());
    ASSERT_TRUE(XDo({QStringLiteral("key"), QStringLiteral("Return")}));

    // Ctrl+S on a new document: the Save As dialog.
    const QString document = files.filePath(QStringLiteral("amp.qbl"));
    ASSERT_TRUE(KeysTo(window, {QStringLiteral("ctrl+s")}));
    ASSERT_TRUE(TypeLine(WindowNamed(QStringLiteral("^Save As$")), document));
    ASSERT_FALSE(WindowNamed(QStringLiteral("^amp.qbl - Quorbel$")).isEmpty());

    // Ctrl+E: a name without an extension gives a picture of the first type offered, PNG.
    const QString png = files.filePath(QStringLiteral("amp.png"));
    ASSERT_TRUE(KeysTo(window, {QStringLiteral("ctrl+e")}));
    ASSERT_TRUE(TypeLine(WindowNamed(QStringLiteral("^Export Chart$")),
                         files.filePath(QStringLiteral("amp"))));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(png); }));

    // Move the window, then File > Exit.
    ASSERT_TRUE(XDo({QStringLiteral("windowmove"), QStringLiteral("--sync"), window,
                     QStringLiteral("60"), QStringLiteral("50")}));
    ASSERT_TRUE(XDo({QStringLiteral("windowsize"), QStringLiteral("--sync"), window,
                     QStringLiteral("720"), QStringLiteral("480")}));
    ASSERT_TRUE(KeysTo(window, {QStringLiteral("alt+f"), QStringLiteral("x")}));
    ASSERT_TRUE(Ended());
    EXPECT_EQ(program.exitCode(), 0);

    SmithChrt saved;
    DocumentError error = DocumentError::None;
    ASSERT_EQ(LoadDocumentFile(QFile::encodeName(document).toStdString(), saved, error),
              OpenOutcome::Read);
    ASSERT_EQ(saved.componentCount, 1);
    EXPECT_EQ(saved.components[0].kind, KIND_RESISTOR);
    EXPECT_EQ(saved.components[0].placement, PLACE_SERIES);
    EXPECT_GT(QImage(png).width(), 200);

    // Started again, the window is where it was left.
    window = Run();
    ASSERT_FALSE(window.isEmpty());
    const QString geometry =
        XDoRead({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    EXPECT_TRUE(geometry.contains(QStringLiteral("X=60\nY=50\nWIDTH=720\nHEIGHT=480")))
        << geometry.toStdString();
    ASSERT_TRUE(KeysTo(window, {QStringLiteral("alt+f"), QStringLiteral("x")}));
    ASSERT_TRUE(Ended());
}

} // namespace
