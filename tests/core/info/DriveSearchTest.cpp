// The drive search's walk: the same walk as Add Folder, kept to the drives it is given, remembering what it
// walked from one drive to the next, safe in a link loop, and stopped for good by a cancel on the first drive.
#include "FileSystemRig.h"
#include "QtPrinters.h"
#include "core/filebox/FolderWalk.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QTimer>
#include <algorithm>

using namespace vorlo;

namespace {

class DriveSearch : public ::testing::Test {
protected:
    void touch(const QString& name) const { EXPECT_TRUE(vorlo::test::touchFile(dir.filePath(name))); }
    QStringList search(const QStringList& drives) const {
        FolderWalk walk;
        walk.keepToDrives(drives);
        QStringList found;
        for (const QString& drive : drives) walk.walk(drive, [&](const FoundFile& file) { found.append(file.name); });
        found.sort();
        return found;
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(DriveSearch, ADriveInsideAnotherIsWalkedOnceAndALinkLoopEndsAtOnce) {
    touch(QStringLiteral("root/a.mid"));
    touch(QStringLiteral("root/home/b.wav"));
    touch(QStringLiteral("root/home/deep/c.kar"));
    touch(QStringLiteral("root/home/deep/notes.txt"));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("root")), path(QStringLiteral("root/home/deep/loop"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("root/home")), path(QStringLiteral("root/home/up"))));

    const QStringList expected{QStringLiteral("a.mid"), QStringLiteral("b.wav"), QStringLiteral("c.kar")};
    // "/" then "/home": each file once, whichever drive comes first (the link loop reaches "/" from inside).
    EXPECT_EQ(search({path(QStringLiteral("root")), path(QStringLiteral("root/home"))}), expected);
    EXPECT_EQ(search({path(QStringLiteral("root/home")), path(QStringLiteral("root"))}), expected);
    // Add Folder starts afresh each time: the same walker finds a folder's files again.
    FolderWalk addFolder;
    int found = 0;
    for (int round = 0; round < 2; ++round)
        addFolder.walk(path(QStringLiteral("root/home")), [&](const FoundFile&) { ++found; });
    EXPECT_EQ(found, 6);
}

TEST_F(DriveSearch, TheKernelsTreesAreNoDrivesEvenWhenListed) {
    touch(QStringLiteral("d/a.mid"));
    FolderWalk walk;
    walk.keepToDrives({QStringLiteral("/proc"), path(QStringLiteral("d"))});
    int found = 0;
    for (const QString& drive : {QStringLiteral("/proc"), QStringLiteral("/sys"), path(QStringLiteral("d"))})
        walk.walk(drive, [&](const FoundFile&) { ++found; });
    EXPECT_EQ(found, 1);
    EXPECT_EQ(walk.foldersEntered(), 1);
}

TEST_F(DriveSearch, ACancelOnTheFirstDriveSearchesNoFurtherDrive) {
    for (int index = 0; index < 50; ++index) touch(QStringLiteral("first/f%1.mid").arg(index));
    touch(QStringLiteral("second/s.mid"));
    const QStringList drives{path(QStringLiteral("first")), path(QStringLiteral("second"))};

    FolderWalkJob job;
    QStringList started;
    QStringList found;
    QObject::connect(&job, &FolderWalkJob::driveStarted, &job, [&](const QString& drive) { started << drive; });
    QObject::connect(&job, &FolderWalkJob::found, &job, [&](const std::vector<FoundFile>& files) {
        for (const FoundFile& file : files) found << file.path;
    });
    // The cancel arrives on the walking thread as the first drive begins, as a click would during it.
    QObject::connect(
        &job, &FolderWalkJob::driveStarted, &job, [&](const QString&) { job.cancel(); }, Qt::DirectConnection);
    QSignalSpy finished(&job, &FolderWalkJob::finished);
    ASSERT_TRUE(job.startDrives(drives));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished.first().at(0).toBool());
    EXPECT_EQ(started, QStringList{drives.first()});
    EXPECT_FALSE(found.contains(path(QStringLiteral("second/s.mid"))));

    // Uncancelled, both drives are walked in order.
    QObject::disconnect(&job, &FolderWalkJob::driveStarted, &job, nullptr);
    QObject::connect(&job, &FolderWalkJob::driveStarted, &job, [&](const QString& drive) { started << drive; });
    started.clear();
    found.clear();
    finished.clear();
    ASSERT_TRUE(job.startDrives(drives));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(finished.first().at(0).toBool());
    EXPECT_EQ(started, drives);
    EXPECT_EQ(found.size(), 51);
}

