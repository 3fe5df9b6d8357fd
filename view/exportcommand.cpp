// File > Export Chart...: the chart as the view shows it, to a picture file.
#include "platform/drawing/chartpictures.h"
#include "platform/messages/messageboxes.h"
#include "platform/plot/bandplot.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"
#include "view/iviewshell.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <vector>

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

// The pictures that follow the chart: with the band display on, the band's response plot at the
// view's width and half its height (the following page of a PDF, a file "NAME-band" beside a PNG
// or SVG).
std::vector<PicturePage> FollowingPages(const SmithChrt& sc, QSize viewSize) {
    if (!sc.band.display) {
        return {};
    }
    return {BandPlotPage(sc, QSize(viewSize.width(), std::max(1, viewSize.height() / 2)))};
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
    const PictureFormat format =
        PictureFormatOfPath(path.toStdString()).value_or(PictureFormat::Png);
    const std::vector<PicturePage> following = FollowingPages(document->chart, size());
    const QString failed =
        ExportChartPictures(document->chart, size(), path, format, clock, following);
    if (!failed.isEmpty()) {
        MessageBoxes().Warning(QStringLiteral("Failed to export the chart to %1.").arg(failed));
    }
}
