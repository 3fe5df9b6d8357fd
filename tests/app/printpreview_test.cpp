#include "platform/shell/csettingsstore.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"
#include "view/commandids.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>

namespace {

/// The view mode of the preview that the Print Preview command shows; the preview is closed.
QPrintPreviewWidget::ViewMode PreviewModeOf(CKesto1View& view) {
    QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::FacingPagesView;
    QTimer::singleShot(0, [&mode] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
            mode = preview->viewMode();
        }
        dialog->reject();
    });
    QTimer::singleShot(5000, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    view.ExecuteCommand(ID_FILE_PRINT_PREVIEW);
    return mode;
}

TEST_F(ShellTest, PrintPreviewShowsThePageCountOfTheSettings) {
    CSettingsStore().WritePreviewPages(2);
    Start();
    EXPECT_EQ(app->PreviewPages(), 2);
    EXPECT_EQ(PreviewModeOf(*Frame().View()), QPrintPreviewWidget::AllPagesView);
    app->SetPreviewPages(1);
    EXPECT_EQ(PreviewModeOf(*Frame().View()), QPrintPreviewWidget::SinglePageView);
}

TEST_F(ShellTest, PrintPreviewWithoutStoredPageCountShowsOnePage) {
    Start();
    EXPECT_EQ(PreviewModeOf(*Frame().View()), QPrintPreviewWidget::SinglePageView);
}

TEST_F(ShellTest, ChangedDocumentShowsItsDrawMessagesAgain) {
    Start();
    QApplication::processEvents();
    Component bad = NewResistor(PLACE_SERIES, 50);
    bad.kind = 99;
    Doc().chart.AddComponent(bad);
    auto problems = [this] {
        Frame().View()->grab();
        QApplication::processEvents();
        return boxes.warnings.count(QStringLiteral("problem plotting components"));
    };
    Frame().OnDocumentChanged();
    EXPECT_EQ(problems(), 1);
    Frame().View()->update();
    EXPECT_EQ(problems(), 1);
    Frame().OnDocumentChanged();
    EXPECT_EQ(problems(), 2);
}

} // namespace
