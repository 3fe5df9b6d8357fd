#include "app/crecentfilelist.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(RecentFileList, MostRecentFirstWithoutDuplicates) {
    CRecentFileList list(4);
    for (const char* p : {"/d/a.qbl", "/d/b.qbl", "/d/c.qbl", "/d/b.qbl", "/d/e.qbl", "/d/f.qbl"}) {
        list.Add(QString::fromLatin1(p));
    }
    EXPECT_EQ(list.Entries(),
              (QStringList{QStringLiteral("/d/f.qbl"), QStringLiteral("/d/e.qbl"),
                           QStringLiteral("/d/b.qbl"), QStringLiteral("/d/c.qbl")}));
    list.Remove(1);
    list.Remove(9);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(1), QStringLiteral("/d/b.qbl"));
}

TEST(RecentFileList, MenuTexts) {
    CRecentFileList list(4);
    list.SetEntries({QDir::current().absoluteFilePath(QStringLiteral("here.qbl")),
                     QStringLiteral("/tmp/R&D/x.qbl"),
                     QStringLiteral("/very/long/folder/names/that/go/on/and/on/forever/file.qbl"),
                     QStringLiteral("/tmp/R&D/x.qbl"), QStringLiteral("/e.qbl"),
                     QStringLiteral("/f.qbl")});
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.MenuText(0), QStringLiteral("&1 here.qbl"));
    EXPECT_EQ(list.MenuText(1), QStringLiteral("&2 /tmp/R&&D/x.qbl"));
    const QString shortened = list.MenuText(2);
    EXPECT_TRUE(shortened.startsWith(QStringLiteral("&3 ...")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("/forever/file.qbl")));
    EXPECT_LE(shortened.size(), 53);
}

} // namespace
