// Zip mode in the player's core, on archives written by the tests: the members become the playlist, each is
// extracted just before it is opened on the real media device (offline audio), and only one is ever on disk.
#include "ArchiveWriter.h"
#include "CoreRig.h"
#include "QtPrinters.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"

#include "core/playlist/ListCommands.h"
#include "core/playlist/PlaylistEditor.h"
#include "core/playlist/ZipSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

constexpr auto kNoFileToPlay = "No compressed file in this zip archive can be played!";

class ZipMode : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid() && elsewhere_.isValid());
        folder_ = temp_.filePath("mvtemp");
        ASSERT_TRUE(QDir().mkpath(folder_));
        rig_.core().zip().setFolder(folder_);
        rig_.modes.autoPlay = false;
        const QString scratch = elsewhere_.filePath("song.mid");
        ASSERT_TRUE(test::writeSong(scratch, 300));
        QFile file(scratch);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        song_ = file.readAll().toStdString();
        QFile::remove(scratch);
    }

    // An archive of the test's, in a folder of its own.
    QString archive(const QString& name, const std::vector<test::ArchiveMember>& members) {
        const QString path = elsewhere_.filePath(name);
        EXPECT_TRUE(test::writeArchive(path.toStdString(), members));
        return path;
    }
    test::ArchiveMember song(const std::string& name) const { return test::fileMember(name, song_); }

    QStringList onDisk() const {
        return QDir(folder_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QStringList shown() { return displayNames(rig_.playlist()); }
    static QStringList displayNames(const Playlist& list) {
        QStringList names;
        for (int i = 0; i < list.count(); ++i) names << list.displayName(i);
        return names;
    }
    void open(const QString& path) { rig_.core().lists().openZipArchive(path); }
    ZipSession& zip() { return rig_.core().zip(); }

    QTemporaryDir temp_;
    QTemporaryDir elsewhere_;
    QString folder_;
    std::string song_;
    test::ScriptedMessageBoxes boxes_;
    test::CoreRig rig_;
};

TEST_F(ZipMode, PlayableMembersBecomeEntriesShownByStoredNameAndExtractedUnderTheirBaseName) {
    const QString path = archive("pack.zip", {song("top.mid"), test::fileMember("docs/readme.txt", "words"),
                                              song("karaoke/Sing Along.KAR"), test::fileMember("empty/", "")});
    open(path);

    ASSERT_TRUE(zip().active());
    EXPECT_EQ(zip().archive(), path);
    EXPECT_EQ(shown(), (QStringList{"top.mid", "karaoke/Sing Along.KAR"}));
    EXPECT_EQ(rig_.playlist().path(0), folder_ + "/top.mid");
    EXPECT_EQ(rig_.playlist().path(1), folder_ + "/Sing Along.KAR");
    EXPECT_FALSE(rig_.playlist().ListChanged());
    // The first member is open and the only file in the folder.
    EXPECT_EQ(rig_.state().openFile, folder_ + "/top.mid");
    EXPECT_EQ(zip().tempFile(), folder_ + "/top.mid");
    EXPECT_EQ(onDisk(), QStringList{"top.mid"});
    EXPECT_EQ(rig_.playlist().selectedLine(), 0);

    const PlayerView view = rig_.view();
    EXPECT_EQ(view.zipLabel, colours::kAqua);
    ASSERT_TRUE(view.playlistPanel.has_value());
    EXPECT_EQ(*view.playlistPanel, colours::kAqua);
    EXPECT_TRUE(view.play && view.closeList && view.next && view.sortList);
    EXPECT_FALSE(view.addList);
    EXPECT_FALSE(view.popup.move || view.popup.rename || view.popup.kill || view.popup.summary);
    EXPECT_TRUE(view.popup.copy && view.popup.fileInfo);  // the selected line is the member on disk
    EXPECT_FALSE(view.midPanel.move || view.midPanel.kill);
    rig_.playlist().selectLine(1);
    EXPECT_FALSE(rig_.view().popup.copy || rig_.view().popup.fileInfo || rig_.view().midPanel.copy);
}

TEST_F(ZipMode, OnlyTheMemberPlayedLastIsOnDiskAndClosingTakesItAway) {
    rig_.modes.autoPlay = true;
    open(archive("three.zip", {song("one.mid"), song("a/two.mid"), song("b/three.mid")}));
    ASSERT_EQ(rig_.device().mode(), media::Mode::Playing);
    rig_.playToEnd();
    rig_.playToEnd();
    EXPECT_EQ(rig_.state().openFile, folder_ + "/three.mid");
    EXPECT_EQ(rig_.device().mode(), media::Mode::Playing);
    EXPECT_EQ(onDisk(), QStringList{"three.mid"});

    // Stepping back by hand extracts again and deletes the one before.
    rig_.engine().SpdBtnPrevClick();
    EXPECT_EQ(onDisk(), QStringList{"two.mid"});

    EXPECT_TRUE(rig_.core().lists().FileCloseListClick());
    EXPECT_FALSE(zip().active());
    EXPECT_TRUE(zip().tempFile().isEmpty());
    EXPECT_TRUE(onDisk().isEmpty());
    EXPECT_EQ(rig_.playlist().count(), 0);
    EXPECT_EQ(rig_.view().zipLabel, colours::kSilver);
    EXPECT_FALSE(rig_.view().playlistPanel.has_value());
    EXPECT_TRUE(rig_.view().addList);
}

TEST_F(ZipMode, AnotherArchiveReplacesTheOpenOneWithoutASaveQuestionAndAChangedListIsAskedWithYesAndNo) {
    // A changed list of files: opening an archive cannot be cancelled, so the question has no Cancel.
    const QString loose = elsewhere_.filePath("loose.mid");
    ASSERT_TRUE(test::writeSong(loose));
    rig_.fill({loose, loose});
    rig_.playlist().MarkListChanged();
    boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question, BoxButtons::YesNo,
                  BoxButton::No);
    open(archive("first.zip", {song("first.mid"), song("second.mid")}));
    ASSERT_EQ(shown(), (QStringList{"first.mid", "second.mid"}));

    // Reordering is allowed in zip mode and changes the list, but no question comes for an archive.
    rig_.playlist().selectLine(1);
    rig_.core().editor().MoveFileUpClick();
    EXPECT_EQ(shown(), (QStringList{"second.mid", "first.mid"}));
    const QString other = archive("other.zip", {song("x/other.mid")});
    open(other);
    EXPECT_EQ(zip().archive(), other);
    EXPECT_EQ(shown(), QStringList{"x/other.mid"});
    EXPECT_EQ(onDisk(), QStringList{"other.mid"});
    EXPECT_EQ(boxes_.shown().size(), 1u);
}

