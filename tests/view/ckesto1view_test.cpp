#include "model/bandsettings.h"
#include "view/ckesto1doc.h"
#include "view/ckesto1view.h"
#include "view/iviewshell.h"

#include <QFile>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

// Gives the export command the file name a test sets.
class ExportShell : public IViewShell {
public:
    QString AskExportFileName(const QString& /*suggested*/) override { return exportName; }
    QString exportName;
};

class ViewTest : public ::testing::Test {
protected:
    ViewTest() : view(doc) {
        view.SetShell(&shell);
        view.resize(300, 200);
        view.show();
        view.setFocus();
    }
    CKesto1Doc doc;
    ExportShell shell;
    CKesto1View view;
};

// The shell's keys are left to the window around the view; the view's own are used up, even
// where their command is disabled.
TEST_F(ViewTest, OnlyTheViewsOwnKeysAreTaken) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool taken;
    };
    for (const Case c :
         {Case{Qt::Key_N, Qt::ControlModifier, false}, Case{Qt::Key_O, Qt::ControlModifier, false},
          Case{Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier, false},
          Case{Qt::Key_Z, Qt::ControlModifier, true}, Case{Qt::Key_B, Qt::ControlModifier, true},
          Case{Qt::Key_N, Qt::ControlModifier | Qt::AltModifier, false}}) {
        QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(view.TranslateAccelerator(&event), c.taken) << c.key;
    }
}

TEST_F(ViewTest, KeysWithOtherModifiersOrWithoutHandlerDoNothing) {
    doc.SetModifiedFlag(false);
    QTest::keyClick(&view, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_C, Qt::ShiftModifier);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ViewTest, EnabledAndCheckedStates) {
    EXPECT_FALSE(view.IsCommandEnabled(ID_EDIT_UNDO));
    EXPECT_TRUE(view.IsCommandEnabled(ID_ADD_SERIES_CAPACITOR));
    EXPECT_TRUE(view.IsCommandEnabled(ID_FILE_PRINT));
    // The shell's rows are the application's to run.
    for (const int id : {ID_FILE_NEW, ID_FILE_MRU_FILE1, ID_APP_ABOUT, ID_VIEW_BAND_PLOT}) {
        EXPECT_FALSE(view.IsCommandEnabled(id)) << id;
        EXPECT_FALSE(view.ExecuteCommand(id)) << id;
    }
    EXPECT_FALSE(view.IsCommandChecked(ID_BAND_DISPLAY));
    EXPECT_TRUE(view.ExecuteCommand(ID_BAND_JUNCTIONS));
    EXPECT_TRUE(view.IsCommandChecked(ID_BAND_JUNCTIONS));
    EXPECT_FALSE(view.IsCommandEnabled(12345));
}

TEST_F(ViewTest, PaintsWhite) {
    const QImage image = view.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::white));
}

// Counts the paints the view receives.
class PaintCount : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

TEST_F(ViewTest, FocusAndActivationChangesDoNotRepaint) {
    QCoreApplication::processEvents();
    PaintCount count;
    view.installEventFilter(&count);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QEvent deactivate(QEvent::WindowDeactivate);
    QEvent activate(QEvent::WindowActivate);
    for (QEvent* e : std::initializer_list<QEvent*>{&out, &deactivate, &activate, &in}) {
        QCoreApplication::sendEvent(&view, e);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(count.paints, 0);
    view.removeEventFilter(&count);
}

} // namespace

// With the band display on, the export adds the response plot: a file beside a PNG, the second
// page of a PDF; with it off, the chart alone.
TEST_F(ViewTest, ExportAddsTheBandPlotWhileTheBandIsShown) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    shell.exportName = dir.filePath(QStringLiteral("plain.png"));
    ASSERT_TRUE(view.ExecuteCommand(ID_FILE_EXPORT_CHART));
    EXPECT_TRUE(QFile::exists(shell.exportName));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("plain-band.png"))));

    TurnBandDisplayOn(doc.chart);
    shell.exportName = dir.filePath(QStringLiteral("band.png"));
    ASSERT_TRUE(view.ExecuteCommand(ID_FILE_EXPORT_CHART));
    const QImage plot(dir.filePath(QStringLiteral("band-band.png")));
    EXPECT_EQ(plot.size(), QSize(view.width(), view.height() / 2));

    shell.exportName = dir.filePath(QStringLiteral("band.pdf"));
    ASSERT_TRUE(view.ExecuteCommand(ID_FILE_EXPORT_CHART));
    QFile pdf(shell.exportName);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll().count("/Type /Page\n"), 2);
}
