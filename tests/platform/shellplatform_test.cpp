#include "cmessageboxsink.h"
#include "csysfslockkeys.h"
#include "messageboxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RecordingBoxes : public IMessageBoxes {
public:
    void Warning(const QString& text) override { warnings.append(text); }
    bool Question(const QString&) override { return true; }
    SaveAnswer SaveQuestion(const QString&) override { return SaveAnswer::No; }
    QStringList warnings;
};

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

void WriteLed(const QTemporaryDir& dir, const char* name, const char* brightness) {
    QDir(dir.path()).mkpath(QString::fromLatin1(name));
    QFile f(dir.filePath(QString::fromLatin1(name) + QStringLiteral("/brightness")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(brightness);
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
