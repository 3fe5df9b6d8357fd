#include "platform/shell/csettingsstore.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Without any redirection, the store must land in the test location of QStandardPaths,
// never in the user's own configuration.
TEST(SettingsStore, TestModeKeepsUserSettingsAlone) {
    ASSERT_TRUE(QStandardPaths::isTestModeEnabled());
    const QString testConfig =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    ASSERT_TRUE(testConfig.contains(QStringLiteral("qttest")));
    CSettingsStore store;
    EXPECT_TRUE(store.FileName().startsWith(testConfig)) << store.FileName().toStdString();
    EXPECT_TRUE(store.FileName().endsWith(
        QStringLiteral("Local AppWizard-Generated Applications/Ravuz Ozuda.conf")))
        << store.FileName().toStdString();
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    }
    QTemporaryDir dir;
};

TEST_F(SettingsStoreTest, RecentFilesRoundTripInOrder) {
    {
        CSettingsStore store;
        EXPECT_TRUE(store.FileName().startsWith(dir.path()));
        EXPECT_TRUE(store.ReadRecentFiles(4).isEmpty());
        store.WriteRecentFiles(
            {QStringLiteral("/a/d.qbl"), QStringLiteral("/a/c.qbl"), QStringLiteral("/a/b.qbl")});
    }
    CSettingsStore again;
    EXPECT_EQ(again.ReadRecentFiles(4),
              (QStringList{QStringLiteral("/a/d.qbl"), QStringLiteral("/a/c.qbl"),
                           QStringLiteral("/a/b.qbl")}));
    again.WriteRecentFiles({QStringLiteral("/x.qbl")});
    CSettingsStore third;
    EXPECT_EQ(third.ReadRecentFiles(4), QStringList{QStringLiteral("/x.qbl")});
}

TEST_F(SettingsStoreTest, SectionsAndValueNames) {
    {
        CSettingsStore store;
        store.WriteRecentFiles({QStringLiteral("/one.qbl"), QStringLiteral("/two.qbl")});
        store.WritePreviewPages(2);
    }
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope,
                  QStringLiteral("Local AppWizard-Generated Applications"),
                  QStringLiteral("Ravuz Ozuda"));
    EXPECT_EQ(raw.value(QStringLiteral("Recent File List/File1")).toString(),
              QStringLiteral("/one.qbl"));
    EXPECT_EQ(raw.value(QStringLiteral("Recent File List/File2")).toString(),
              QStringLiteral("/two.qbl"));
    EXPECT_FALSE(raw.contains(QStringLiteral("Recent File List/File3")));
    EXPECT_EQ(raw.value(QStringLiteral("Settings/PreviewPages")).toInt(), 2);
    EXPECT_EQ(CSettingsStore().ReadPreviewPages(), 2);
}

TEST_F(SettingsStoreTest, GapsAndJunkAreSkipped) {
    {
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope,
                      QStringLiteral("Local AppWizard-Generated Applications"),
                      QStringLiteral("Ravuz Ozuda"));
        raw.setValue(QStringLiteral("Recent File List/File2"), QStringLiteral("/second.qbl"));
        raw.setValue(QStringLiteral("Recent File List/File7"), QStringLiteral("/seventh.qbl"));
        raw.setValue(QStringLiteral("Settings/PreviewPages"), QStringLiteral("many"));
    }
    CSettingsStore store;
    EXPECT_EQ(store.ReadRecentFiles(4), QStringList{QStringLiteral("/second.qbl")});
    EXPECT_EQ(store.ReadPreviewPages(), 0);
}

TEST_F(SettingsStoreTest, WindowPlacementBesideTheOtherSections) {
    EXPECT_EQ(CSettingsStore().ReadWindowPlacement(), std::nullopt);
    CSettingsStore().WriteWindowPlacement({QRect(-40, 30, 900, 500), true});
    EXPECT_EQ(CSettingsStore().ReadWindowPlacement(),
              (WindowPlacement{QRect(-40, 30, 900, 500), true}));
    QSettings raw(QSettings::NativeFormat, QSettings::UserScope,
                  QStringLiteral("Local AppWizard-Generated Applications"),
                  QStringLiteral("Ravuz Ozuda"));
    EXPECT_EQ(raw.childGroups(), QStringList{QStringLiteral("Window")});
    EXPECT_EQ(raw.value(QStringLiteral("Window/Width")).toInt(), 900);
    // A size that no window can have is no placement.
    raw.setValue(QStringLiteral("Window/Height"), 0);
    raw.sync();
    EXPECT_EQ(CSettingsStore().ReadWindowPlacement(), std::nullopt);
    raw.setValue(QStringLiteral("Window/Height"), QStringLiteral("tall"));
    raw.sync();
    EXPECT_EQ(CSettingsStore().ReadWindowPlacement(), std::nullopt);
}

} // namespace
