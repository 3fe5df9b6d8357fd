// File > Export Chart...: the chart as the view shows it, to a picture file.
#include "chartpictures.h"
#include "ckesto1doc.h"
#include "ckesto1view.h"
#include "ishellcommands.h"
#include "messageboxes.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The document's own name with the picture extension, beside the document when it has a file.
QString SuggestedPictureName(const CKesto1Doc& doc) {
    const QString png = QStringLiteral(".png");
    if (doc.GetPathName().isEmpty()) {
        return doc.GetTitle() + png;
    }
    const QFileInfo file(doc.GetPathName());
    return file.dir().filePath(file.completeBaseName() + png);
}

} // namespace

void CKesto1View::OnFileExportChart() {
    if (shell == nullptr) {
        return;
    }
    const QString path = shell->AskExportFileName(SuggestedPictureName(*document));
    if (path.isEmpty()) {
        return;
    }
    const PictureFormat format = PictureFormatOfPath(path.toStdString()).value_or(PictureFormat::Png);
    const QString failed =
        ExportChartPictures(document->chart, size(), path, format, clock, exportPages);
    if (!failed.isEmpty()) {
        MessageBoxes().Warning(QStringLiteral("Failed to export the chart to %1.").arg(failed));
    }
}
