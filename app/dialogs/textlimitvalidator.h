#pragma once

#include <QValidator>

/// Keeps typing and pasting in an edit from making its text longer than a limit, without cutting
/// a longer text that the program put there itself: such a text may shrink, never grow. The dialog
/// check then reports it.
class CTextLimitValidator : public QValidator {
    Q_OBJECT
public:
    CTextLimitValidator(int limit, QObject* parent);

    /// The length of the text currently in the edit; call before and after setting it.
    void SetCurrentLength(qsizetype length) { currentLength = length; }

    State validate(QString& input, int& pos) const override;

private:
    int limit;
    qsizetype currentLength = 0;
};
