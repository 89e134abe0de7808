// Zip mode as the window shows it: an archive opened from the file box fills the playlist, the panel turns aqua,
// the Zip label is lit, adding is refused, and the member on disk goes with the list and with the player.
#include "controls/TLabel2.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/TFormPlayer.h"
#include "player/filebox/FileBox.h"
#include "player/playlist/PlaylistPanel.h"

#include "core/app/PlayerCore.h"
#include "core/playlist/ZipSession.h"
#include "os/TempFolder.h"

#include "ArchiveWriter.h"
#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

const QColor kAqua(0, 255, 255);

class ZipModeWindowTest : public test::PlayerSandbox {
protected:
    std::string songBytes() {
        const QString scratch = path("scratch.mid");
        EXPECT_TRUE(test::writeSong(scratch, 400));
        QFile file(scratch);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const std::string bytes = file.readAll().toStdString();
        file.remove();
        return bytes;
    }
    QString archive(const QString& name, const std::vector<std::string>& members) {
        std::vector<test::ArchiveMember> written;
        const std::string song = songBytes();
        for (const std::string& member : members) written.push_back(test::fileMember(member, song));
        const QString file = path(name);
        EXPECT_TRUE(test::writeArchive(file.toStdString(), written));
        return file;
    }
    static QColor labelColour(QWidget* label) { return label->palette().color(QPalette::WindowText); }
    static QColor panelColour(TFormPlayer& form) {
        return form.playlistPanel().songListPanel()->palette().color(QPalette::Window);
    }
    static QStringList inFolder(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
};

TEST_F(ZipModeWindowTest, AnArchiveFromTheFileBoxPlaysInZipModeAndTheWindowShowsIt) {
    storeOptions([](Registry& reg) { reg.writeBool("AutoPlay", false); });
    const QString pack = archive("pack.zip", {"intro.mid", "set/Dance.mid"});
    TFormPlayer form(path({}), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    const QColor face = panelColour(form);
    ASSERT_NE(face, kAqua);
    EXPECT_EQ(form.controls().labelZip->toolTip(), "Add Zip File to Playlist to Activate Zip Mode");

    emit form.fileBox().zipArchiveRequested(pack);
    const Playlist& list = form.playlistPanel().playlist();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.displayName(1), "set/Dance.mid");
    EXPECT_EQ(inFolder(form.tempFolder()), QStringList{"intro.mid"});
    EXPECT_EQ(labelColour(form.controls().labelZip), kAqua);
    EXPECT_EQ(panelColour(form), kAqua);
    const PlaylistActions& actions = form.playlistPanel().actions();
    EXPECT_FALSE(actions.addFile->isEnabled() || actions.addAll->isEnabled());
    EXPECT_FALSE(actions.move->isEnabled() || actions.rename->isEnabled() || actions.kill->isEnabled());
    EXPECT_FALSE(actions.summary->isEnabled());
    EXPECT_TRUE(actions.copy->isEnabled());  // the selected line is the member on disk
    EXPECT_FALSE(form.playerActions().addList->isEnabled());
    EXPECT_TRUE(form.playerActions().closeList->isEnabled());
    EXPECT_TRUE(form.playerActions().play->isEnabled());

    // A second start hands a file over: refused, nothing added.
    boxes_.expect("Cannot Add File", "Cannot add file to the playlist in Zip mode!", BoxIcon::Information,
                  BoxButtons::Ok, BoxButton::Ok);
    form.receiveHandOver(QFile::encodeName(path("scratch.mid")));
    EXPECT_EQ(list.count(), 2);

    form.playerActions().closeList->trigger();
    EXPECT_FALSE(form.core().zip().active());
    EXPECT_TRUE(inFolder(form.tempFolder()).isEmpty());
    EXPECT_EQ(labelColour(form.controls().labelZip), PlayerControls::kSilver);
    EXPECT_EQ(panelColour(form), face);
    EXPECT_TRUE(form.playerActions().addList->isEnabled());
}

TEST_F(ZipModeWindowTest, ClosingThePlayerInZipModeRemovesTheMemberAndTheFolderWithoutASaveQuestion) {
    storeOptions([](Registry& reg) { reg.writeBool("AutoPlay", true); });
    const QString pack = archive("songs.zip", {"a.mid", "b.mid"});
    TFormPlayer form(path({}), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    emit form.fileBox().zipArchiveRequested(pack);
    ASSERT_TRUE(form.core().zip().active());
    form.playlistPanel().playlist().selectLine(1);
    form.playlistPanel().actions().moveUp->trigger();  // reordering changes the list, and still no question
    ASSERT_TRUE(form.playlistPanel().playlist().ListChanged());
    const QString folder = form.tempFolder();
    ASSERT_EQ(inFolder(folder), QStringList{"a.mid"});
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(ZipModeWindowTest, AtStartOnlyWhatAnEarlierRunExtractedIsClearedFromTheFolder) {
    storeOptions();
    const QString folder = TempFolder::pathFor();
    ASSERT_TRUE(folder.startsWith(path({})));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const char* name : {"left over.mid", ".mvpart-00112233aabbccdd", "someone's notes.txt"}) {
        QFile file(folder + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TFormPlayer form(path({}), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    EXPECT_EQ(form.tempFolder(), folder);
    EXPECT_EQ(inFolder(folder), QStringList{"someone's notes.txt"});
}

}  // namespace
