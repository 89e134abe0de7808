// Add Folder's walk over real folder trees made by the test: depth first in the order the file system lists them,
// never in a loop, never into the kernel's trees, past folders it cannot read, and stoppable.
#include "FileSystemRig.h"
#include "QtPrinters.h"
#include "core/filebox/FolderWalk.h"
#include "os/NativePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using vorlo::FolderWalk;
using vorlo::FoundFile;

namespace {

class FolderWalkTest : public ::testing::Test {
protected:
    void touch(const QString& name) const { EXPECT_TRUE(vorlo::test::touchFile(dir.filePath(name))); }
    void link(const QString& target, const QString& name) const {
        ASSERT_TRUE(QFile::link(target, dir.filePath(name)));
    }
    QStringList walk(const QString& folder, FolderWalk* walker = nullptr) const {
        FolderWalk own;
        QStringList found;
        (walker ? *walker : own).walk(folder, [&](const FoundFile& file) {
            found.append(file.path.mid(dir.path().size() + 1));
        });
        return found;
    }
    // What a walk of `relative` should give, built from the listings themselves: each folder's entries in its
    // order, a subfolder's files where the subfolder stands; `played` tells the files that count.
    QStringList depthFirst(const QString& relative, const std::function<bool(const QString&)>& played) const {
        QStringList expected;
        const QString folder = relative.isEmpty() ? dir.path() : dir.filePath(relative);
        for (const QString& name : listed(folder)) {
            const QString path = relative.isEmpty() ? name : relative + "/" + name;
            if (QFileInfo(dir.filePath(path)).isDir())
                expected += depthFirst(path, played);
            else if (played(name))
                expected.append(path);
        }
        return expected;
    }
    // The names of a folder in the order the file system lists them.
    static QStringList listed(const QString& folder) {
        QStringList names;
        DIR* d = ::opendir(QFile::encodeName(folder).constData());
        while (const dirent* entry = ::readdir(d)) {
            if (entry->d_name[0] != '.') names.append(QFile::decodeName(entry->d_name));
        }
        ::closedir(d);
        return names;
    }

