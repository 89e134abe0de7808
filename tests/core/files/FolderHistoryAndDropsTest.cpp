// The copy and move dialog's folder history in "folder.ini", and the paths of a desktop drop.
#include "core/files/FolderHistory.h"
#include "core/files/UriList.h"
#include "os/NativePath.h"

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

// folder.ini is read only as far as its 15 folders go, and never waited on: a FIFO in its place would have held the
// copy dialog (and the player) for good.
TEST(FolderHistoryTest, OnlyTheHeadOfARegularFileIsRead) {
    ::alarm(60);  // a read that blocks fails the run instead of hanging it
    QTemporaryDir dir;
    const QString file = FolderHistory::fileIn(dir.path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    FolderHistory fromFifo;
    fromFifo.load(file);
    EXPECT_TRUE(fromFifo.folders().isEmpty());
    ::alarm(0);

    QFile::remove(file);
    QFile big(file);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    for (int i = 0; i < 200000; ++i) big.write(QStringLiteral("/music/%1\r\n").arg(i).toUtf8());
    big.close();
    FolderHistory history;
    history.load(file);
    ASSERT_EQ(history.folders().size(), FolderHistory::kMaxFolders);
    EXPECT_EQ(history.folders().last(), "/music/14");
    // A head cut inside a line leaves that line out rather than taking a shorter, wrong folder.
    EXPECT_EQ(FolderHistory::parse("/a\r\n/b\r\n/cut-he", true), QStringList({"/a", "/b"}));
    EXPECT_EQ(FolderHistory::parse("/a\r\n/b\r\n/whole", false), QStringList({"/a", "/b", "/whole"}));
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
    // A Latin-1 name is no valid UTF-8: it keeps its bytes.
    EXPECT_EQ(list.paths, QStringList({"/home/u/My Songs/#one%.mid", "/home/u/café.KAR", "/home/u/plain.wav",
                                       vorlo::decodePath("/home/u/caf\xe9.mid"), "/home/u/here.mid"}));
    EXPECT_EQ(vorlo::encodePath(list.paths[3]), "/home/u/caf\xe9.mid");
}

}  // namespace
