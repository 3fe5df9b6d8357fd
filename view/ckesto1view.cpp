#include "ckesto1view.h"

#include "ckesto1doc.h"
#include "ishellcommands.h"

#include <QKeyEvent>
#include <QPainter>

CKesto1View::CKesto1View(CKesto1Doc& doc, QWidget* parent) : QWidget(parent), document(&doc) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

bool CKesto1View::IsCommandEnabled(int id) const {
    const CommandRow* row = FindCommand(id);
    if (row == nullptr || row->handler == nullptr) {
        return false;
    }
    // The framework's ids (57600 and up) belong to the shell, which may still refuse them.
    const bool shellCommand = id >= ID_FILE_NEW;
    return !shellCommand || (shell != nullptr && shell->IsShellCommandEnabled(id));
}

bool CKesto1View::IsCommandChecked(int id) const {
    const CommandRow* row = FindCommand(id);
    return row != nullptr && row->checkable && shell != nullptr && shell->IsShellCommandChecked(id);
}

bool CKesto1View::ExecuteCommand(int id) {
    if (!IsCommandEnabled(id)) {
        return false;
    }
    (this->*(FindCommand(id)->handler))();
    return true;
}

void CKesto1View::DrawView(QPainter& painter) {
    painter.fillRect(rect(), Qt::white);
}

void CKesto1View::AfterCommand(bool markModified) {
    if (markModified) {
        document->SetModifiedFlag(true);
    }
    update();
}

void CKesto1View::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawView(painter);
}

bool CKesto1View::TranslateAccelerator(QKeyEvent* event) {
    const CommandRow* row = FindAccelerator(event->key(), event->modifiers());
    if (row == nullptr) {
        return false;
    }
    event->accept();
    ExecuteCommand(row->id);
    return true;
}

void CKesto1View::keyPressEvent(QKeyEvent* event) {
    if (!TranslateAccelerator(event)) {
        QWidget::keyPressEvent(event);
    }
}

void CKesto1View::OnFileNew() {
    shell->OnFileNew();
}
void CKesto1View::OnFileOpen() {
    shell->OnFileOpen();
}
void CKesto1View::OnFileSave() {
    shell->OnFileSave();
}
void CKesto1View::OnFileSaveAs() {
    shell->OnFileSaveAs();
}
void CKesto1View::OnRecentFile(int index) {
    shell->OnOpenRecentFile(index);
}
void CKesto1View::OnRecentFile1() {
    OnRecentFile(0);
}
void CKesto1View::OnRecentFile2() {
    OnRecentFile(1);
}
void CKesto1View::OnRecentFile3() {
    OnRecentFile(2);
}
void CKesto1View::OnRecentFile4() {
    OnRecentFile(3);
}
void CKesto1View::OnAppExit() {
    shell->OnAppExit();
}
void CKesto1View::OnAppAbout() {
    shell->OnAppAbout();
}
void CKesto1View::OnViewToolbar() {
    shell->OnViewToolbar();
}
void CKesto1View::OnViewStatusBar() {
    shell->OnViewStatusBar();
}
