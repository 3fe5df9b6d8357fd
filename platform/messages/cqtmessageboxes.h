#pragma once

#include "platform/messages/imessageboxes.h"

#include <QMessageBox>

/// Message boxes shown with QMessageBox over the active window.
class CQtMessageBoxes : public IMessageBoxes {
public:
    void Warning(const QString& text) override;
    void WarningWithDetails(const QString& text, const QString& details) override;
    bool Question(const QString& text) override;
    SaveAnswer SaveQuestion(const QString& text) override;

private:
    static QMessageBox::StandardButton Show(const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            const QString& details = QString());
};
