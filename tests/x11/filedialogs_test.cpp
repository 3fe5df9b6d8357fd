// Saving and exporting through the program's real file dialogs, typed into as a user does.
#include "documentfile.h"
#include "x11shellfixture.h"

#include <QFile>
#include <QImage>
#include <QSvgRenderer>

namespace {

// Types name into the file dialog that opens next and accepts it.
class CTypeFileName : public CModalAnswer {
public:
    explicit CTypeFileName(const QString& name)
        : CModalAnswer([name](QWidget*) {
              XDoLater({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("5"),
                        QStringLiteral("--args"), QStringLiteral("1"), name, QStringLiteral("key"),
                        QStringLiteral("Return")});
          }) {}
};

TEST_F(X11ShellTest, SaveThroughTheFileDialog) {
    Start();
    Chart().AddComponent(NewCapacitor(PLACE_SHUNT, 50, 1000));
    app->Document().SetModifiedFlag(true);
    const QString path = files.filePath(QStringLiteral("design.qbl"));
    {
        CTypeFileName type(path);
        ASSERT_TRUE(Keys(QStringLiteral("ctrl+s")));
        ASSERT_TRUE(WaitUntil([&] { return type.Answered(); }));
        ASSERT_TRUE(AllClosed());
    }
    EXPECT_TRUE(WaitUntil(
        [this] { return Frame().windowTitle() == QStringLiteral("design.qbl - Quorbel"); }));
    EXPECT_FALSE(app->Document().IsModified());
    SmithChrt saved;
    DocumentError error = DocumentError::None;
    ASSERT_EQ(LoadDocumentFile(QFile::encodeName(path).toStdString(), saved, error),
              OpenOutcome::Read);
    EXPECT_EQ(saved.componentCount, 1);
    ASSERT_TRUE(Activate(Frame()));
    EXPECT_TRUE(ViewHasKeyboard());
}

TEST_F(X11ShellTest, ExportThroughTheFileDialog) {
    Start();
    Chart().AddComponent(NewInductor(PLACE_SERIES, 50, 1000));
    const QString svg = files.filePath(QStringLiteral("chart.svg"));
    {
        CTypeFileName type(svg);
        ASSERT_TRUE(Keys(QStringLiteral("ctrl+e")));
        ASSERT_TRUE(WaitUntil([&] { return type.Answered(); }));
        ASSERT_TRUE(AllClosed());
    }
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(svg); }));
    QSvgRenderer drawing(svg);
    EXPECT_TRUE(drawing.isValid());
    EXPECT_EQ(drawing.viewBox().size(), View()->size());

    // A name without an extension takes the first type offered, PNG.
    ASSERT_TRUE(Activate(Frame()));
    {
        CTypeFileName type(files.filePath(QStringLiteral("plain")));
        ASSERT_TRUE(Keys(QStringLiteral("ctrl+e")));
        ASSERT_TRUE(WaitUntil([&] { return type.Answered(); }));
        ASSERT_TRUE(AllClosed());
    }
    const QString png = files.filePath(QStringLiteral("plain.png"));
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(png); }));
    EXPECT_EQ(QImage(png).size(), View()->size());
    EXPECT_FALSE(app->Document().IsModified());
}

} // namespace