// The walk knows most entries from the folder's listing alone: what is a song must still be exactly what it was.
TEST_F(DriveSearch, OnlyRegularFilesAndLinksToThemCountAsSongs) {
    touch(QStringLiteral("t/real.mid"));
    touch(QStringLiteral("t/Upper.KAR"));
    touch(QStringLiteral("t/folder.mid/inside.wav"));  // a folder named like a song is walked, not added
    touch(QStringLiteral("t/caf\u00e9 \u00e0 la.rmi"));
    touch(QStringLiteral("t/song.m\u00efd"));  // an extension the player does not play
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("t/pipe.mid"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("t/real.mid")), path(QStringLiteral("t/alias.wav"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("t/nowhere.mid")), path(QStringLiteral("t/dangling.mid"))));

    FolderWalk walk;
    QStringList found;
    walk.walk(path(QStringLiteral("t")), [&](const FoundFile& file) {
        const QString folder =
            file.name == QStringLiteral("inside.wav") ? QStringLiteral("t/folder.mid/") : QStringLiteral("t/");
        EXPECT_EQ(file.path, path(folder) + file.name);
        found.append(file.name);
    });
    found.sort();
    EXPECT_EQ(found, (QStringList{QStringLiteral("Upper.KAR"), QStringLiteral("alias.wav"),
                                  QStringLiteral("caf\u00e9 \u00e0 la.rmi"), QStringLiteral("inside.wav"),
                                  QStringLiteral("real.mid")}));
}

// However fast the walk finds files, the list gets them in parts, and the receiving thread's event loop (paints,
// clicks) runs between any two parts.
TEST_F(DriveSearch, ManyFilesAreHandedOverInPartsWithTheEventLoopRunningBetween) {
    constexpr int kFiles = 3000;
    for (int index = 0; index < kFiles; ++index) touch(QStringLiteral("many/d%1/f%2.mid").arg(index % 3).arg(index));

    FolderWalkJob job;
    job.setPassBudgetMs(0);  // one part a pass, whatever this machine's speed
    std::size_t handedOver = 0;
    std::size_t largest = 0;
    int parts = 0;
    int eventsPosted = 0;
    int eventsRun = 0;
    int partsWithoutEventsBetween = 0;
    QObject::connect(&job, &FolderWalkJob::found, &job, [&](const std::vector<FoundFile>& files) {
        ++parts;
        handedOver += files.size();
        largest = std::max(largest, files.size());
        if (eventsRun != eventsPosted) ++partsWithoutEventsBetween;
        ++eventsPosted;
        QTimer::singleShot(0, &job, [&] { ++eventsRun; });
    });
    QSignalSpy finished(&job, &FolderWalkJob::finished);
    ASSERT_TRUE(job.startDrives({path(QStringLiteral("many"))}));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(handedOver, std::size_t(kFiles));
    EXPECT_LE(largest, FolderWalkJob::kMostPerHandOver);
    EXPECT_GE(parts, kFiles / int(FolderWalkJob::kMostPerHandOver));
    EXPECT_EQ(partsWithoutEventsBetween, 0);
    EXPECT_FALSE(job.running());
}

// A folder of more songs than one part holds is handed over across parts in the walk's own order.
TEST_F(DriveSearch, AFolderOfMoreSongsThanAPartKeepsItsOrderAcrossParts) {
    constexpr int kSongs = 2500;
    for (int index = 0; index < kSongs; ++index) touch(QStringLiteral("big/s%1.mid").arg(index));
    for (int index = 0; index < 3; ++index) touch(QStringLiteral("big/d%1/x.wav").arg(index));
    QStringList expected;
    FolderWalk walk;
    walk.walk(path(QStringLiteral("big")), [&](const FoundFile& file) { expected.append(file.path); });
    ASSERT_EQ(expected.size(), kSongs + 3);

    FolderWalkJob job;
    job.setPassBudgetMs(0);  // one part a pass: a part ends inside the big folder's files
    QStringList handedOver;
    std::size_t largest = 0;
    QObject::connect(&job, &FolderWalkJob::found, &job, [&](const std::vector<FoundFile>& files) {
        largest = std::max(largest, files.size());
        for (const FoundFile& file : files) {
            EXPECT_TRUE(file.path.endsWith(QLatin1Char('/') + file.name));
            handedOver.append(file.path);
        }
    });
    QSignalSpy finished(&job, &FolderWalkJob::finished);
    ASSERT_TRUE(job.startDrives({path(QStringLiteral("big"))}));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(handedOver, expected);
    EXPECT_EQ(largest, FolderWalkJob::kMostPerHandOver);
}

// While the walk runs, parts wait for the hand-over interval; once it has ended, the last ones do not.
TEST_F(DriveSearch, TheLastFilesDoNotWaitForTheHandOverInterval) {
    touch(QStringLiteral("first/a.mid"));
    constexpr int kFiles = 3000;
    for (int index = 0; index < kFiles; ++index) touch(QStringLiteral("second/d%1/f%2.mid").arg(index % 3).arg(index));

    FolderWalkJob job;
    job.setHandOverIntervalMs(10 * 60 * 1000);  // far longer than the test waits
    // The second drive is walked only after the first drive's file has been handed over: its files then come
    // within the interval.
    QObject::connect(
        &job, &FolderWalkJob::driveStarted, &job, [] {}, Qt::BlockingQueuedConnection);
    int handedOver = 0;
    QObject::connect(&job, &FolderWalkJob::found, &job,
                     [&](const std::vector<FoundFile>& files) { handedOver += int(files.size()); });
    QSignalSpy finished(&job, &FolderWalkJob::finished);
    ASSERT_TRUE(job.startDrives({path(QStringLiteral("first")), path(QStringLiteral("second"))}));
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(handedOver, kFiles + 1);
}

}  // namespace
