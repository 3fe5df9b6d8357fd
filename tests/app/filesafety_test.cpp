// The window's Save and Open on links, pipes, read-only and damaged files.
#include "model/documentfile.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"

#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

namespace {

TEST_F(ShellTest, CtrlSOnADocumentOpenedThroughALinkWritesTheLinkedFile) {
    ASSERT_TRUE(QDir(files.path()).mkpath(QStringLiteral("real")));
    ASSERT_TRUE(QDir(files.path()).mkpath(QStringLiteral("links")));
    WriteDocumentFile(QStringLiteral("real/design.qbl"), "Before", 1);
    const QString link = Path(QStringLiteral("links/design.qbl"));
    ASSERT_TRUE(QFile::link(QStringLiteral("../real/design.qbl"), link));
    Start(link);
    ASSERT_EQ(Doc().chart.title, "Before");
    Doc().chart.title = "After";
    Doc().SetModifiedFlag();
    QTest::keyClick(Frame().View(), Qt::Key_S, Qt::ControlModifier);

    EXPECT_TRUE(dialogs.suggestions.isEmpty()) << "saved without asking for a name";
    EXPECT_TRUE(boxes.warnings.isEmpty());
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    CKesto1Doc reread;
    ASSERT_EQ(reread.OnOpenDocument(Path(QStringLiteral("real/design.qbl"))), DocumentError::None);
    EXPECT_EQ(reread.chart.title, "After");
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("design.qbl - Quorbel"));
}

TEST_F(ShellTest, PipesAreRefusedWithoutWaiting) {
    const QString pipe = Path(QStringLiteral("pipe.qbl"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    app = std::make_unique<CKesto1App>(dialogs, lockKeys);
    EXPECT_FALSE(app->InitInstance(pipe));
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to open document.")});

    boxes.warnings.clear();
    Start();
    dialogs.openNames = {pipe};
    app->OnFileOpen();
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to open document.")});
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Quorbel"));
}

TEST_F(ShellTest, AReadOnlyFileIsSavedOnlyUnderANewName) {
    const QString locked = WriteDocumentFile(QStringLiteral("locked.qbl"), "Locked");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0444), 0);
    QFile f(locked);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    Start(locked);
    Doc().chart.title = "Changed";
    Doc().SetModifiedFlag();
    app->OnFileSave(); // asks for a name; the dialog is cancelled
    EXPECT_EQ(dialogs.suggestions, QStringList{QFileInfo(locked).absoluteFilePath()});
    dialogs.saveNames = {locked};
    app->OnFileSaveAs(); // the same name typed in the dialog
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Failed to save document.")});
    EXPECT_EQ(boxes.details, QStringList{QStringLiteral("the file is read-only")});
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_TRUE(Doc().IsModified());
}

// A document whose stored extras are damaged opens without them, and the user is told so.
TEST_F(ShellTest, WhatAFileHeldThatCouldNotBeReadIsToldAtOpen) {
    SmithChrt chart;
    chart.ResetForNewDocument();
    chart.title = "Damaged";
    chart.band = {400, 470, 21, true, false};
    std::vector<uint8_t> bytes = WriteDocument(chart);
    bytes.back() ^= 1; // the trailer's checksum
    const QString path = Path(QStringLiteral("damaged.qbl"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    f.close();
    Start();
    dialogs.openNames = {path};
    app->OnFileOpen();
    EXPECT_EQ(boxes.warnings, QStringList{QStringLiteral("Part of the document was not read: the "
                                                         "data after the network is damaged.")});
    EXPECT_EQ(Doc().chart.title, "Damaged");
    EXPECT_FALSE(Doc().chart.band.display);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("damaged.qbl - Quorbel"));
}

} // namespace
