// The copy and move dialog's folder history in "folder.ini", and the paths of a desktop drop.
#include "core/files/FolderHistory.h"
#include "core/files/UriList.h"

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vorlo::FolderHistory;
using vorlo::UriList;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(FolderHistoryTest, TheNewestComesFirstAFolderUsedAgainMovesUpAndOnlyANewOnePushesTheOldestOut) {
    QTemporaryDir dir;
    const QString file = FolderHistory::fileIn(dir.path());
    EXPECT_EQ(file, dir.path() + "/folder.ini");
    FolderHistory history;
    for (int i = 1; i <= 15; ++i) history.add(QString("/music/%1").arg(i));
    ASSERT_EQ(history.folders().size(), 15);
    EXPECT_EQ(history.folders().first(), "/music/15");

    history.add("/music/7");  // already there: to the head, nothing lost
    EXPECT_EQ(history.folders().size(), 15);
    EXPECT_EQ(history.folders().first(), "/music/7");
    EXPECT_EQ(history.folders().count("/music/7"), 1);
    EXPECT_EQ(history.folders().last(), "/music/1");

    history.add("/new");  // new: the oldest goes
    EXPECT_EQ(history.folders().size(), 15);
    EXPECT_EQ(history.folders().first(), "/new");
    EXPECT_FALSE(history.folders().contains("/music/1"));

    history.save(file);
    const QByteArray bytes = bytesOf(file);
    EXPECT_TRUE(bytes.startsWith("/new\r\n/music/7\r\n/music/15\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 15);
    FolderHistory again;
    again.load(file);
    EXPECT_EQ(again.folders(), history.folders());

    // Without a program folder nothing is kept.
    EXPECT_TRUE(FolderHistory::fileIn(QString()).isEmpty());
    FolderHistory none;
    none.load(dir.path() + "/missing.ini");
    EXPECT_TRUE(none.folders().isEmpty());
}

TEST(UriListTest, LocalFilesComeOutByteForByteAndRemoteOnesAreLeftOut) {
    const QByteArray payload =
        "# dropped by a file manager\r\n"
        "file:///home/u/My%20Songs/%23one%25.mid\r\n"
        "file://localhost/home/u/caf%C3%A9.KAR\r\n"
        "http://example.org/song.mid\r\n"
        "sftp://host/home/u/song.mid\r\n"
        "file://otherhost/home/u/far.mid\r\n"
        "file:/home/u/plain.wav\r\n"
        "file:///home/u/caf%E9.mid\r\n"
        "file://" +
        QSysInfo::machineHostName().toUtf8() + "/home/u/here.mid\r\n";
    const UriList list = UriList::parse(payload);
    EXPECT_EQ(list.paths,
              QStringList({"/home/u/My Songs/#one%.mid", "/home/u/café.KAR", "/home/u/plain.wav", "/home/u/here.mid"}));
    // A Latin-1 name is no valid UTF-8: no path of the player could reach it.
    EXPECT_EQ(list.unusable.size(), 1);
}

}  // namespace
