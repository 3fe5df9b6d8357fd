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

    RecordingBoxes boxes;
    ScopedMessageBoxes scopedBoxes{boxes};
    /// The validation messages shown, in order.
    QStringList& messages = boxes.warnings;
};
