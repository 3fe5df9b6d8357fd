#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"
#include "view/commandids.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

QStringList RecentMenuTexts(CMainFrame& frame) {
    QStringList texts;
    for (QAction* a : frame.menuBar()->actions().first()->menu()->actions()) {
        const int id = a->data().toInt();
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE4 && a->isVisible()) {
            texts.append(a->text());
        }
    }
    return texts;
}

TEST_F(ShellTest, OpenShowsTheFileNameAndClearsModified) {
    Start();
    const QString path = WriteDocumentFile(QStringLiteral("first.qbl"), "First", 2);
    dialogs.openNames = {path};
    QTest::keyClick(Frame().View(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("first.qbl - Quorbel"));
    EXPECT_EQ(Doc().chart.title, "First");
    EXPECT_EQ(Doc().chart.componentCount, 2);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(ShellTest, CommandLineDocumentIsOpenedAtStart) {
    const QString path = WriteDocumentFile(QStringLiteral("start.qbl"), "From the command line");
    Start(path);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("start.qbl - Quorbel"));
    EXPECT_EQ(Doc().chart.title, "From the command line");
    EXPECT_EQ(app->RecentFiles().At(0), QFileInfo(path).absoluteFilePath());
}

TEST_F(ShellTest, CommandLineDocumentThatCannotBeOpenedEndsStartUp) {
    app = std::make_unique<CKesto1App>(dialogs, lockKeys);
    EXPECT_FALSE(app->InitInstance(Path(QStringLiteral("absent.qbl"))));
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to open document.")});
}

TEST_F(ShellTest, RecentFilesKeepTheLastFourAndSurviveARestart) {
    Start();
    QStringList paths;
    for (int i = 1; i <= 5; ++i) {
        paths.append(WriteDocumentFile(QStringLiteral("doc%1.qbl").arg(i), "T"));
        ASSERT_TRUE(app->OpenDocumentFile(paths.last()));
    }
    const QStringList expected{paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(app->RecentFiles().Entries(), expected);
    const QStringList menu = RecentMenuTexts(Frame());
    ASSERT_EQ(menu.size(), 4);
    EXPECT_TRUE(menu[0].startsWith(QStringLiteral("&1 ")));
    EXPECT_TRUE(menu[0].endsWith(QStringLiteral("doc5.qbl")));
    EXPECT_TRUE(menu[3].endsWith(QStringLiteral("doc2.qbl")));

    Restart();
    EXPECT_EQ(app->RecentFiles().Entries(), expected);
    EXPECT_EQ(RecentMenuTexts(Frame()).size(), 4);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Quorbel"));

    // An entry opens its document and moves to the top.
    ASSERT_TRUE(Frame().ExecuteCommand(ID_FILE_MRU_FILE3));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("doc3.qbl - Quorbel"));
    EXPECT_EQ(app->RecentFiles().At(0), paths[2]);
}

TEST_F(ShellTest, RecentEntryThatFailsLeavesTheList) {
    Start();
    const QString path = WriteDocumentFile(QStringLiteral("gone.qbl"), "T");
    ASSERT_TRUE(app->OpenDocumentFile(path));
    Doc().OnNewDocument();
    QFile::remove(path);
    Frame().ExecuteCommand(ID_FILE_MRU_FILE1);
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to open document.")});
    EXPECT_EQ(app->RecentFiles().Count(), 0);
}

TEST_F(ShellTest, SaveQuestionOnlyForAModifiedDocument) {
    Start();
    app->OnFileNew();
    EXPECT_TRUE(boxes.questions.isEmpty());

    Doc().chart.frequency = 123;
    Doc().SetModifiedFlag();
    boxes.saveAnswers = {SaveAnswer::Cancel};
    app->OnFileNew();
    EXPECT_EQ(boxes.questions, QStringList{QStringLiteral("Save changes to Untitled?")});
    EXPECT_TRUE(Doc().IsModified()) << "Cancel keeps the document";

    boxes.saveAnswers = {SaveAnswer::No};
    app->OnFileNew();
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().chart.frequency, 123) << "File New keeps the frequency";
    EXPECT_EQ(boxes.questions.size(), 2);
}

TEST_F(ShellTest, SaveQuestionBeforeOpenAndCloseNamesThePath) {
    Start();
    const QString a = WriteDocumentFile(QStringLiteral("a.qbl"), "A");
    const QString b = WriteDocumentFile(QStringLiteral("b.qbl"), "B");
    ASSERT_TRUE(app->OpenDocumentFile(a));
    Doc().SetModifiedFlag();
    boxes.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(app->OpenDocumentFile(b));
    EXPECT_EQ(Doc().chart.title, "A");
    EXPECT_EQ(boxes.questions.last(),
              QStringLiteral("Save changes to %1?").arg(QFileInfo(a).absoluteFilePath()));

    boxes.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(Frame().close());
    EXPECT_TRUE(Frame().isVisible());
    boxes.saveAnswers = {SaveAnswer::Cancel};
    Frame().ExecuteCommand(ID_APP_EXIT);
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(boxes.questions.size(), 3);

    // Yes saves the document under its own name, then it closes.
    Doc().chart.title = "A changed";
    boxes.saveAnswers = {SaveAnswer::Yes};
    EXPECT_TRUE(Frame().close());
    EXPECT_TRUE(dialogs.suggestions.isEmpty());
    CKesto1Doc reread;
    ASSERT_EQ(reread.OnOpenDocument(a), DocumentError::None);
    EXPECT_EQ(reread.chart.title, "A changed");
}

