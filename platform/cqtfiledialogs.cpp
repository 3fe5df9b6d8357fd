#include "cqtfiledialogs.h"

#include <QFileDialog>

namespace {

const char* const kFilters = "Quorbel Files (*.qbl);;All Files (*.*)";

QString Run(QWidget* parent, QFileDialog::AcceptMode mode, const QString& suggested) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromLatin1(kFilters));
    dialog.setDefaultSuffix(QStringLiteral("qbl"));
    if (!suggested.isEmpty()) {
        dialog.selectFile(suggested);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString CQtFileDialogs::GetOpenFileName() {
    return Run(parent_, QFileDialog::AcceptOpen, {});
}

QString CQtFileDialogs::GetSaveFileName(const QString& suggested) {
    return Run(parent_, QFileDialog::AcceptSave, suggested);
}