    QTemporaryDir dir;
};

TEST_F(FolderWalkTest, PlayableFilesComeDepthFirstInTheFileSystemsOrder) {
    for (const char* name : {"top.mid", "LOUD.MID", "notes.txt", ".hidden.mid", "sub/inner.kar", "sub/deeper/x.wav",
                             "sub/set.mpl", "other/y.rmi", "other/z.avi", "other/track01.cda", ".secret/s.mid"})
        touch(name);
    const QStringList expected =
        depthFirst(QString(), [](const QString& name) { return !name.endsWith(".txt") && !name.endsWith(".mpl"); });

    FolderWalk walker;
    EXPECT_EQ(walk(dir.path() + "/", &walker), expected);
    EXPECT_EQ(expected.size(), 7);
    EXPECT_TRUE(expected.contains("LOUD.MID"));  // the extension counts in any case
    EXPECT_EQ(walker.foldersEntered(), 4);
    EXPECT_EQ(walker.filesFound(), 7);
}

// The search's thread takes a folder's files as names and leaves making paths of them to the window's thread:
// the same files in the same order, a folder's files together until a subfolder stands between them.
TEST_F(FolderWalkTest, FilesComeAsNamesFolderByFolderInTheWalksOrder) {
    for (int i = 0; i < 40; ++i) touch(QString("many/song%1.mid").arg(i));
    for (int i = 0; i < 5; ++i) {
        touch(QString("many/sub%1/a.wav").arg(i));
        touch(QString("many/sub%1/b.kar").arg(i));
    }
    touch("many/notes.txt");
    const QStringList expected = depthFirst("many", [](const QString& name) { return !name.endsWith(".txt"); });
    // How many runs of files the folder's own listing has between its subfolders.
    int runs = 0;
    bool inRun = false;
    for (const QString& name : listed(dir.filePath("many"))) {
        const bool song = name.endsWith(".mid");
        if (song && !inRun) ++runs;
        if (song || QFileInfo(dir.filePath("many/" + name)).isDir()) inRun = song;
    }

    FolderWalk walker;
    QStringList found;
    QStringList groups;
    EXPECT_TRUE(walker.walkNames(dir.filePath("many"), [&](vorlo::FoundNames&& names) {
        EXPECT_GT(names.size(), 0u);
        if (!groups.isEmpty()) {
            EXPECT_NE(groups.back(), names.folder);
        }
        groups.append(names.folder);
        for (std::size_t index = 0; index < names.size(); ++index) {
            const FoundFile file = names.file(index);
            EXPECT_EQ(file.path, names.folder + "/" + file.name);
            found.append(file.path.mid(dir.path().size() + 1));
        }
    }));
    EXPECT_EQ(found, expected);
    EXPECT_EQ(found.size(), 50);
    EXPECT_EQ(groups.count(dir.filePath("many")), runs);
    EXPECT_EQ(walker.filesFound(), 50);
}

// A stop set while the files of one folder are handed over one by one ends the walk at the next of them.
TEST_F(FolderWalkTest, AStopAmongTheFilesOfOneFolderEndsAtTheNextFile) {
    for (int i = 0; i < 20; ++i) touch(QString("one/s%1.mid").arg(i));
    std::atomic<bool> stop{false};
    FolderWalk walker(&stop);
    int seen = 0;
    EXPECT_FALSE(walker.walk(dir.filePath("one"), [&](const FoundFile&) {
        if (++seen == 3) stop = true;
    }));
    EXPECT_EQ(seen, 3);
}

TEST_F(FolderWalkTest, LinksToFoldersItIsInsideOrHasSeenAreNotEnteredAgainNorTheKernelsTrees) {
    touch("music/a.mid");
    touch("music/inner/b.mid");
    link(dir.filePath("music"), "music/inner/loop");   // leads back up: a loop
    link(dir.filePath("music/inner"), "music/again");  // a second way to a folder seen already
    link("/proc", "music/proc");
    link("/sys/kernel", "music/sys");
    link("/dev", "music/dev");
    link(dir.filePath("music/a.mid"), "music/alias.mid");  // a link to a file is a file
    // b.mid is found once, by whichever of its two ways the file system lists first.
    QStringList found = walk(dir.filePath("music"));
    found.sort();
    ASSERT_EQ(found.size(), 3);
    EXPECT_TRUE(found.contains("music/a.mid"));
    EXPECT_TRUE(found.contains("music/alias.mid"));
    EXPECT_TRUE(found.contains("music/inner/b.mid") || found.contains("music/again/b.mid"));
    EXPECT_TRUE(walk("/proc/self").isEmpty());
}

TEST_F(FolderWalkTest, AFolderItCannotReadIsSkippedAndTheRestIsWalked) {
    touch("music/a.mid");
    touch("music/locked/hidden.mid");
    touch("music/z/b.mid");
    ::chmod(QFile::encodeName(dir.filePath("music/locked")).constData(), 0);
    QStringList found;
    {
        // Reading is what is refused here, as to any user but the superuser; leaving "z" unwritable changes nothing.
        vorlo::test::UnwritableFolder asUser(dir.filePath("music/z"), dir.path());
        found = walk(dir.filePath("music"));
    }
    ::chmod(QFile::encodeName(dir.filePath("music/locked")).constData(), 0755);
    found.sort();
    EXPECT_EQ(found, QStringList({"music/a.mid", "music/z/b.mid"}));
}

// A name that is no UTF-8 (here Latin-1) is found with its own bytes, beside the same name in UTF-8.
TEST_F(FolderWalkTest, NamesThatAreNoUtf8AreFoundWithTheirBytes) {
    touch("café.mid");
    const QByteArray latin1 = vorlo::encodePath(dir.path()) + "/caf\xe9.mid";
    const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    QStringList found = walk(dir.path());
    found.sort();
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0], "café.mid");
    EXPECT_EQ(vorlo::encodePath(dir.path() + "/" + found[1]), latin1);
    ::unlink(latin1.constData());  // Qt's own conversion cannot name it, so the temporary folder could not remove it
}

TEST_F(FolderWalkTest, AStoppedWalkEndsAtItsNextEntryAndTheJobHandsOverWhatItFound) {
    for (int i = 0; i < 50; ++i) touch(QString("f%1/s.mid").arg(i));
    std::atomic<bool> stop{false};
    FolderWalk walker(&stop);
    int seen = 0;
    EXPECT_FALSE(walker.walk(dir.path(), [&](const FoundFile&) {
        if (++seen == 3) stop = true;
    }));
    EXPECT_EQ(seen, 3);

    vorlo::FolderWalkJob job;
    std::vector<FoundFile> all;
    QObject::connect(&job, &vorlo::FolderWalkJob::found,
                     [&](const std::vector<FoundFile>& batch) { all.insert(all.end(), batch.begin(), batch.end()); });
    QSignalSpy finished(&job, &vorlo::FolderWalkJob::finished);
    ASSERT_TRUE(job.start(dir.path()));
    EXPECT_FALSE(job.start(dir.path()));  // one walk at a time
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(finished.first().first().toBool());
    EXPECT_EQ(all.size(), 50u);
    EXPECT_FALSE(job.running());
}

}  // namespace