TEST_F(ShellTest, CloseOfAnUnmodifiedDocumentAsksNothing) {
    Start();
    EXPECT_TRUE(Frame().close());
    EXPECT_TRUE(boxes.questions.isEmpty());
}

TEST_F(ShellTest, SaveAsAddsTheExtensionAndTakesTheName) {
    Start();
    Doc().SetModifiedFlag();
    dialogs.saveNames = {Path(QStringLiteral("network"))};
    QTest::keyClick(Frame().View(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.suggestions, QStringList{QStringLiteral("Untitled.qbl")});
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("network.qbl"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("network"))));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("network.qbl - Quorbel"));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(app->RecentFiles().At(0), Path(QStringLiteral("network.qbl")));

    // Save now writes to the same file without asking.
    Doc().chart.title = "again";
    app->OnFileSave();
    EXPECT_EQ(dialogs.suggestions.size(), 1);
    CKesto1Doc reread;
    ASSERT_EQ(reread.OnOpenDocument(Path(QStringLiteral("network.qbl"))), DocumentError::None);
    EXPECT_EQ(reread.chart.title, "again");

    // Save As with a name that has an extension keeps it; a cancelled dialog saves nothing.
    dialogs.saveNames = {Path(QStringLiteral("copy.dat"))};
    app->OnFileSaveAs();
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("copy.dat"))));
    EXPECT_EQ(dialogs.suggestions.last(), Path(QStringLiteral("network.qbl")));
    app->OnFileSaveAs();
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("copy.dat - Quorbel"));
}

TEST_F(ShellTest, OpenDialogNameWithoutExtensionFindsTheDocument) {
    Start();
    WriteDocumentFile(QStringLiteral("plain.qbl"), "Plain");
    dialogs.openNames = {Path(QStringLiteral("plain"))};
    app->OnFileOpen();
    EXPECT_EQ(Doc().chart.title, "Plain");
    dialogs.openNames.clear();
    app->OnFileOpen(); // cancelled
    EXPECT_EQ(Doc().chart.title, "Plain");
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(ShellTest, TruncatedFileIsReportedAndTheDocumentStaysAsItWas) {
    Start();
    const QString good = WriteDocumentFile(QStringLiteral("good.qbl"), "Good", 3);
    ASSERT_TRUE(app->OpenDocumentFile(good));
    Doc().chart.frequency = 77;
    Doc().SetModifiedFlag();
    SmithChrt other;
    other.ResetForNewDocument();
    other.frequency = 5000;
    for (int i = 0; i < 3; ++i) {
        other.AddComponent(NewCapacitor(PLACE_SERIES, 50, 5000));
    }
    const QByteArray full = Bytes(other);
    WriteBytes(QStringLiteral("cut.qbl"), full.left(full.size() - 100));
    boxes.saveAnswers = {SaveAnswer::No};
    EXPECT_FALSE(app->OpenDocumentFile(Path(QStringLiteral("cut.qbl"))));
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Unexpected file format.")});
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("good.qbl - Quorbel"));
    EXPECT_EQ(Doc().chart.title, "Good");
    EXPECT_EQ(Doc().chart.frequency, 77);
    EXPECT_EQ(Doc().chart.componentCount, 3);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(app->RecentFiles().Count(), 1);
}

TEST_F(ShellTest, MissingFileIsReported) {
    Start();
    dialogs.openNames = {Path(QStringLiteral("nowhere.qbl"))};
    app->OnFileOpen();
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to open document.")});
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Quorbel"));
}

TEST_F(ShellTest, UnwritablePathIsReported) {
    Start();
    Doc().SetModifiedFlag();
    dialogs.saveNames = {Path(QStringLiteral("no/such/folder/x.qbl"))};
    app->OnFileSaveAs();
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to save document.")});
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Quorbel"));
    // A failed save in the save question keeps the window open.
    dialogs.saveNames = {Path(QStringLiteral("no/such/folder/x.qbl"))};
    boxes.saveAnswers = {SaveAnswer::Yes};
    EXPECT_FALSE(Frame().close());
    EXPECT_EQ(boxes.warnings.size(), 2);
}

TEST_F(ShellTest, ZeroLengthFileKeepsTheContentUnderItsName) {
    Start();
    Doc().chart.title = "Kept";
    Doc().chart.AddComponent(NewInductor(PLACE_SHUNT, 50, 1000));
    Doc().SetModifiedFlag();
    WriteBytes(QStringLiteral("empty.qbl"), QByteArray());
    boxes.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(app->OpenDocumentFile(Path(QStringLiteral("empty.qbl"))));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("empty.qbl - Quorbel"));
    EXPECT_EQ(Doc().chart.title, "Kept");
    EXPECT_EQ(Doc().chart.componentCount, 1);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(boxes.warnings.isEmpty());
}

TEST_F(ShellTest, NewAfterOpenResetsNameAndCaption) {
    Start();
    ASSERT_TRUE(app->OpenDocumentFile(WriteDocumentFile(QStringLiteral("n.qbl"), "N", 1)));
    QTest::keyClick(Frame().View(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Quorbel"));
    EXPECT_TRUE(Doc().GetPathName().isEmpty());
    EXPECT_EQ(Doc().chart.componentCount, 0);
}

} // namespace
