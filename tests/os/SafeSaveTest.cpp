#include "os/SafeSave.h"

#include "SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <cerrno>
#include <ctime>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The reason a save gave, or "saved" when it went through.
QString outcome(const QString& file, const QByteArray& bytes, SafeSave::Links links) {
    try {
        SafeSave::write(file, bytes, links);
        return QStringLiteral("saved");
    } catch (const SafeSaveError& error) {
        return error.reason();
    }
}

class SafeSaveTest : public ::testing::Test {
protected:
    void TearDown() override { SafeSave::failWritesAfter(-1, 0); }
    QTemporaryDir dir_;
};

TEST_F(SafeSaveTest, ReplacesTheFileWholeKeepingItsModeAndLeavesNothingBeside) {
    const QString file = dir_.path() + "/list.mpl";
    SafeSave::write(file, "first\r\n", SafeSave::Links::Refuse);
    EXPECT_EQ(contents(file), "first\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    SafeSave::write(file, "second\r\n", SafeSave::Links::FollowToRegularFile);
    EXPECT_EQ(contents(file), "second\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folderEntries(dir_.path()), QStringList{"list.mpl"});
}

// A save that was killed leaves its temporary file; the next save of the same file removes it once it is old
// enough not to belong to a save still running, and nothing else.
TEST_F(SafeSaveTest, TheNextSaveRemovesTheOldLeftoversOfAKilledOne) {
    const QString file = dir_.path() + "/History.ini";
    const QStringList names{".History.ini.1x2y.tmp", ".History.ini.fresh.tmp", ".History.ini.my-copy.tmp",
                            ".Other.ini.1x2y.tmp"};
    for (const QString& name : names) {
        put(dir_.path() + "/" + name, "part");
        if (name == ".History.ini.fresh.tmp") continue;
        const timespec old[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 120, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(dir_.path() + "/" + name).constData(), old, 0), 0);
    }
    SafeSave::write(file, "new", SafeSave::Links::Refuse);
    EXPECT_EQ(folderEntries(dir_.path()), (QStringList{".History.ini.fresh.tmp", ".History.ini.my-copy.tmp",
                                                       ".Other.ini.1x2y.tmp", "History.ini"}));
}

// A disk that fills up at any byte of the new text: the old file stays whole, the failure is reported, and no
// temporary file is left to take the space.
TEST_F(SafeSaveTest, AWriteThatFailsAtAnyByteLeavesTheOldFileAndSaysWhy) {
    const QString file = dir_.path() + "/kept.reg";
    put(file, "old text");
    QByteArray longer;
    for (int i = 0; i < 2000; ++i) longer += "line " + QByteArray::number(i) + "\n";
    for (const qsizetype failAt : {qsizetype{0}, qsizetype{1}, qsizetype{4096}, longer.size() - 1}) {
        SCOPED_TRACE(failAt);
        SafeSave::failWritesAfter(failAt, ENOSPC);
        EXPECT_EQ(outcome(file, longer, SafeSave::Links::Refuse), QString::fromLocal8Bit(std::strerror(ENOSPC)));
        EXPECT_EQ(contents(file), "old text");
        EXPECT_EQ(folderEntries(dir_.path()), QStringList{"kept.reg"});
    }
    // A file that did not exist is not created half-written.
    SafeSave::failWritesAfter(10, EIO);
    EXPECT_EQ(outcome(dir_.path() + "/new.ini", longer, SafeSave::Links::Refuse),
              QString::fromLocal8Bit(std::strerror(EIO)));
    EXPECT_FALSE(QFileInfo::exists(dir_.path() + "/new.ini"));
    SafeSave::failWritesAfter(-1, 0);
    EXPECT_EQ(outcome(file, longer, SafeSave::Links::Refuse), "saved");
    EXPECT_EQ(contents(file), longer);
}

TEST_F(SafeSaveTest, AFullFileSystemLeavesTheOldFile) {
    test::SmallDisk disk(64 * 1024);
    if (!disk.mounted()) GTEST_SKIP() << qPrintable(disk.reason());
    const QString file = disk.path() + "/list.mpl";
    put(file, "/music/old.mid\r\n");
    disk.fill();
    EXPECT_EQ(outcome(file, QByteArray(20000, 'x'), SafeSave::Links::FollowToRegularFile),
              QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(contents(file), "/music/old.mid\r\n");
    EXPECT_EQ(folderEntries(disk.path()), (QStringList{"filler", "list.mpl"}));
}

// Links and special files: the player's own files are never written through a link; a user's file is written
// through a link only to a regular file, which is replaced while the link stays a link; a FIFO or a device is
// never written, linked or not.
TEST_F(SafeSaveTest, LinksAndSpecialFiles) {
    const QString target = dir_.path() + "/real.mpl";
    const QString link = dir_.path() + "/link.mpl";
    put(target, "target text");
    ASSERT_TRUE(QFile::link(target, link));

    EXPECT_TRUE(outcome(link, "new", SafeSave::Links::Refuse).contains("symbolic link"));
    EXPECT_EQ(contents(target), "target text");
    EXPECT_TRUE(QFileInfo(link).isSymLink());

    EXPECT_EQ(outcome(link, "new", SafeSave::Links::FollowToRegularFile), "saved");
    EXPECT_EQ(contents(target), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);

    const QString fifo = dir_.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString fifoLink = dir_.path() + "/fifo-link.ini";
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    EXPECT_EQ(outcome(fifo, "x", SafeSave::Links::FollowToRegularFile), "it is not a regular file");
    EXPECT_TRUE(outcome(fifoLink, "x", SafeSave::Links::FollowToRegularFile).contains("not a regular file"));
    EXPECT_TRUE(outcome(fifoLink, "x", SafeSave::Links::Refuse).contains("symbolic link"));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());

    // A device node of the test's own (a null device), where the system lets us make one.
    const QString device = dir_.path() + "/null";
    if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        const QString deviceLink = dir_.path() + "/History.ini";
        ASSERT_TRUE(QFile::link(device, deviceLink));
        EXPECT_TRUE(outcome(deviceLink, "x", SafeSave::Links::Refuse).contains("symbolic link"));
        EXPECT_TRUE(outcome(deviceLink, "x", SafeSave::Links::FollowToRegularFile).contains("not a regular file"));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }

    const QString dangling = dir_.path() + "/dangling.mpl";
    ASSERT_TRUE(QFile::link(dir_.path() + "/gone.mpl", dangling));
    EXPECT_TRUE(outcome(dangling, "x", SafeSave::Links::FollowToRegularFile).contains("leads nowhere"));
    EXPECT_FALSE(QFileInfo::exists(dir_.path() + "/gone.mpl"));
}

}  // namespace
