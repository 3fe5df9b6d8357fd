#pragma once

#include "app/ckesto1app.h"
#include "app/cmainframe.h"
#include "platform/shell/cqtfiledialogs.h"
#include "platform/shell/lockkeysource.h"
#include "tests/support/missingtool.h"
#include "tests/x11/x11suite.h"
#include "view/ckesto1view.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

/// The program on the suite's X server with its real file dialogs, message boxes and lock keys,
/// its settings in a location of the test's own.
class X11ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!X11SuiteProblem().empty()) {
            SKIP_OR_FAIL_MISSING(X11SuiteProblem());
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    }

    void TearDown() override {
        FinishLaterInput();
        if (app != nullptr && app->MainFrame() != nullptr) {
            app->Document().SetModifiedFlag(false);
            app->MainFrame()->close();
        }
        app.reset();
    }

    /// Starts the program with its window active and the chart view holding the keyboard.
    void Start() {
        lockKeys = CreateLockKeys();
        app = std::make_unique<CKesto1App>(fileDialogs, *lockKeys);
        ASSERT_TRUE(app->InitInstance());
        fileDialogs.SetParent(app->MainFrame());
        ASSERT_TRUE(WaitUntil([this] { return Frame().windowHandle()->isExposed(); }));
        ASSERT_TRUE(Activate(Frame()));
        ASSERT_TRUE(ViewHasKeyboard());
    }

    CMainFrame& Frame() { return *app->MainFrame(); }
    CKesto1View* View() { return app->MainFrame()->View(); }
    SmithChrt& Chart() { return app->Document().chart; }

    /// Waits until the chart view has the keyboard focus.
    bool ViewHasKeyboard() {
        return WaitUntil([this] { return QApplication::focusWidget() == View(); });
    }
    /// Presses keys as xdotool names them ("alt+h", "Escape").
    static bool Keys(const QString& keys) { return XDo({QStringLiteral("key"), keys}); }

    QTemporaryDir settingsDir;
    QTemporaryDir files;
    CQtFileDialogs fileDialogs;
    std::unique_ptr<ILockKeys> lockKeys;
    std::unique_ptr<CKesto1App> app;
};
