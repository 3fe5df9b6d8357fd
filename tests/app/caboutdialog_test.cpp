#include "app/caboutdialog.h"
#include "quorbel_config.h"
#include "tests/app/shellfixture.h"
#include "view/ckesto1view.h"
#include "view/commandids.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace {

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

QStringList ItemTexts(const QDialog& box) {
    QStringList texts;
    for (QObject* child : box.children()) {
        if (auto* label = qobject_cast<QLabel*>(child);
            label != nullptr && label->pixmap().isNull()) {
            texts.append(label->text());
        } else if (auto* button = qobject_cast<QPushButton*>(child)) {
            texts.append(button->text());
        }
    }
    return texts;
}

TEST(AboutBox, TitleAndItemsInOrder) {
    CAboutDialog box;
    const QString site = QString::fromUtf8(kMakerWebAddress);
    EXPECT_EQ(box.windowTitle(),
              QStringLiteral("About ") + site + QStringLiteral(" Ravuz Ozuda Program"));
    const QStringList texts = ItemTexts(box);
    ASSERT_EQ(texts.size(), 9);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("Copyright")));
    EXPECT_EQ(texts[1], QStringLiteral("OK"));
    EXPECT_EQ(texts[2], QStringLiteral("Feedback to: ") + QString::fromUtf8(kFeedbackAddress));
    EXPECT_EQ(texts[3], QStringLiteral("Status bar (bottom of screen) shows commands!"));
    EXPECT_EQ(texts[4], QStringLiteral("Visit ") + site);
    EXPECT_EQ(texts[5], QStringLiteral("Note, this button may not work for everyone"));
    EXPECT_EQ(texts[6],
              QStringLiteral("** Known issues ** :\n ->really small sized windows\n-> some Q "
                             "calcs with transmission lines\n->extreme impedances "
                             "sometimes cause it to blow chunks"));
    EXPECT_TRUE(texts[7].contains(QStringLiteral("e-mail")));
    EXPECT_TRUE(texts[8].contains(QStringLiteral("newcomers")));
    EXPECT_FALSE(box.findChild<QLabel*>(QStringLiteral("programIcon"))->pixmap().isNull());
    EXPECT_FALSE(box.findChild<QLabel*>(QStringLiteral("picture"))->pixmap().isNull());
    const auto* feedback = box.findChild<QLabel*>(QStringLiteral("feedback"));
    EXPECT_EQ(feedback->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(feedback->alignment() & Qt::AlignHCenter);
}

TEST(AboutBox, VisitOpensThePageThroughTheDesktopAndStaysOpen) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "Open");
    CAboutDialog box;
    box.show();
    box.findChild<QPushButton*>(QStringLiteral("visitButton"))->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].host(), QString::fromUtf8(kMakerWebAddress));
    EXPECT_TRUE(box.isVisible());
    box.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(ShellTest, AboutCommandShowsTheBoxModally) {
    Start();
    QString shownTitle;
    QTimer::singleShot(0, &Frame(), [&shownTitle] {
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shownTitle = box->windowTitle();
            box->accept();
        }
    });
    ASSERT_TRUE(Frame().ExecuteCommand(ID_APP_ABOUT));
    EXPECT_TRUE(shownTitle.startsWith(QStringLiteral("About ")));
    EXPECT_FALSE(Doc().IsModified());
}

} // namespace

#include "caboutdialog_test.moc"
