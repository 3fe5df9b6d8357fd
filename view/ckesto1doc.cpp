#include "view/ckesto1doc.h"

#include "model/documentfile.h"

#include <QFile>
#include <QFileInfo>

bool CKesto1Doc::OnNewDocument() {
    chart.ResetForNewDocument();
    pathName.clear();
    title = QString::fromLatin1(kUntitled);
    modified = false;
    return true;
}

DocumentError CKesto1Doc::OnOpenDocument(const QString& path) {
    DocumentError error = DocumentError::None;
    if (LoadDocumentFile(QFile::encodeName(path).toStdString(), chart, error) ==
        OpenOutcome::Failed) {
        return error;
    }
    SetPathName(path);
    modified = false;
    return DocumentError::None;
}

DocumentError CKesto1Doc::OnSaveDocument(const QString& path) {
    const DocumentError error = SaveDocumentFile(QFile::encodeName(path).toStdString(), chart);
    if (error == DocumentError::None) {
        SetPathName(path);
        modified = false;
    }
    return error;
}

void CKesto1Doc::SetPathName(const QString& path) {
    pathName = QFileInfo(path).absoluteFilePath();
    title = QFileInfo(path).fileName();
}
