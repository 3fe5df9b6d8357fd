#pragma once

#include "app/dialogs/dialogbase.h"
#include "platform/messages/messageboxes.h"
#include "tests/support/recordingboxes.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

/// Catches the validation messages instead of showing boxes, and types like a user.
class DialogTest : public ::testing::Test {
protected:
    /// Replaces the edit's text by typing, as a user who selected it all would.
    static void Type(QLineEdit* edit, const QString& text) {
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(edit, text);
        }
        ASSERT_EQ(edit->text(), text);
    }

    /// Clicks a button near its left end, where a radio button or check box has its indicator.
    static void Click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    static void PressEnter(QWidget* control) { QTest::keyClick(control, Qt::Key_Return); }

    /// True when the dialog was left open with edit focused and its whole text selected.
    static bool RefusedAt(const CDialogBase& dialog, const QLineEdit* edit) {
        return dialog.isVisible() && dialog.result() != QDialog::Accepted &&
               dialog.focusWidget() == edit &&
               (edit->text().isEmpty() || edit->selectedText() == edit->text());
    }

    /// Types text into edit and presses Enter: with message empty the dialog accepts without a
    /// word, else it shows exactly that message and keeps the edit for correction.
    void EnterAndExpect(const CDialogBase& dialog, QLineEdit* edit, const char* text,
                        const char* message) {
        Type(edit, text);
        PressEnter(edit);
        if (*message == '\0') {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0], message);
            EXPECT_TRUE(RefusedAt(dialog, edit));
        }
    }

    /// Gives in to a fresh TDialog and presses Enter: the dialog refuses it with the words validate
    /// has for it, or accepts it without a message where validate finds no fault.
    template <class TDialog, class TInput, class TValidate>
    void ExpectRefusedAsValidated(const TInput& in, TValidate validate) {
        messages.clear();
        TDialog dialog;
        dialog.SetInput(in);
        dialog.show();
        PressEnter(dialog.focusWidget());
        const auto expected = validate(in);
        if (expected) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].toStdString(), expected->message);
            EXPECT_NE(dialog.result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
    }

    RecordingBoxes boxes;
    ScopedMessageBoxes scopedBoxes{boxes};
    /// The validation messages shown, in order.
    QStringList& messages = boxes.warnings;
};
