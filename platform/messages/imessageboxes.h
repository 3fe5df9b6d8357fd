#pragma once

#include <QString>

/// The answer to the question asked before a modified document is discarded.
enum class SaveAnswer { Yes, No, Cancel };

/// Every message box of the program: the program's title as caption and the warning icon. All
/// code shows its messages through MessageBoxes() (messageboxes.h), so that one replacement
/// catches them all.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    /// A message with an OK button.
    virtual void Warning(const QString& text) = 0;
    /// A message with an OK button and, behind a button of its own, details such as the cause
    /// of a failure; the message itself stays as it is. Boxes without a place for details show
    /// the message alone.
    virtual void WarningWithDetails(const QString& text, const QString& details) {
        static_cast<void>(details);
        Warning(text);
    }
    /// A question with Yes and No; true for Yes.
    virtual bool Question(const QString& text) = 0;
    /// A question with Yes, No and Cancel.
    virtual SaveAnswer SaveQuestion(const QString& text) = 0;
};
