#include "core/playlist/ListFile.h"

#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

using namespace vorlo;

namespace {

QByteArray contents(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ListFileTest, ASavedListIsEachPathFollowedByCrLfAndNothingElse) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/three.mpl";
    ListFile::write(file, {"/music/a.mid", "/music/Größe b.wav", "/music/c d.kar"});
    EXPECT_EQ(contents(file), QByteArray("/music/a.mid\r\n/music/Gr\xc3\xb6\xc3\x9f"
                                         "e b.wav\r\n/music/c d.kar\r\n"));
    EXPECT_EQ(ListFile::read(file), (QStringList{"/music/a.mid", "/music/Größe b.wav", "/music/c d.kar"}));
    ListFile::write(file, {});
    EXPECT_EQ(contents(file), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"three.mpl"});  // no temporary file left
}

TEST(ListFileTest, ReadingTakesEveryKindOfLineEnd) {
    const QStringList expected = {"/a.mid", "/b.mid", "/c.mid"};
    EXPECT_EQ(ListFile::parse("/a.mid\n/b.mid\n/c.mid"), expected);      // another tool's LF, no final break
    EXPECT_EQ(ListFile::parse("/a.mid\r/b.mid\r\n/c.mid\n"), expected);  // lone CR, CR LF and LF mixed
    EXPECT_EQ(ListFile::parse("/a.mid\r\n/b.mid\r\n/c.mid\r\n\0/junk\r\n"), expected);  // NUL ends the text
    EXPECT_EQ(ListFile::parse(QByteArray("/a.mid\r\n/b.mid\r\n/c.mid\r\n\0/junk", 28)), expected);
    // An empty line in the middle is an entry with an empty path; lines keep their blanks.
    EXPECT_EQ(ListFile::parse("/a.mid\r\n\r\n /b.mid \r\n"), (QStringList{"/a.mid", "", " /b.mid "}));
    EXPECT_EQ(ListFile::parse("\r\n"), QStringList{""});
    EXPECT_TRUE(ListFile::parse("").isEmpty());
}

TEST(ListFileTest, OnlyALowerCaseMplExtensionIsAListAndSavingEnforcesIt) {
    EXPECT_TRUE(ListFile::hasListExtension("/x/songs.mpl"));
    EXPECT_FALSE(ListFile::hasListExtension("/x/songs.MPL"));
    EXPECT_FALSE(ListFile::hasListExtension("/x.mpl/songs"));
    EXPECT_EQ(ListFile::withListExtension("/x/songs.txt"), "/x/songs.mpl");
    EXPECT_EQ(ListFile::withListExtension("/x/songs.MPL"), "/x/songs.mpl");
    EXPECT_EQ(ListFile::withListExtension("/x.d/songs"), "/x.d/songs.mpl");
}

TEST(ListFileTest, AReadFailureNamesTheFile) {
    try {
        ListFile::read("/no/such/folder/list.mpl");
        FAIL() << "a missing list was read";
    } catch (const EListFileError& error) {
        EXPECT_NE(std::string(error.what()).find("/no/such/folder/list.mpl"), std::string::npos);
    }
}

TEST(ListFileTest, ASaveThatFailsPartWayLeavesTheOldListIntact) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/kept.mpl";
    const QStringList old = {"/music/old.mid"};
    ListFile::write(file, old);
    const QByteArray before = contents(file);
    // In a child process the disk "fills up" after 64 bytes: the write of a long list stops part-way.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QStringList many;
        for (int i = 0; i < 1000; ++i) many << QString("/music/song number %1.mid").arg(i);
        try {
            ListFile::write(file, many);
        } catch (const EListFileError&) {
            ::_exit(0);  // reported as a failure, as it must be
        }
        ::_exit(1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed save was not reported";
    EXPECT_EQ(contents(file), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.mpl"});
}

}  // namespace

namespace {

QString saveFailure(const QString& file, const QStringList& paths) {
    try {
        ListFile::write(file, paths);
        return "saved";
    } catch (const EListFileError& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

// A full disk: the old list stays, and the save says so instead of leaving an empty file behind.
TEST(ListFileTest, AFullDiskLeavesTheOldListAndReportsTheFailure) {
    test::SmallDisk disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << qPrintable(disk.reason());
    const QString file = disk.path() + "/small.mpl";
    ListFile::write(file, {"/music/old.mid"});
    disk.fill();
    QStringList many;
    for (int i = 0; i < 2000; ++i) many << QString("/music/song number %1.mid").arg(i);
    EXPECT_EQ(saveFailure(file, many), "Cannot save the playlist file " + file + ": No space left on device");
    EXPECT_EQ(contents(file), "/music/old.mid\r\n");
    EXPECT_EQ(saveFailure(file, {"/music/new.mid"}),
              "Cannot save the playlist file " + file + ": No space left on device");
    EXPECT_EQ(contents(file), "/music/old.mid\r\n");
}

// A list that is a link: written into the regular file it leads to (the link stays), never into a FIFO or a
// device, and never broken by a path with a line break.
TEST(ListFileTest, ALinkedListIsWrittenOnlyIntoARegularFileAndNeverBroken) {
    QTemporaryDir dir;
    const QString real = dir.path() + "/real.mpl";
    const QString link = dir.path() + "/link.mpl";
    ListFile::write(real, {"/music/old.mid"});
    ASSERT_TRUE(QFile::link(real, link));
    ListFile::write(link, {"/music/new.mid"});
    EXPECT_EQ(contents(real), "/music/new.mid\r\n");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    const QString fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString fifoLink = dir.path() + "/fifo.mpl";
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    EXPECT_TRUE(saveFailure(fifoLink, {"/music/a.mid"}).contains("not a regular file"));
    EXPECT_TRUE(saveFailure(fifo, {"/music/a.mid"}).contains("not a regular file"));
    EXPECT_TRUE(QFileInfo(fifoLink).isSymLink());

    EXPECT_EQ(saveFailure(real, {"/music/a.mid", "/music/two\nlines.mid"}),
              "Cannot save the playlist file " + real +
                  ": the name of /music/two lines.mid holds a line break, which a playlist file cannot keep.");
    EXPECT_EQ(contents(real), "/music/new.mid\r\n");
}

}  // namespace
