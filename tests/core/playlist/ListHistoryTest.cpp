#include "core/playlist/ListFile.h"
#include "core/playlist/ListHistory.h"

#include "SmallDisk.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <functional>

using namespace vorlo;

namespace {

QString list(int n) { return QString("/lists/%1.mpl").arg(n); }

TEST(ListHistoryTest, OpeningTheSameListTwiceKeepsItOnceAtTheTop) {
    ListHistory history;
    history.PushHistory(list(1));
    history.PushHistory(list(2));
    history.PushHistory(list(1));
    EXPECT_EQ(history.entries(), (QStringList{list(1), list(2)}));
    EXPECT_EQ(history.menuItems(), QStringList{list(2)});  // the open list is not a recent one
}

TEST(ListHistoryTest, SixteenListsKeepFifteenAndTheMenuFourteen) {
    ListHistory history;
    for (int i = 1; i <= 16; ++i) history.PushHistory(list(i));
    ASSERT_EQ(history.entries().size(), 15);
    EXPECT_EQ(history.entries().first(), list(16));
    EXPECT_EQ(history.entries().last(), list(2));  // the oldest went
    ASSERT_EQ(history.menuItems().size(), 14);
    EXPECT_EQ(history.menuItems().first(), list(15));
    EXPECT_FALSE(history.menuItems().contains(list(16)));
}

TEST(ListHistoryTest, AClosedListHeadsTheMenuAndReopeningItMovesNothingElse) {
    ListHistory history;
    for (int i = 1; i <= 3; ++i) history.PushHistory(list(i));
    history.listClosed();
    EXPECT_EQ(history.menuItems(), (QStringList{list(3), list(2), list(1)}));
    history.PushHistory(list(3));
    EXPECT_EQ(history.menuItems(), (QStringList{list(2), list(1)}));
    EXPECT_EQ(history.entries(), (QStringList{list(3), list(2), list(1)}));
    history.listClosed();
    history.listClosed();  // closing twice adds no second item
    EXPECT_EQ(history.menuItems(), (QStringList{list(3), list(2), list(1)}));
}

TEST(ListHistoryTest, ARecentListThatIsGoneIsForgottenAlone) {
    ListHistory history;
    for (int i = 1; i <= 4; ++i) history.PushHistory(list(i));
    // menu: 3, 2, 1 while 4 is open
    history.forgetMenuItem(1);
    EXPECT_EQ(history.menuItems(), (QStringList{list(3), list(1)}));
    EXPECT_EQ(history.entries(), (QStringList{list(4), list(3), list(1)}));
}

TEST(ListHistoryTest, HistoryIniRoundTripAndStartUp) {
    QTemporaryDir dir;
    const QString ini = dir.path() + "/History.ini";
    ListHistory empty;
    empty.save(ini);
    EXPECT_FALSE(QFile::exists(ini));  // an empty history leaves no file (and keeps an old one)

    ListHistory saved;
    for (int i = 1; i <= 3; ++i) saved.PushHistory(list(i));
    saved.save(ini);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "/lists/3.mpl\r\n/lists/2.mpl\r\n/lists/1.mpl\r\n");

    ListHistory loaded;
    loaded.load(ini, "/ignored.mpl");
    EXPECT_EQ(loaded.entries(), saved.entries());
    EXPECT_EQ(loaded.menuItems(), saved.entries());
    loaded.takeOpenedFromMenu(list(3));  // auto-loaded at start: it is the open list
    EXPECT_EQ(loaded.menuItems(), (QStringList{list(2), list(1)}));

    ListHistory fresh;
    fresh.load(dir.path() + "/none.ini", "/last.mpl");
    EXPECT_EQ(fresh.entries(), QStringList{"/last.mpl"});
    EXPECT_TRUE(fresh.menuItems().isEmpty());
    ListHistory nothing;
    nothing.load(dir.path() + "/none.ini", "*.mpl");
    EXPECT_TRUE(nothing.isEmpty());
}

QString failure(const std::function<void()>& step) {
    try {
        step();
        return "done";
    } catch (const EListFileError& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

// Only the head of History.ini is read: a million lines give the first 15, and a last line cut at the limit
// is left out rather than taken as a wrong, shorter name.
TEST(ListHistoryTest, AHugeHistoryIniGivesItsFirstFifteenCompleteLines) {
    QTemporaryDir dir;
    const QString ini = dir.path() + "/History.ini";
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray lines;
        for (int i = 0; i < 1000000; ++i) lines += "/lists/" + QByteArray::number(i) + ".mpl\r\n";
        file.write(lines);
    }
    ListHistory history;
    history.load(ini, "*.mpl");
    ASSERT_EQ(history.entries().size(), ListHistory::kMaxEntries);
    EXPECT_EQ(history.entries().first(), "/lists/0.mpl");
    EXPECT_EQ(history.entries().last(), "/lists/14.mpl");

    const QByteArray longLine(ListHistory::kMaxReadBytes, 'x');
    EXPECT_EQ(ListHistory::parse("/a.mpl\r\n/b" + longLine.left(20), true), QStringList{"/a.mpl"});
    EXPECT_EQ(ListHistory::parse("/a.mpl\r\n/b.mpl", false), (QStringList{"/a.mpl", "/b.mpl"}));
    EXPECT_TRUE(ListHistory::parse(longLine, true).isEmpty());
}

// History.ini is the player's own file: never written through a link, whatever the link leads to, and never
// read from something that is not a file. Its errors name History.ini as the list history.
TEST(ListHistoryTest, HistoryIniAsALinkOrASpecialFileIsNeverWrittenOrWaitedFor) {
    QTemporaryDir dir;
    const QString ini = dir.path() + "/History.ini";
    const QString copy = dir.path() + "/passwd-copy";
    {
        QFile file(copy);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("root:x:0:0:root:/root:/bin/bash\n");
    }
    ASSERT_TRUE(QFile::link(copy, ini));
    ListHistory history;
    history.PushHistory(list(1));
    EXPECT_EQ(failure([&] { history.save(ini); }),
              "Cannot save the list history " + ini +
                  ": it is a symbolic link, and the player does not write its own files through links");
    QFile kept(copy);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "root:x:0:0:root:/root:/bin/bash\n");

    const QString fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QFile::link(fifo, ini));
    ListHistory loaded;
    EXPECT_EQ(failure([&] { loaded.load(ini, "*.mpl"); }),
              "Cannot read the list history " + ini + ": it is not a regular file.");
    EXPECT_TRUE(failure([&] { history.save(ini); }).contains("symbolic link"));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

TEST(ListHistoryTest, AFullDiskKeepsTheOldHistoryIni) {
    test::SmallDisk disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << qPrintable(disk.reason());
    const QString ini = disk.path() + "/History.ini";
    ListHistory history;
    history.PushHistory(list(1));
    history.save(ini);
    disk.fill();
    for (int i = 2; i <= 15; ++i) history.PushHistory(QString(200, QChar('a' + i)) + ".mpl");
    EXPECT_EQ(failure([&] { history.save(ini); }), "Cannot save the list history " + ini + ": No space left on device");
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "/lists/1.mpl\r\n");
}

}  // namespace
