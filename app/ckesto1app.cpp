#include "app/ckesto1app.h"

#include "app/caboutdialog.h"
#include "app/cmainframe.h"
#include "app/windowplacement.h"
#include "model/filerules.h"
#include "platform/messages/messageboxes.h"
#include "platform/shell/csettingsstore.h"
#include "platform/shell/ifiledialogs.h"
#include "view/commandids.h"
#include "view/commandtable.h"

#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

namespace {

/// Room for the whole toolbar where the screen allows it.
QSize InitialFrameSize(const QWidget& frame) {
    const QScreen* screen = frame.screen();
    const QSize wanted = frame.sizeHint();
    if (screen == nullptr) {
        return wanted;
    }
    return wanted.boundedTo(screen->availableGeometry().size() * 0.9);
}

/// The screens' available areas, the primary screen's first.
QList<QRect> ScreenAreas() {
    QList<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        areas.append(primary->availableGeometry());
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            areas.append(screen->availableGeometry());
        }
    }
    return areas;
}

} // namespace

CKesto1App::CKesto1App(IFileDialogs& dialogs, ILockKeys& keys)
    : fileDialogs(dialogs), lockKeys(keys), recentFiles(kRecentFileCount) {
    document.chart.messages = &messageSink;
}

CKesto1App::~CKesto1App() = default;

bool CKesto1App::InitInstance(const QString& documentPath) {
    settings = std::make_unique<CSettingsStore>();
    recentFiles.SetEntries(settings->ReadRecentFiles(kRecentFileCount));
    previewPages = settings->ReadPreviewPages();

    frame = std::make_unique<CMainFrame>(*this, document, lockKeys);
    if (frame->OnCreate() != 0) {
        MessageBoxes().Warning(QStringLiteral("Failed to create empty document."));
        return false;
    }
    if (documentPath.isEmpty()) {
        document.OnNewDocument();
    } else if (!OpenDocumentFile(documentPath)) {
        return false;
    }
    frame->OnDocumentChanged();
    ShowFrame();
    frame->update();
    return true;
}

void CKesto1App::ShowFrame() {
    const std::optional<WindowPlacement> saved = settings->ReadWindowPlacement();
    if (!saved) {
        frame->resize(InitialFrameSize(*frame));
        frame->show();
        return;
    }
    frame->setGeometry(PlaceOnScreens(saved->normalGeometry, ScreenAreas()));
    if (saved->maximized) {
        frame->showMaximized();
    } else {
        frame->show();
    }
}

void CKesto1App::ExitInstance() {
    if (settings == nullptr) {
        return;
    }
    settings->WriteRecentFiles(recentFiles.Entries());
    if (previewPages != 0) {
        settings->WritePreviewPages(previewPages);
    }
    if (frame != nullptr) {
        settings->WriteWindowPlacement({frame->normalGeometry(), frame->isMaximized()});
    }
}

bool CKesto1App::OpenDocumentFile(const QString& path) {
    return OpenDocument(path) == OpenResult::Opened;
}

CKesto1App::OpenResult CKesto1App::OpenDocument(const QString& path) {
    if (!SaveModified()) {
        return OpenResult::Cancelled;
    }
    QStringList notes;
    const DocumentError error = document.OnOpenDocument(path, &notes);
    if (error != DocumentError::None) {
        MessageBoxes().Warning(QString::fromLatin1(DocumentErrorText(error)));
        return OpenResult::Failed;
    }
    recentFiles.Add(document.GetPathName());
    frame->OnDocumentChanged();
    // What the file held that could not be read, told once the document is shown.
    for (const QString& note : notes) {
        MessageBoxes().Warning(note);
    }
    return OpenResult::Opened;
}

