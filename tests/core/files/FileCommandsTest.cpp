// Renaming and killing the files of playlist entries, and deleting folders, on the player's core with the real
// media device (offline audio) and real files in a temporary folder.
#include "FileSystemRig.h"
#include "FilesFixture.h"
#include "MediaFixtures.h"
#include "QtPrinters.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"
#include "core/playlist/ListFile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace vorlo;

namespace {

class FileCommandsTest : public test::FilesFixture {
protected:
    static QStringList onDisk(const QString& listFile) { return ListFile::read(listFile); }
    void expectError(const QString& caption, const QString& text) {
        boxes.expect(caption, text, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    }
    void expectKillQuestion(const QString& name, BoxButton answer) {
        boxes.expect("Warning - Delete file",
                     "Do you really want to delete '" + name +
                         "'?\nYou will lose this file forever if you press 'Yes'!\nAdvice: Press 'No' then remove "
                         "this file from the playlist.",
                     BoxIcon::Warning, BoxButtons::YesNo, answer);
    }
};

TEST_F(FileCommandsTest, RenamingKeepsTheExtensionUnlessOneIsTypedAndTheOldNameRenamesNothing) {
    const QString listFile = dir.filePath("set.mpl");
    start({song("song.mid"), song("other.mid")}, listFile);
    QSignalSpy refreshed(&files(), &FileCommands::fileBoxRefreshWanted);

    EXPECT_EQ(files().renameEntry(0, "song"), FileCommands::RenameResult::Unchanged);
    EXPECT_EQ(files().renameEntry(0, "song.mid"), FileCommands::RenameResult::Unchanged);
    EXPECT_TRUE(QFile::exists(dir.filePath("song.mid")));
    EXPECT_EQ(refreshed.count(), 0);

    EXPECT_EQ(files().renameEntry(0, "tune"), FileCommands::RenameResult::Renamed);
    EXPECT_FALSE(QFile::exists(dir.filePath("song.mid")));
    EXPECT_TRUE(QFile::exists(dir.filePath("tune.mid")));
    EXPECT_EQ(list().path(0), dir.filePath("tune.mid"));
    EXPECT_EQ(list().displayName(0), "tune.mid");
    EXPECT_EQ(onDisk(listFile).first(), dir.filePath("tune.mid"));  // the open list is saved again
    EXPECT_EQ(refreshed.count(), 1);
    EXPECT_EQ(list().selectedLine(), 0);

    EXPECT_EQ(files().renameEntry(0, "tune.kar"), FileCommands::RenameResult::Renamed);
    EXPECT_TRUE(QFile::exists(dir.filePath("tune.kar")));
    EXPECT_EQ(list().displayName(0), "tune.kar");
}

TEST_F(FileCommandsTest, ARenameNeverReplacesAnotherFileNorLeavesTheFolder) {
    start({song("song.mid"), song("tune.mid", 900)});
    const qint64 tuneSize = QFileInfo(dir.filePath("tune.mid")).size();
    expectError("Error - Rename file", "Permission denied! Same name file already exists.");
    EXPECT_EQ(files().renameEntry(0, "tune"), FileCommands::RenameResult::Failed);
    EXPECT_TRUE(QFile::exists(dir.filePath("song.mid")));
    EXPECT_EQ(QFileInfo(dir.filePath("tune.mid")).size(), tuneSize);
    EXPECT_EQ(list().path(0), dir.filePath("song.mid"));

    expectError("Error - Rename file", "A file name cannot be empty or contain \"/\".");
    EXPECT_EQ(files().renameEntry(0, "../song"), FileCommands::RenameResult::Failed);
    EXPECT_TRUE(QFile::exists(dir.filePath("song.mid")));

    QFile::remove(dir.filePath("song.mid"));
    expectError("Error - Rename file",
                "The file does not exist new! What have you done to it?!\nHave you deleted, moved or renamed the "
                "file and its path?");
    EXPECT_EQ(files().renameEntry(0, "gone"), FileCommands::RenameResult::Failed);
}

TEST_F(FileCommandsTest, AReadOnlyFileOrAFolderThatCannotBeWrittenIsNotRenamed) {
    const QString readOnly = song("ro.mid");
    const QString locked = song("locked/song.mid");
    start({readOnly, locked});
    ::chmod(QFile::encodeName(readOnly).constData(), 0444);
    expectError("Error - Rename file", "Permission denied! You cannot write to this file.");
    EXPECT_EQ(files().renameEntry(0, "new"), FileCommands::RenameResult::Failed);
    EXPECT_TRUE(QFile::exists(readOnly));

    FileCommands::RenameResult result;
    {
        test::UnwritableFolder unwritable(dir.filePath("locked"), dir.path());
        expectError("Error - Rename file", "Permission denied! You cannot write to this file.");
        result = files().renameEntry(1, "new");
    }
    EXPECT_EQ(result, FileCommands::RenameResult::Failed);
    EXPECT_TRUE(QFile::exists(locked));
}

TEST_F(FileCommandsTest, RenamingThePlayingFileKeepsItPlayingAtTheSamePosition) {
    rig.modes.autoPlay = true;
    start({song("song.mid", 3000), song("other.mid")});
    ASSERT_EQ(rig.device().mode(), media::Mode::Playing);
    vorlo::testing::runFor(rig.device(), 1000);
    const std::int64_t before = rig.device().position();
    ASSERT_GE(before, 900);
    QSignalSpy captions(&rig.engine(), &PlaybackEngine::captionChanged);

    ASSERT_EQ(files().renameEntry(0, "tune"), FileCommands::RenameResult::Renamed);
    EXPECT_EQ(rig.device().fileName(), dir.filePath("tune.mid"));
    EXPECT_EQ(rig.state().openFile, dir.filePath("tune.mid"));
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_NEAR(static_cast<double>(rig.device().position()), static_cast<double>(before), 50.0);
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_EQ(captions.last().first().toString(), "tune.mid - 0:03 - MIDI Vorlo");
    // It plays on to its end from there, and the list goes on.
    const vorlo::testing::RenderedAudio rest = vorlo::testing::runFor(rig.device(), 300);
    EXPECT_GT(rest.peak(), 0.0);
}

TEST_F(FileCommandsTest, KillingTheOnlyEntryDeletesTheFileAndClearsTheList) {
    start({song("song.mid")});
    list().selectLine(0);
    expectKillQuestion("song.mid", BoxButton::Yes);
    files().PopDeleteClick();
    EXPECT_FALSE(QFile::exists(dir.filePath("song.mid")));
    EXPECT_TRUE(list().isEmpty());
    EXPECT_FALSE(rig.state().entryOpen);
}

TEST_F(FileCommandsTest, NoToTheKillQuestionDeletesNothingButStillSavesTheOpenList) {
    const QString listFile = dir.filePath("set.mpl");
    start({song("a.mid"), song("b.mid")}, listFile);
    QFile::remove(listFile);
    list().selectLine(1);
    expectKillQuestion("b.mid", BoxButton::No);
    files().PopDeleteClick();
    EXPECT_TRUE(QFile::exists(dir.filePath("b.mid")));
    EXPECT_EQ(onDisk(listFile), QStringList({dir.filePath("a.mid"), dir.filePath("b.mid")}));
}

TEST_F(FileCommandsTest, KillingTheCurrentEntryOpensTheFollowingOneAndARefusalIsTold) {
    rig.modes.autoPlay = true;
    const QString listFile = dir.filePath("set.mpl");
    start({song("a.mid", 2000), song("b.mid"), song("c.mid")}, listFile);
    ASSERT_EQ(rig.state().openFile, dir.filePath("a.mid"));
    list().selectLine(0);
    expectKillQuestion("a.mid", BoxButton::Yes);
    files().PopDeleteClick();
    EXPECT_FALSE(QFile::exists(dir.filePath("a.mid")));
    EXPECT_EQ(list().PathList(), QStringList({dir.filePath("b.mid"), dir.filePath("c.mid")}));
    EXPECT_EQ(list().CurrentIndex(), 0);
    EXPECT_EQ(rig.state().openFile, dir.filePath("b.mid"));
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);  // Auto is on and it is not checked
    EXPECT_EQ(list().selectedLine(), 0);
    EXPECT_EQ(onDisk(listFile), list().PathList());

