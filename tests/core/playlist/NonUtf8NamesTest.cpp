// File names are bytes: a name that is no UTF-8 (an old Latin-1 one) is found, added, played, saved and read back
// with its own bytes, on real files.
#include "CoreRig.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"
#include "core/app/CommandLine.h"
#include "core/filebox/FolderScanner.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/PlaylistEditor.h"
#include "os/NativePath.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

using namespace vorlo;

namespace {

class NonUtf8Names : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // Written under a UTF-8 name, then given its Latin-1 name by its bytes.
        ASSERT_TRUE(test::writeSong(dir_.filePath("ascii.mid"), 300));
        raw_ = encodePath(dir_.path()) + "/caf\xe9.mid";
        ASSERT_EQ(::rename(encodePath(dir_.filePath("ascii.mid")).constData(), raw_.constData()), 0);
        song_ = decodePath(raw_);
    }
    void TearDown() override { ::unlink(raw_.constData()); }  // QTemporaryDir cannot name it

    static QByteArray contents(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }

    QTemporaryDir dir_;
    QByteArray raw_;
    QString song_;
    test::ScriptedMessageBoxes boxes_;
};

TEST_F(NonUtf8Names, ALatin1NameIsListedAddedPlayedSavedAndReadBackByteForByte) {
    // The file box lists it under a name that leads back to its bytes.
    const QStringList listed = FolderScanner::matchingFiles(dir_.path(), {"*.mid"});
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed[0], song_.mid(dir_.path().size() + 1));

    test::CoreRig rig;
    rig.modes.autoPlay = true;
    rig.core().editor().addSelectedFiles(dir_.path(), {{listed[0], listed[0]}});
    ASSERT_EQ(rig.playlist().PathList(), QStringList{song_});
    test::CoreRig::settle();
    EXPECT_TRUE(rig.device().isOpen());
    EXPECT_EQ(rig.state().openFile, song_);
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(boxes_.shown().size(), 0u);

    // Saved with the name's bytes, and read back as the same entry.
    const QString listFile = dir_.filePath("set.mpl");
    rig.core().lists().fileNames().openFileName = listFile;
    rig.core().lists().fileNames().saveFileName = listFile;
    rig.playlist().MarkListChanged();
    rig.core().lists().FileSaveListClick();
    EXPECT_FALSE(rig.playlist().ListChanged());
    EXPECT_EQ(contents(listFile), raw_ + "\r\n");
    test::CoreRig again;
    again.modes.autoPlay = false;
    EXPECT_EQ(again.core().editor().addListedPaths(ListFile::read(listFile)), 1);
    EXPECT_EQ(again.playlist().PathList(), QStringList{song_});
}

// The folder list offers a folder whose name is no UTF-8, and the file list finds the songs in it.
TEST_F(NonUtf8Names, AFolderWithALatin1NameIsListedAndEntered) {
    const QByteArray folder = encodePath(dir_.path()) + "/m\xfcsik";
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_TRUE(test::writeSong(dir_.filePath("moved.mid"), 300));
    ASSERT_EQ(::rename(encodePath(dir_.filePath("moved.mid")).constData(), (folder + "/song.mid").constData()), 0);
    const QStringList folders = FolderScanner::subfolders(dir_.path());
    ASSERT_EQ(folders.size(), 1);
    const QString entered = dir_.path() + "/" + folders[0];
    EXPECT_EQ(encodePath(entered), folder);
    EXPECT_TRUE(FolderScanner::isFolder(entered));
    EXPECT_EQ(FolderScanner::matchingFiles(entered, {"*.MID"}), QStringList{"song.mid"});
    ::unlink((folder + "/song.mid").constData());
    ::rmdir(folder.constData());
}

TEST_F(NonUtf8Names, ALatin1NameArrivesByCommandLineHandOverAndDrop) {
    const QStringList arguments{decodePath(raw_)};
    EXPECT_EQ(encodePath(CommandLine::parse(arguments).fileArgument), raw_);
    const HandOver handOver = HandOver::resolve(decodePath("/play /close " + raw_), QString());
    EXPECT_EQ(handOver.kind, HandOver::Kind::Media);
    EXPECT_EQ(encodePath(handOver.path), raw_);

    test::CoreRig rig;
    rig.modes.autoPlay = false;
    rig.core().editor().addOneFile(song_);
    rig.core().editor().DropWatchFilesDropped({song_});
    EXPECT_EQ(rig.playlist().PathList(), QStringList({song_, song_}));
}

}  // namespace
