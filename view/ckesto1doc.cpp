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

DocumentError CKesto1Doc::OnOpenDocument(const QString& path, QStringList* notes) {
    DocumentError error = DocumentError::None;
    std::vector<std::string> left;
    if (LoadDocumentFile(QFile::encodeName(path).toStdString(), chart, error, &left) ==
        OpenOutcome::Failed) {
        return error;
    }
    if (notes != nullptr) {
        for (const std::string& note : left) {
            notes->append(QString::fromStdString(note));
        }
    }
    SetPathName(path);
    modified = false;
    return DocumentError::None;
}

DocumentError CKesto1Doc::OnSaveDocument(const QString& path, QString* cause) {
    std::string why;
    const DocumentError error =
        SaveDocumentFile(QFile::encodeName(path).toStdString(), chart, &why);
    if (error == DocumentError::None) {
        SetPathName(path);
        modified = false;
    } else if (cause != nullptr) {
        *cause = QString::fromStdString(why);
    }
    return error;
}

void CKesto1Doc::SetPathName(const QString& path) {
    pathName = QFileInfo(path).absoluteFilePath();
    title = QFileInfo(path).fileName();
}
