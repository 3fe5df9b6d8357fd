#include "platform/messages/cqtmessageboxes.h"

#include "quorbel_config.h"

#include <QApplication>

QMessageBox::StandardButton CQtMessageBoxes::Show(const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton,
                                                  const QString& details) {
    // Over the dialog being validated, if any, else over the active window.
    QWidget* parent = QApplication::activeModalWidget();
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kProgramTitle), text, buttons,
                    parent != nullptr ? parent : QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    if (!details.isEmpty()) {
        box.setDetailedText(details);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void CQtMessageBoxes::Warning(const QString& text) {
    Show(text, QMessageBox::Ok, QMessageBox::Ok);
}

void CQtMessageBoxes::WarningWithDetails(const QString& text, const QString& details) {
    Show(text, QMessageBox::Ok, QMessageBox::Ok, details);
}

bool CQtMessageBoxes::Question(const QString& text) {
    return Show(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

SaveAnswer CQtMessageBoxes::SaveQuestion(const QString& text) {
    switch (
        Show(text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return SaveAnswer::Yes;
    case QMessageBox::No:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}
