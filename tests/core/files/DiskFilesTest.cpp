// Renames, copies and moves on real files in temporary folders: nothing ever replaces a file unasked, and nothing
// that fails half-way leaves a partial file or harms the source.
#include "FileSystemRig.h"
#include "core/files/DiskFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using vorlo::DiskError;
using vorlo::DiskFiles;

namespace {

class DiskFilesTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The names in a folder, hidden ones included: a temporary copy left behind would show here.
    static QStringList namesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    static QByteArray big() { return QByteArray(256 * 1024, 'm'); }

    QTemporaryDir dir;
};

TEST_F(DiskFilesTest, ARenameNeverReplacesAnotherFile) {
    const QString song = write("song.mid", "song");
    const QString tune = write("tune.mid", "tune");
    EXPECT_EQ(DiskFiles::renameNoReplace(song, tune).error, DiskError::Exists);
    EXPECT_EQ(read(song), "song");
    EXPECT_EQ(read(tune), "tune");

    EXPECT_TRUE(DiskFiles::renameNoReplace(song, dir.filePath("other.mid")).ok());
    EXPECT_EQ(read(dir.filePath("other.mid")), "song");
    EXPECT_FALSE(QFile::exists(song));
    EXPECT_EQ(DiskFiles::renameNoReplace(song, dir.filePath("x.mid")).error, DiskError::NotFound);
}

TEST_F(DiskFilesTest, ACopyKeepsTheModeAndTheModificationTimeAndLeavesNothingElse) {
    const QString source = write("a/song.mid", big());
    ::chmod(QFile::encodeName(source).constData(), 0640);
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1'000'000'000);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    QDir().mkpath(dir.filePath("b"));
    const QString target = dir.filePath("b/song.mid");
    ASSERT_TRUE(DiskFiles::copy(source, target, DiskFiles::Existing::Keep).ok());
    EXPECT_EQ(read(target), big());
    EXPECT_EQ(QFileInfo(target).lastModified(), stamp);
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir.filePath("b")), QStringList{"song.mid"});

    // Without leave to replace, a file of that name stays as it is.
    write("b/other.mid", "other");
    EXPECT_EQ(DiskFiles::copy(source, dir.filePath("b/other.mid"), DiskFiles::Existing::Keep).error, DiskError::Exists);
    EXPECT_EQ(read(dir.filePath("b/other.mid")), "other");
    EXPECT_TRUE(DiskFiles::copy(source, dir.filePath("b/other.mid"), DiskFiles::Existing::Replace).ok());
    EXPECT_EQ(read(dir.filePath("b/other.mid")), big());
}

TEST_F(DiskFilesTest, ACopyThatFailsHalfWayLeavesBothFilesWholeAndNoPartialFile) {
    const QString source = write("song.mid", big());
    const QString old = write("full/song.mid", "the old one");
    vorlo::DiskResult copied;
    {
        // The target's disk fills up after 64 KiB of the 256 KiB song.
        vorlo::test::FileSizeLimit full(64 * 1024);
        copied = DiskFiles::copy(source, old, DiskFiles::Existing::Replace);
    }
    EXPECT_EQ(copied.error, DiskError::NoSpace);
    EXPECT_EQ(read(source), big());
    EXPECT_EQ(read(old), "the old one");
    EXPECT_EQ(namesIn(dir.filePath("full")), QStringList{"song.mid"});
}

TEST_F(DiskFilesTest, AMoveToAnotherFileSystemCopiesThenDeletesAndAFailureThereKeepsTheSource) {
    vorlo::test::SecondFileSystem other(dir.filePath("other"), 128);
    if (!other.available()) GTEST_SKIP() << other.reason().toStdString();
    const QString source = write("song.mid", QByteArray(64 * 1024, 's'));
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1'200'000'000);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    const QString target = dir.filePath("other/song.mid");
    ASSERT_EQ(DiskFiles::renameNoReplace(source, target).error, DiskError::CrossDevice);  // no plain rename there
    ASSERT_TRUE(DiskFiles::move(source, target, DiskFiles::Existing::Keep).ok());
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(read(target), QByteArray(64 * 1024, 's'));
    EXPECT_EQ(QFileInfo(target).lastModified(), stamp);

    // 64 KiB are used and 128 KiB do not fit in what is left: the move fails, the source stays whole and no part of
    // it is left on the full file system.
    const QString large = write("large.mid", QByteArray(128 * 1024, 'l'));
    EXPECT_EQ(DiskFiles::move(large, dir.filePath("other/large.mid"), DiskFiles::Existing::Keep).error,
              DiskError::NoSpace);
    EXPECT_EQ(read(large), QByteArray(128 * 1024, 'l'));
    EXPECT_EQ(namesIn(dir.filePath("other")), QStringList{"song.mid"});
}

TEST_F(DiskFilesTest, AMoveAcrossFileSystemsOutOfAFolderThatCannotLoseTheFileWritesNothing) {
    vorlo::test::SecondFileSystem other(dir.filePath("other"), 128);
    if (!other.available()) GTEST_SKIP() << other.reason().toStdString();
    const QString source = write("locked/song.mid", "song");
    vorlo::DiskResult moved;
    {
        vorlo::test::UnwritableFolder locked(dir.filePath("locked"), dir.path());
        moved = DiskFiles::move(source, dir.filePath("other/song.mid"), DiskFiles::Existing::Keep);
    }
    EXPECT_EQ(moved.error, DiskError::Denied);
    EXPECT_EQ(read(source), "song");
    EXPECT_TRUE(namesIn(dir.filePath("other")).isEmpty());
}

TEST_F(DiskFilesTest, DeletingNeedsTheFolderNotTheFile) {
    const QString readOnly = write("open/song.mid", "song");
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    EXPECT_FALSE(DiskFiles::writable(readOnly));
    EXPECT_TRUE(DiskFiles::remove(readOnly).ok());

    const QString kept = write("locked/song.mid", "song");
    vorlo::DiskResult removed;
    {
        vorlo::test::UnwritableFolder locked(dir.filePath("locked"), dir.path());
        EXPECT_FALSE(DiskFiles::folderWritable(dir.filePath("locked")));
        removed = DiskFiles::remove(kept);
    }
    EXPECT_EQ(removed.error, DiskError::Denied);
    EXPECT_TRUE(QFile::exists(kept));
}

}  // namespace
