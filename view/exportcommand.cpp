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
// or SVG, where the user agrees to it).
std::vector<PicturePage> FollowingPages(const SmithChrt& sc, QSize viewSize) {
    if (!sc.band.display) {
        return {};
    }
    return {BandPlotPage(sc, QSize(viewSize.width(), std::max(1, viewSize.height() / 2)))};
}

// A PNG or SVG holds one picture, so a further page goes to a file beside it: written only when
// the user agrees, asked once with the file's name, and saying when it would replace one.
bool AgreeToPageFiles(const QString& path, PictureFormat format,
                      const std::vector<PicturePage>& pages) {
    if (format == PictureFormat::Pdf || pages.empty()) {
        return true;
    }
    const QString pagePath = PagePictureName(path, pages.front().name);
    QString question =
        QStringLiteral("The band is shown: write its response plot to %1 as well?").arg(pagePath);
    if (QFileInfo::exists(pagePath)) {
        question += QStringLiteral("  That file exists and would be replaced.");
    }
    return MessageBoxes().Question(question);
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
    std::vector<PicturePage> following = FollowingPages(document->chart, size());
    if (!AgreeToPageFiles(path, format, following)) {
        following.clear();
    }
    const QString failed =
        ExportChartPictures(document->chart, size(), path, format, clock, following);
    if (!failed.isEmpty()) {
        MessageBoxes().Warning(QStringLiteral("Failed to export the chart to %1.").arg(failed));
    }
}
