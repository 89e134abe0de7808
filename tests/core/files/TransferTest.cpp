// Copying and moving the files of playlist entries (the copy and move dialog's OK, and a line dropped on the
// folder list) on the player's core with the real media device (offline audio) and real files.
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

using namespace vorlo;

namespace {

class TransferTest : public test::FilesFixture {
protected:
    void SetUp() override {
        FilesFixture::SetUp();
        QDir().mkpath(dir.filePath("to"));
    }
    DialogOutcome transfer(TransferMode mode, TransferScope scope, const QString& folderText) {
        return files().transferFiles(mode, scope, folderText, dir.path());
    }
    void expectBox(const QString& caption, const QString& text, BoxIcon icon, BoxButtons buttons = BoxButtons::Ok,
                   BoxButton answer = BoxButton::Ok) {
        boxes.expect(caption, text, icon, buttons, answer);
    }
    void expectOverwriteQuestion(const QString& caption, BoxButton answer) {
        expectBox(caption,
                  "A file with the same name is already in that folder. Do you want to overwrite that file with "
                  "this one?",
                  BoxIcon::Question, BoxButtons::YesNo, answer);
    }
    static QByteArray bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(TransferTest, CopyingLeavesThePlaylistAloneAndCopyingIntoTheSameFolderIsRefused) {
    start({song("a.mid"), song("b.mid")});
    list().setDragIndex(1);
    EXPECT_EQ(transfer(TransferMode::Copy, TransferScope::One, dir.filePath("to") + "/"), DialogOutcome::Completed);
    EXPECT_EQ(bytes(dir.filePath("to/b.mid")), bytes(dir.filePath("b.mid")));
    EXPECT_FALSE(QFile::exists(dir.filePath("to/a.mid")));
    EXPECT_EQ(list().path(1), dir.filePath("b.mid"));

    expectBox("a.mid", "No need to copy file to the same folder!", BoxIcon::Information);
    expectBox("b.mid", "No need to copy file to the same folder!", BoxIcon::Information);
    EXPECT_EQ(transfer(TransferMode::Copy, TransferScope::All, dir.path()), DialogOutcome::Completed);
    // Another spelling of the same folder is the same folder all the same.
    expectBox("b.mid", "No need to move file to the same folder!", BoxIcon::Information);
    EXPECT_EQ(transfer(TransferMode::Move, TransferScope::One, dir.path() + "/to/.."), DialogOutcome::Completed);
    EXPECT_TRUE(QFile::exists(dir.filePath("b.mid")));
}

TEST_F(TransferTest, MovingThePlayingFileKeepsItPlayingAtTheSamePositionAndTheListFollows) {
    rig.modes.autoPlay = true;
    const QString listFile = dir.filePath("set.mpl");
    start({song("a.mid", 3000), song("b.mid")}, listFile);
    vorlo::testing::runFor(rig.device(), 1000);
    const std::int64_t before = rig.device().position();
    list().setDragIndex(0);
    EXPECT_EQ(transfer(TransferMode::Move, TransferScope::One, "to"), DialogOutcome::Completed);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.mid")));
    EXPECT_EQ(list().path(0), dir.filePath("to/a.mid"));
    EXPECT_EQ(rig.state().openFile, dir.filePath("to/a.mid"));
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_NEAR(static_cast<double>(rig.device().position()), static_cast<double>(before), 50.0);
    EXPECT_EQ(ListFile::read(listFile).first(), dir.filePath("to/a.mid"));
}

TEST_F(TransferTest, MovingThePlayingFileToAnotherFileSystemKeepsItPlaying) {
    test::SecondFileSystem other(dir.filePath("other"), 1024);
    if (!other.available()) GTEST_SKIP() << other.reason().toStdString();
    rig.modes.autoPlay = true;
    start({song("a.mid", 3000)});
    vorlo::testing::runFor(rig.device(), 800);
    const std::int64_t before = rig.device().position();
    list().setDragIndex(0);
    files().dropMove(dir.filePath("other"));
    EXPECT_FALSE(QFile::exists(dir.filePath("a.mid")));
    EXPECT_EQ(list().path(0), dir.filePath("other/a.mid"));
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_NEAR(static_cast<double>(rig.device().position()), static_cast<double>(before), 50.0);
}

TEST_F(TransferTest, MovingCheckedFilesWhenNoneIsCheckedMovesNothingButSavesTheOpenList) {
    const QString listFile = dir.filePath("set.mpl");
    start({song("a.mid"), song("b.mid")}, listFile);
    QFile::remove(listFile);
    EXPECT_EQ(transfer(TransferMode::Move, TransferScope::Checked, "to"), DialogOutcome::Completed);
    EXPECT_TRUE(QDir(dir.filePath("to")).isEmpty());
    EXPECT_TRUE(QFile::exists(listFile));

    list().setChecked(1, true);
    EXPECT_EQ(transfer(TransferMode::Move, TransferScope::Checked, "to"), DialogOutcome::Completed);
    EXPECT_EQ(list().PathList(), QStringList({dir.filePath("a.mid"), dir.filePath("to/b.mid")}));
    EXPECT_EQ(list().selectedLine(), 1);
    EXPECT_EQ(ListFile::read(listFile), list().PathList());
}

TEST_F(TransferTest, OverwritingReplacesTheOldFileOnlyWhenTheNewOneIsInPlace) {
    start({song("a.mid", 900)});
    const QByteArray mine = bytes(dir.filePath("a.mid"));
    QFile old(dir.filePath("to/a.mid"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old one");
    old.close();
    list().setDragIndex(0);

    expectOverwriteQuestion("a.mid", BoxButton::No);
    transfer(TransferMode::Copy, TransferScope::One, "to");
    EXPECT_EQ(bytes(dir.filePath("to/a.mid")), "the old one");

    // The copy fails half-way: the old file is still whole.
    expectOverwriteQuestion("a.mid", BoxButton::Yes);
    expectBox("Error - Copy File",
              "Cannot copy file '" + dir.filePath("a.mid") + "\"!\nCheck if the drive is a read-only device.",
              BoxIcon::Error);
    {
        test::FileSizeLimit full(static_cast<long>(mine.size() / 2));
        transfer(TransferMode::Copy, TransferScope::One, "to");
    }
    EXPECT_EQ(bytes(dir.filePath("to/a.mid")), "the old one");

    expectOverwriteQuestion("a.mid", BoxButton::Yes);
    transfer(TransferMode::Move, TransferScope::One, "to");
    EXPECT_EQ(bytes(dir.filePath("to/a.mid")), mine);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.mid")));
    EXPECT_EQ(list().path(0), dir.filePath("to/a.mid"));
}

TEST_F(TransferTest, AMoveIntoAFolderThatCannotBeWrittenKeepsBothFiles) {
    start({song("a.mid")});
    QDir().mkpath(dir.filePath("locked"));
    QFile old(dir.filePath("locked/a.mid"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the old one");
    old.close();
    list().setDragIndex(0);
    {
        test::UnwritableFolder unwritable(dir.filePath("locked"), dir.path());
        expectOverwriteQuestion("a.mid", BoxButton::Yes);
        expectBox("a.mid", "Cannot overwrite the file!", BoxIcon::Error);
        files().dropMove(dir.filePath("locked"));
    }
    EXPECT_EQ(bytes(dir.filePath("locked/a.mid")), "the old one");
    EXPECT_TRUE(QFile::exists(dir.filePath("a.mid")));
    EXPECT_EQ(list().path(0), dir.filePath("a.mid"));
}

TEST_F(TransferTest, AMissingFolderIsMadeOnlyWhenTheUserWantsIt) {
    start({song("a.mid")});
    list().setDragIndex(0);
    const QString folder = dir.filePath("new");
    const QString question = "The directory \"" + folder + "\" doesn't exist. Creat it Now?";
    expectBox("Create New Folder?", question, BoxIcon::Warning, BoxButtons::YesNo, BoxButton::No);
    EXPECT_EQ(transfer(TransferMode::Copy, TransferScope::One, "new/"), DialogOutcome::Abandoned);
    EXPECT_FALSE(QFileInfo::exists(folder));

    QSignalSpy created(&files(), &FileCommands::folderCreated);
    expectBox("Create New Folder?", question, BoxIcon::Warning, BoxButtons::YesNo, BoxButton::Yes);
    EXPECT_EQ(transfer(TransferMode::Copy, TransferScope::One, "new/"), DialogOutcome::Completed);
    EXPECT_TRUE(QFile::exists(folder + "/a.mid"));
    ASSERT_EQ(created.count(), 1);
    EXPECT_EQ(created.first().first().toString(), folder);

    // The create mode: one new folder, or the box that says it is there already.
    EXPECT_EQ(files().createFolder("made", dir.path()), DialogOutcome::Completed);
    EXPECT_TRUE(QFileInfo(dir.filePath("made")).isDir());
    expectBox("Error - Create New Folder", "This folder already exists!", BoxIcon::Error);
    EXPECT_EQ(files().createFolder(dir.filePath("made") + "/", QString()), DialogOutcome::Abandoned);
    expectBox("Error - Create New Folder", "Cannot create new folder '" + dir.filePath("no/such") + "'!",
              BoxIcon::Error);
    EXPECT_EQ(files().createFolder("no/such", dir.path()), DialogOutcome::Abandoned);
}

TEST_F(TransferTest, ALineDroppedOnItsOwnFolderIsRefusedAndACopyDropLeavesTheList) {
    start({song("a.mid")});
    list().setDragIndex(0);
    expectBox("a.mid", "No need to move file to the same folder!", BoxIcon::Information);
    files().dropMove(dir.path());
    expectBox("a.mid", "No need to copy file to the same folder!", BoxIcon::Information);
    files().dropCopy(dir.path() + "/");

    QSignalSpy changed(&files(), &FileCommands::folderContentsChanged);
    files().dropCopy(dir.filePath("to"));
    EXPECT_TRUE(QFile::exists(dir.filePath("to/a.mid")));
    EXPECT_EQ(list().path(0), dir.filePath("a.mid"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().at(0).toString(), dir.filePath("to"));
    EXPECT_EQ(changed.first().at(1).toString(), "a.mid");
}

}  // namespace
