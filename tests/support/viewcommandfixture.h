#pragma once

#include "app/dialogs/dialogbase.h"
#include "model/component.h"
#include "platform/messages/messageboxes.h"
#include "tests/support/paintcounter.h"
#include "tests/support/recordingboxes.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <limits>
#include <utility>

/// Works the modal dialogs a command opens: each one that appears is handed to the next queued
/// action. A dialog left open for longer than the guard allows is cancelled and counted, so that
/// no test can hang on a dialog.
class DialogDriver : public QObject {
public:
    using Action = std::function<void(CDialogBase&)>;

    DialogDriver() {
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, this, &DialogDriver::Poll);
        poll.start();
    }

    void Then(Action action) { actions.push_back(std::move(action)); }

    int opened = 0;       ///< dialogs seen
    int timedOut = 0;     ///< dialogs the guard had to close
    int lastDialogId = 0; ///< resource number of the last dialog seen

    static constexpr int kGuardMs = 3000;

private:
    void Poll() {
        if (busy) {
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        auto* dialog = qobject_cast<CDialogBase*>(modal);
        if (modal != current) {
            current = modal;
            ++opened;
            lastDialogId = dialog != nullptr ? dialog->DialogId() : -1;
            shownFor.start();
            if (dialog != nullptr && !actions.empty()) {
                Action action = std::move(actions.front());
                actions.pop_front();
                busy = true;
                action(*dialog);
                busy = false;
                return;
            }
        }
        if (shownFor.elapsed() > kGuardMs) {
            ++timedOut;
            if (auto* box = qobject_cast<QDialog*>(modal)) {
                box->reject();
            } else {
                modal->close();
            }
        }
    }

    QTimer poll;
    std::deque<Action> actions;
    QPointer<QWidget> current;
    QElapsedTimer shownFor;
    bool busy = false;
};

/// A document and its view shown off screen, with recorded message boxes (the dialogs' messages
/// included; questions are answered No), a paint counter and a dialog driver.
class ViewCommandTest : public ::testing::Test {
protected:
    ViewCommandTest() : scopedBoxes(boxes), view(doc) {
        boxes.questionAnswer = false;
        view.resize(400, 300);
        view.show();
        view.activateWindow();
        view.setFocus();
        view.installEventFilter(&counter);
        Settle();
    }
    void TearDown() override { EXPECT_EQ(driver.timedOut, 0) << "a dialog was left open"; }

    SmithChrt& Chart() { return doc.chart; }

    /// Lets pending paints happen and starts counting afresh, with the document unmodified.
    void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        counter.paints = 0;
        doc.SetModifiedFlag(false);
    }

    /// Paints since the last Settle, once the pending ones have happened.
    int Paints() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return counter.paints;
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view, static_cast<Qt::Key>(key), modifiers);
    }

    /// One wheel event over the view's centre.
    void Wheel(QPoint angleDelta, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButtons buttons = Qt::NoButton) {
        const QPointF at(view.width() / 2.0, view.height() / 2.0);
        QWheelEvent event(at, view.mapToGlobal(at), QPoint(), angleDelta, buttons, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    }
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButtons buttons = Qt::NoButton) {
        Wheel(QPoint(0, delta), modifiers, buttons);
    }

    /// Fills the network with n series resistors of 1, 2, ... ohm; the last one is active.
    void Network(int n) {
        for (int i = 0; i < n; ++i) {
            Component c = NewResistor(PLACE_SERIES, i + 1.0);
            ASSERT_EQ(Chart().AddComponent(c), 1);
        }
    }

    // Dialog actions.
    static void Accept(CDialogBase& dialog) { Press(dialog, Qt::Key_Return); }
    static void Cancel(CDialogBase& dialog) { Press(dialog, Qt::Key_Escape); }
    static void Press(CDialogBase& dialog, Qt::Key key) {
        QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
        QTest::keyClick(target, key);
    }
    static void Type(CDialogBase& dialog, int editId, const QString& text) {
        auto* edit = dialog.ControlAs<QLineEdit>(editId);
        ASSERT_NE(edit, nullptr) << editId;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        ASSERT_EQ(edit->text(), text);
    }
    static void Choose(CDialogBase& dialog, int buttonId) {
        auto* button = dialog.ControlAs<QAbstractButton>(buttonId);
        ASSERT_NE(button, nullptr) << buttonId;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        ASSERT_TRUE(button->isChecked()) << buttonId;
    }
    static QString TextOf(CDialogBase& dialog, int id) {
        if (auto* label = dialog.ControlAs<QLabel>(id)) {
            return label->text();
        }
        if (auto* edit = dialog.ControlAs<QLineEdit>(id)) {
            return edit->text();
        }
        return QStringLiteral("<no control %1>").arg(id);
    }
    static bool Checked(CDialogBase& dialog, int buttonId) {
        auto* button = dialog.ControlAs<QAbstractButton>(buttonId);
        return button != nullptr && button->isChecked();
    }

    CKesto1Doc doc;
    RecordingBoxes boxes;
    ScopedMessageBoxes scopedBoxes;
    PaintCounter counter;
    CKesto1View view;
    DialogDriver driver;
};

/// A view command test whose view asks TShell for file names, with files written to a folder of
/// its own.
template <class TShell> class ShellCommandTest : public ViewCommandTest {
protected:
    ShellCommandTest() { view.SetShell(&shell); }

    /// Writes text to the file name in the test's folder; returns its path.
    QString WriteFile(const char* name, const char* text) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }

    QTemporaryDir dir;
    TShell shell;
};