bool CKesto1App::SaveModified() {
    if (!document.IsModified()) {
        return true;
    }
    const QString name =
        document.GetPathName().isEmpty() ? document.GetTitle() : document.GetPathName();
    switch (MessageBoxes().SaveQuestion(QStringLiteral("Save changes to %1?").arg(name))) {
    case SaveAnswer::Yes:
        return DoFileSave();
    case SaveAnswer::No:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool CKesto1App::CanCloseFrame() {
    if (!SaveModified()) {
        return false;
    }
    ExitInstance();
    return true;
}

bool CKesto1App::DoFileSave() {
    const QString& path = document.GetPathName();
    // A document never saved, or a file that may not be written, is saved under a new name.
    if (path.isEmpty() || IsWriteProtected(QFile::encodeName(path).toStdString())) {
        return DoSave(QString());
    }
    return DoSave(path);
}

QString CKesto1App::WithDefaultExtension(const QString& path) {
    if (QFileInfo(path).suffix().isEmpty()) {
        return path + QStringLiteral(".qbl");
    }
    return path;
}

QString CKesto1App::SuggestedSaveName() const {
    if (!document.GetPathName().isEmpty()) {
        return document.GetPathName();
    }
    return WithDefaultExtension(document.GetTitle());
}

bool CKesto1App::DoSave(const QString& path) {
    QString target = path;
    if (target.isEmpty()) {
        target = fileDialogs.GetSaveFileName(SuggestedSaveName());
        if (target.isEmpty()) {
            return false;
        }
        target = WithDefaultExtension(target);
    }
    QString cause;
    const DocumentError error = document.OnSaveDocument(target, &cause);
    if (error != DocumentError::None) {
        MessageBoxes().WarningWithDetails(QString::fromLatin1(DocumentErrorText(error)), cause);
        return false;
    }
    recentFiles.Add(document.GetPathName());
    frame->OnDocumentChanged();
    return true;
}

void CKesto1App::OnFileNew() {
    if (!SaveModified()) {
        return;
    }
    document.OnNewDocument();
    frame->OnDocumentChanged();
}

void CKesto1App::OnFileOpen() {
    QString path = fileDialogs.GetOpenFileName();
    if (path.isEmpty()) {
        return;
    }
    // A name typed without an extension means the document file of that name.
    if (!QFileInfo::exists(path) && QFileInfo(path).suffix().isEmpty() &&
        QFileInfo::exists(WithDefaultExtension(path))) {
        path = WithDefaultExtension(path);
    }
    OpenDocumentFile(path);
}

void CKesto1App::OnFileSave() {
    DoFileSave();
}

void CKesto1App::OnFileSaveAs() {
    DoSave(QString());
}

void CKesto1App::OnOpenRecentFile(int index) {
    const QString path = recentFiles.At(index);
    if (path.isEmpty()) {
        return;
    }
    if (OpenDocument(path) == OpenResult::Failed) {
        // An entry that cannot be opened leaves the list.
        recentFiles.Remove(index);
        frame->UpdateRecentFileMenu();
    }
}

void CKesto1App::OnAppExit() {
    frame->close();
}

void CKesto1App::OnAppAbout() {
    CAboutDialog about(frame.get());
    about.exec();
}

void CKesto1App::OnViewToolbar() {
    QToolBar* bar = frame->ToolBar();
    bar->setVisible(bar->isHidden());
    frame->UpdateCommandUI();
}

void CKesto1App::OnViewStatusBar() {
    QStatusBar* bar = frame->StatusBarPane();
    bar->setVisible(bar->isHidden());
    frame->UpdateCommandUI();
}

void CKesto1App::OnViewBandPlot() {
    frame->ShowBandPlot(!frame->BandPlotShown());
}

void CKesto1App::OnLockPlotAxes() {
    frame->LockPlotAxes(!frame->PlotAxesLocked());
}

void CKesto1App::BandDisplayTurnedOn() {
    frame->OfferBandPlot();
}

namespace {

// The application's handlers of the command table's shell rows (the recent files apart).
struct ShellHandler {
    int id;
    void (CKesto1App::*run)();
};

constexpr ShellHandler kShellHandlers[] = {
    {ID_FILE_NEW, &CKesto1App::OnFileNew},
    {ID_FILE_OPEN, &CKesto1App::OnFileOpen},
    {ID_FILE_SAVE, &CKesto1App::OnFileSave},
    {ID_FILE_SAVE_AS, &CKesto1App::OnFileSaveAs},
    {ID_APP_EXIT, &CKesto1App::OnAppExit},
    {ID_APP_ABOUT, &CKesto1App::OnAppAbout},
    {ID_VIEW_TOOLBAR, &CKesto1App::OnViewToolbar},
    {ID_VIEW_STATUS_BAR, &CKesto1App::OnViewStatusBar},
    {ID_VIEW_BAND_PLOT, &CKesto1App::OnViewBandPlot},
    {ID_LOCK_PLOT_AXES, &CKesto1App::OnLockPlotAxes},
};

bool IsRecentFileCommand(int id) {
    return id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4;
}

} // namespace

bool CKesto1App::ExecuteShellCommand(int id) {
    if (!IsShellCommandEnabled(id)) {
        return false;
    }
    if (IsRecentFileCommand(id)) {
        OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
        return true;
    }
    for (const ShellHandler& h : kShellHandlers) {
        if (h.id == id) {
            (this->*h.run)();
            return true;
        }
    }
    return false;
}

bool CKesto1App::IsShellCommandEnabled(int id) const {
    const CommandRow* row = FindCommand(id);
    if (row == nullptr || row->owner != CommandOwner::Shell) {
        return false;
    }
    if (IsRecentFileCommand(id)) {
        return id - ID_FILE_MRU_FILE1 < recentFiles.Count();
    }
    return frame != nullptr;
}

bool CKesto1App::IsShellCommandChecked(int id) const {
    if (frame == nullptr) {
        return false;
    }
    if (id == ID_VIEW_TOOLBAR) {
        return !frame->ToolBar()->isHidden();
    }
    if (id == ID_VIEW_STATUS_BAR) {
        return !frame->StatusBarPane()->isHidden();
    }
    if (id == ID_VIEW_BAND_PLOT) {
        return frame->BandPlotShown();
    }
    if (id == ID_LOCK_PLOT_AXES) {
        return frame->PlotAxesLocked();
    }
    return false;
}

QString CKesto1App::AskExportFileName(const QString& suggested) {
    return fileDialogs.GetExportFileName(suggested);
}

QString CKesto1App::AskNetworkFileName(const QString& suggested) {
    return fileDialogs.GetNetworkFileName(suggested);
}

QString CKesto1App::AskDataFileName() {
    return fileDialogs.GetDataFileName();
}

QString CKesto1App::AskDeviceFileName() {
    return fileDialogs.GetDeviceFileName();
}

void CKesto1App::DeviceLoaded() {
    frame->OfferBandPlot();
}
