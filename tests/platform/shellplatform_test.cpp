#include "platform/messages/cmessageboxsink.h"
#include "platform/messages/cqtmessageboxes.h"
#include "platform/messages/messageboxes.h"
#include "platform/shell/csysfslockkeys.h"
#include "platform/shell/shellicons.h"
#include "tests/support/recordingboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

TEST(MessageBoxes, InstalledBoxesReplaceTheQtOnesAndAreRestored) {
    IMessageBoxes& qtBoxes = MessageBoxes();
    RecordingBoxes recorder;
    {
        ScopedMessageBoxes scope(recorder);
        EXPECT_EQ(&MessageBoxes(), &recorder);
        CMessageBoxSink sink;
        sink.Report("problem plotting components");
        EXPECT_EQ(recorder.warnings, QStringList{QStringLiteral("problem plotting components")});
    }
    EXPECT_EQ(&MessageBoxes(), &qtBoxes);
}

struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

TEST(QtMessageBoxes, CaptionIconAndButtons) {
    CQtMessageBoxes boxes;
    struct Case {
        std::function<int()> call;
        QMessageBox::StandardButton press;
        QMessageBox::StandardButtons buttons;
        int expected;
    };
    const std::vector<Case> cases{
        {[&] {
             boxes.Warning(QStringLiteral("Failed to open document."));
             return 0;
         },
         QMessageBox::Ok, QMessageBox::Ok, 0},
        {[&] { return boxes.Question(QStringLiteral("Flip?")) ? 1 : 0; }, QMessageBox::Yes,
         QMessageBox::Yes | QMessageBox::No, 1},
        {[&] { return boxes.Question(QStringLiteral("Flip?")) ? 1 : 0; }, QMessageBox::No,
         QMessageBox::Yes | QMessageBox::No, 0},
        {[&] { return static_cast<int>(boxes.SaveQuestion(QStringLiteral("Save changes to x?"))); },
         QMessageBox::Cancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         static_cast<int>(SaveAnswer::Cancel)},
        {[&] { return static_cast<int>(boxes.SaveQuestion(QStringLiteral("Save changes to x?"))); },
         QMessageBox::No, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         static_cast<int>(SaveAnswer::No)},
    };
    for (const Case& c : cases) {
        ShownBox shown;
        QTimer::singleShot(0, qApp, [&shown, press = c.press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
            box->button(press)->click();
        });
        EXPECT_EQ(c.call(), c.expected);
        EXPECT_EQ(shown.caption, QStringLiteral("Ravuz Ozuda"));
        EXPECT_EQ(shown.icon, QMessageBox::Warning);
        EXPECT_EQ(shown.buttons, c.buttons);
    }
}

// The program's boxes by default, over the modal dialog open at the time (the dialog whose
// field was refused).
TEST(QtMessageBoxes, ShownOverTheOpenDialog) {
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    QWidget* parent = nullptr;
    QString caption;
    QTimer::singleShot(0, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        parent = box->parentWidget();
        caption = box->windowTitle();
        box->accept();
    });
    MessageBoxes().Warning(QStringLiteral("Please enter a number."));
    EXPECT_EQ(parent, &dialog);
    EXPECT_EQ(caption, QStringLiteral("Ravuz Ozuda"));
}

void WriteLed(const QTemporaryDir& dir, const char* name, const char* brightness) {
    QDir(dir.path()).mkpath(QString::fromLatin1(name));
    QFile f(dir.filePath(QString::fromLatin1(name) + QStringLiteral("/brightness")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(brightness);
}

// How sharp an image is: the sum of squared differences between neighbouring pixels, which an
// edge spread over more pixels lowers.
double Sharpness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); ++x) {
            const QColor a = image.pixelColor(x - 1, y);
            const QColor b = image.pixelColor(x, y);
            for (const int d : {a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue(),
                                a.alpha() - b.alpha()}) {
                sum += double(d) * d;
            }
        }
    }
    return sum;
}

TEST(ToolbarIcons, PaintedAtTheDevicePixelRatio) {
    for (const QString& name : ToolbarIconNames()) {
        const QIcon icon = ToolbarIcon(name);
        const QPixmap sharp = icon.pixmap(QSize(32, 32), 2.0);
        EXPECT_EQ(sharp.size(), QSize(64, 64)) << name.toStdString();
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(icon.pixmap(QSize(32, 32), 1.5).size(), QSize(48, 48));
        // Drawn with real detail at 64 pixels, not a 32-pixel picture enlarged: enlarging
        // spreads every edge over twice as many pixels.
        const QImage enlarged =
            icon.pixmap(QSize(32, 32), 1.0)
                .toImage()
                .scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_GT(Sharpness(sharp.toImage()), 1.2 * Sharpness(enlarged)) << name.toStdString();
    }
}

TEST(ToolbarIcons, DisabledIconsAreGreyedAtEveryRatio) {
    const QIcon icon = ToolbarIcon(QStringLiteral("copy"));
    const QImage disabled = icon.pixmap(QSize(32, 32), 2.0, QIcon::Disabled).toImage();
    ASSERT_EQ(disabled.size(), QSize(64, 64));
    EXPECT_NE(disabled, icon.pixmap(QSize(32, 32), 2.0).toImage());
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QColor c = disabled.pixelColor(x, y);
            EXPECT_LE(std::abs(c.red() - c.blue()), 8) << x << "," << y;
        }
    }
}

TEST(LockKeys, ReadsKeyboardLeds) {
    QTemporaryDir dir;
    WriteLed(dir, "input3::capslock", "0\n");
    WriteLed(dir, "input7::capslock", "1\n");
    WriteLed(dir, "input3::numlock", "1\n");
    WriteLed(dir, "input3::scrolllock", "0\n");
    WriteLed(dir, "platform::mute", "1\n");
    CSysfsLockKeys keys(dir.path().toStdString());
    EXPECT_EQ(keys.Read(), (LockKeys{true, true, false}));
    WriteLed(dir, "input7::capslock", "0\n");
    WriteLed(dir, "input3::scrolllock", "1\n");
    EXPECT_EQ(keys.Read(), (LockKeys{false, true, true}));
}

TEST(LockKeys, NoLedsReadAsOff) {
    CSysfsLockKeys keys("/nonexistent/leds");
    EXPECT_EQ(keys.Read(), LockKeys{});
}

} // namespace
