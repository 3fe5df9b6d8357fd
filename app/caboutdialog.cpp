#include "app/caboutdialog.h"

#include "app/makerinfo.h"
#include "platform/shell/shellicons.h"
#include "quorbel_config.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* Text(QDialog* box, const QString& text, const char* name, bool centred) {
    auto* label = new QLabel(text, box);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    if (centred) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    }
    return label;
}

} // namespace

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
    const MakerInfo maker = Maker();
    setWindowTitle(QStringLiteral("About ") + maker.siteName + QStringLiteral(" ") +
                   QString::fromUtf8(kProgramTitle) + QStringLiteral(" Program"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("programIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/quorbel/quorbel.svg")).pixmap(32, 32));
    auto* copyright = Text(this, maker.copyright, "copyright", false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* feedback =
        Text(this, QStringLiteral("Feedback to: ") + maker.feedbackAddress, "feedback", true);
    feedback->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* statusNote = Text(this, QStringLiteral("Status bar (bottom of screen) shows commands!"),
                            "statusNote", true);
    auto* visit = new QPushButton(QStringLiteral("Visit ") + maker.siteName, this);
    visit->setObjectName(QStringLiteral("visitButton"));
    visit->setAutoDefault(false);
    connect(visit, &QPushButton::clicked, this, &CAboutDialog::OnVisit);
    auto* visitNote = Text(this, QStringLiteral("Note, this button may not work for everyone"),
                           "visitNote", true);
    auto* issues = Text(this, QString::fromLatin1(kKnownIssues), "knownIssues", true);
    issues->setWordWrap(false);
    auto* request = Text(this,
                         QStringLiteral("If you find a case that shows graphical or other quirks, "
                                        "please save it to a document file and send it by e-mail "
                                        "to the address above."),
                         "request", false);
    auto* appeal = Text(this,
                        QStringLiteral("Please help newcomers to microwaves and RF: pass on your "
                                       "surplus equipment, parts and books to them. 73!"),
                        "appeal", true);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(AboutPicture(360, 48));
    picture->setAlignment(Qt::AlignCenter);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(copyright, 1);
    top->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    for (QWidget* w : {static_cast<QWidget*>(feedback), static_cast<QWidget*>(statusNote),
                       static_cast<QWidget*>(visit), static_cast<QWidget*>(visitNote),
                       static_cast<QWidget*>(issues), static_cast<QWidget*>(request),
                       static_cast<QWidget*>(appeal), static_cast<QWidget*>(picture)}) {
        layout->addWidget(w);
    }
}

void CAboutDialog::OnVisit() {
    QDesktopServices::openUrl(QUrl::fromUserInput(Maker().webAddress));
}
