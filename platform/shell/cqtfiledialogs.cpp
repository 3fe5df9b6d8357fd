#include "platform/shell/cqtfiledialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const char* const kFilters = "Quorbel Files (*.qbl);;All Files (*.*)";
const char* const kDataFilters =
    "Touchstone Files (*.s1p *.z1p *.y1p *.ts *.s2p *.s3p *.s4p);;All Files (*)";
const char* const kDeviceFilters = "Touchstone Files (*.s2p *.s3p *.s4p *.ts);;All Files (*)";

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

// The picture types of an export: filter and extension, the first the default.
struct PictureType {
    const char* filter;
    const char* suffix;
};
constexpr PictureType kPictureTypes[] = {
    {"PNG Picture (*.png)", "png"},
    {"SVG Drawing (*.svg)", "svg"},
    {"PDF Document (*.pdf)", "pdf"},
};

const PictureType& TypeOfFilter(const QString& filter) {
    for (const PictureType& type : kPictureTypes) {
        if (filter == QString::fromLatin1(type.filter)) {
            return type;
        }
    }
    return kPictureTypes[0];
}

// The name with the chosen type's extension unless it already ends in one of the three.
QString WithPictureSuffix(const QString& name, const PictureType& chosen) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    for (const PictureType& type : kPictureTypes) {
        if (suffix == QString::fromLatin1(type.suffix)) {
            return name;
        }
    }
    return name + QLatin1Char('.') + QString::fromLatin1(chosen.suffix);
}

} // namespace

QString CQtFileDialogs::GetOpenFileName() {
    return Run(parent_, QFileDialog::AcceptOpen, {});
}

QString CQtFileDialogs::GetSaveFileName(const QString& suggested) {
    return Run(parent_, QFileDialog::AcceptSave, suggested);
}

QString CQtFileDialogs::GetExportFileName(const QString& suggested) {
    QFileDialog dialog(parent_, QStringLiteral("Export Chart"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const PictureType& type : kPictureTypes) {
        filters.append(QString::fromLatin1(type.filter));
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromLatin1(kPictureTypes[0].suffix));
    // The extension the dialog adds follows the type the user picks.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        dialog.setDefaultSuffix(QString::fromLatin1(TypeOfFilter(f).suffix));
    });
    if (!suggested.isEmpty()) {
        dialog.selectFile(suggested);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return WithPictureSuffix(dialog.selectedFiles().constFirst(),
                             TypeOfFilter(dialog.selectedNameFilter()));
}

QString CQtFileDialogs::GetDataFileName() {
    QFileDialog dialog(parent_, QStringLiteral("Load Impedance Data"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromLatin1(kDataFilters));
    // Measuring instruments write .S1P as often as .s1p.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString CQtFileDialogs::GetDeviceFileName() {
    QFileDialog dialog(parent_, QStringLiteral("Load Device"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QString::fromLatin1(kDeviceFilters));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString CQtFileDialogs::GetNetworkFileName(const QString& suggested) {
    QFileDialog dialog(parent_, QStringLiteral("Export Network"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(
        {QStringLiteral("Touchstone Two-Port Files (*.s2p)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("s2p"));
    if (!suggested.isEmpty()) {
        dialog.selectFile(suggested);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}