TEST_F(ZipMode, AnArchiveWithNothingToPlayOrThatCannotBeReadLeavesZipModeOffAndTheListEmpty) {
    boxes_.expect("No File to Play", kNoFileToPlay, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    open(archive("texts.zip", {test::fileMember("a.txt", "x"), test::fileMember("b/", "")}));
    EXPECT_FALSE(zip().active());
    EXPECT_EQ(rig_.playlist().count(), 0);

    const QString damaged = elsewhere_.filePath("damaged.zip");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("PK\x03\x04 this is no archive at all, only its first four bytes");
    file.close();
    boxes_.expect("Error - Open Zip File", "damaged.zip cannot be opened: Not a zip archive.", BoxIcon::Error,
                  BoxButtons::Ok, BoxButton::Ok);
    boxes_.expect("No File to Play", kNoFileToPlay, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    open(damaged);
    EXPECT_FALSE(zip().active());
    EXPECT_EQ(rig_.playlist().count(), 0);
    EXPECT_TRUE(onDisk().isEmpty());

    // A player whose private folder could not be made opens no archive: there is nowhere safe to extract to.
    zip().setFolder({});
    boxes_.expect("Error - Open Zip File",
                  "good.zip cannot be opened: the player has no private temporary folder to extract its members into.",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    boxes_.expect("No File to Play", kNoFileToPlay, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    open(archive("good.zip", {song("good.mid")}));
    EXPECT_FALSE(zip().active());
    EXPECT_EQ(rig_.playlist().count(), 0);
}

TEST_F(ZipMode, AMemberThatInflatesBeyondTheLimitIsDroppedWithItsReasonAndTheNextOnePlays) {
    // Four megabytes of zeros deflate to a few kilobytes: a small zip bomb against a limit of one megabyte.
    zip().setLimits({.maxMemberBytes = 1 << 20, .keepFreeBytes = 0});
    boxes_.expect("Error - Extract File",
                  "bomb.mid cannot be extracted: it would take 4.0 MB, more than the 1.0 MB a member may take.",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    open(archive("bomb.zip", {test::fileMember("bomb.mid", std::string(4 << 20, '\0')), song("good.mid")}));
    ASSERT_TRUE(zip().active());
    EXPECT_EQ(shown(), QStringList{"good.mid"});
    EXPECT_EQ(rig_.state().openFile, folder_ + "/good.mid");
    EXPECT_EQ(onDisk(), QStringList{"good.mid"});
}

TEST_F(ZipMode, WhenNoMemberCanBeExtractedTheListClosesWithNothingOnDisk) {
    const QString locked = archive("locked.zip", {song("locked.mid"), song("sealed.mid")});
    ASSERT_TRUE(test::patchHeaders(locked.toStdString(), test::HeaderField::Flags, 0x0001));
    boxes_.expect("Error - Extract File",
                  "locked.mid cannot be extracted: it is encrypted.\nsealed.mid cannot be extracted: it is encrypted.",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    boxes_.expect("Error!", "Cannot play any file in this playlist.", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    open(locked);
    EXPECT_FALSE(zip().active());
    EXPECT_FALSE(rig_.core().lists().listOpen());
    EXPECT_EQ(rig_.playlist().count(), 0);
    EXPECT_TRUE(onDisk().isEmpty());
}

TEST_F(ZipMode, AMemberTheDeviceRefusesIsDeletedWhenTheNextIsExtracted) {
    // Extracted intact but no song: the device refuses it, the entry goes, and the song after it plays alone.
    open(archive("odd.zip", {test::fileMember("noise.mid", "this is no song"), song("tune.mid")}));
    ASSERT_TRUE(zip().active());
    EXPECT_EQ(shown(), QStringList{"tune.mid"});
    EXPECT_EQ(rig_.state().openFile, folder_ + "/tune.mid");
    EXPECT_EQ(onDisk(), QStringList{"tune.mid"});
}

TEST_F(ZipMode, HostileNamesStayInsideTheFolderAndLinksAreNoEntries) {
    const QString path = archive("hostile.zip", {song("../../escape.mid"),
                                                 song("/abs/root.mid"),
                                                 song("..\\..\\win.mid"),
                                                 {"link.mid", "/etc/passwd", test::ArchiveMember::Kind::Link},
                                                 song("x/..")});
    open(path);
    ASSERT_EQ(shown(), (QStringList{"../../escape.mid", "/abs/root.mid", "..\\..\\win.mid"}));
    EXPECT_EQ(rig_.playlist().path(0), folder_ + "/escape.mid");
    EXPECT_EQ(rig_.playlist().path(1), folder_ + "/root.mid");
    EXPECT_EQ(rig_.playlist().path(2), folder_ + "/win.mid");
    rig_.engine().SpdBtnNextClick();
    rig_.engine().SpdBtnNextClick();
    EXPECT_EQ(onDisk(), QStringList{"win.mid"});
    EXPECT_EQ(QDir(temp_.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(elsewhere_.path()).entryList(QDir::Files), QStringList{"hostile.zip"});
}

TEST_F(ZipMode, NothingCanBeAddedAndTheSummaryIsRefusedWhileAnArchiveIsOpenButClearingLeavesIt) {
    open(archive("pack.zip", {song("a.mid"), song("b.mid")}));
    const QString loose = elsewhere_.filePath("loose.mid");
    ASSERT_TRUE(test::writeSong(loose));

    boxes_.expect("Cannot Add File", "Cannot add file to the playlist in Zip mode!", BoxIcon::Information,
                  BoxButtons::Ok, BoxButton::Ok);
    rig_.core().editor().addOneFile(loose);
    boxes_.expect("Cannot Add File", "Cannot add file to the playlist in Zip mode!", BoxIcon::Information,
                  BoxButtons::Ok, BoxButton::Ok);
    rig_.core().editor().insertFromFileBox(0, elsewhere_.path(), {{"loose.mid", "loose.mid"}});
    EXPECT_EQ(shown(), (QStringList{"a.mid", "b.mid"}));

    boxes_.expect("Generate Summary", "Cannot generate playlist summary in Zip mode.", BoxIcon::Information,
                  BoxButtons::Ok, BoxButton::Ok);
    EXPECT_TRUE(zip().refuseSummary());

    rig_.core().editor().FileClearListClick();
    EXPECT_FALSE(zip().active());
    EXPECT_FALSE(rig_.core().lists().listOpen());
    EXPECT_TRUE(onDisk().isEmpty());
    EXPECT_FALSE(zip().refuseSummary());  // outside zip mode the summary is not the archive's business
}

TEST_F(ZipMode, TheCleanUpAtStartClaimsOnlyNamesThePlayerWrites) {
    EXPECT_TRUE(ZipSession::isLeftOver("song.MID"));
    EXPECT_TRUE(ZipSession::isLeftOver(".mvpart-0123456789abcdef"));
    EXPECT_FALSE(ZipSession::isLeftOver("notes.txt"));
    EXPECT_FALSE(ZipSession::isLeftOver(".mvpart-"));
    EXPECT_FALSE(ZipSession::isLeftOver("archive.zip"));
}

}  // namespace