    // An entry above the current one keeps the same song current.
    song("locked/d.mid");
    list().append({dir.filePath("locked/d.mid"), "d.mid", false});
    list().selectLine(2);
    {
        test::UnwritableFolder unwritable(dir.filePath("locked"), dir.path());
        expectKillQuestion("d.mid", BoxButton::Yes);
        expectError("Error - Delete file ", "Permission denied! Check if the file is on a read-only device.");
        files().PopDeleteClick();
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("locked/d.mid")));
    EXPECT_EQ(list().count(), 3);
}

TEST_F(FileCommandsTest, KillingTheLastEntryWhileItIsCurrentGoesBackToTheFirst) {
    rig.modes.loop = false;
    start({song("a.mid"), song("b.mid")});
    rig.engine().SpdBtnNextClick();
    ASSERT_EQ(list().CurrentIndex(), 1);
    list().selectLine(1);
    expectKillQuestion("b.mid", BoxButton::Yes);
    files().PopDeleteClick();
    EXPECT_EQ(list().count(), 1);
    EXPECT_EQ(list().CurrentIndex(), 0);
    EXPECT_EQ(rig.state().openFile, dir.filePath("a.mid"));
    EXPECT_TRUE(rig.view().play);  // Loop is off: it waits, ready
}

TEST_F(FileCommandsTest, OnlyAnEmptyFolderIsDeleted) {
    QDir().mkpath(dir.filePath("empty"));
    song("full/song.mid");
    QSignalSpy refreshed(&files(), &FileCommands::fileBoxRefreshWanted);
    EXPECT_TRUE(files().deleteFolder(dir.filePath("empty")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("empty")));
    expectError("Error - Delete Folder", "Folder " + dir.filePath("full") +
                                             " is either root directory or is not empty!\nRemove all the files in "
                                             "this folder and try again.");
    EXPECT_FALSE(files().deleteFolder(dir.filePath("full")));
    EXPECT_TRUE(QFile::exists(dir.filePath("full/song.mid")));
    expectError("Error - Delete Folder",
                "Folder / is either root directory or is not empty!\nRemove all the files in this folder and try "
                "again.");
    EXPECT_FALSE(files().deleteFolder("/"));
    EXPECT_EQ(refreshed.count(), 3);
}

}  // namespace
