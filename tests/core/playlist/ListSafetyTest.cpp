// What keeps a list from being lost or broken: names a list file cannot hold, a save that fails, and the list
// kept when the player is ended without questions.
#include "CoreRig.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"
#include "core/playlist/ListCommands.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/PlaylistEditor.h"
#include "os/SafeSave.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace vorlo;

namespace {

class ListSafety : public ::testing::Test {
protected:
    void TearDown() override { SafeSave::failWritesAfter(-1, 0); }
    QString song(const QString& name) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(test::writeSong(path, 300));
        return path;
    }
    static QByteArray contents(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    QTemporaryDir dir_;
    test::ScriptedMessageBoxes boxes_;
};

TEST_F(ListSafety, ANameWithALineBreakIsRefusedWhereverFilesAreAdded) {
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    const QString plain = song("a.mid");
    const QString broken = song("b\nc.mid");
    const QString text = QString(
                             "The name of \"%1/b\\nc.mid\" holds a line break, which a playlist file cannot "
                             "keep. It was not added.")
                             .arg(dir_.path());
    boxes_.expect("Cannot Add File", text, BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    rig.core().editor().addSelectedFiles(dir_.path(), {{"a.mid", "a"}, {"b\nc.mid", "b c"}});
    EXPECT_EQ(rig.playlist().PathList(), QStringList{plain});

    boxes_.expect("Cannot Add File", text, BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    rig.core().editor().addOneFile(broken);
    boxes_.expect("Cannot Add File", text, BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    rig.core().editor().insertFromFileBox(0, dir_.path(), {{"b\nc.mid", "b c"}});
    EXPECT_EQ(rig.playlist().PathList(), QStringList{plain});
}

// Ctrl+S on a full disk: the error is shown, the old file stays, and the list still counts as changed.
TEST_F(ListSafety, ASaveThatFailsKeepsTheListChangedAndTheOldFile) {
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    const QString file = dir_.filePath("list.mpl");
    ListFile::write(file, {"/music/old.mid"});
    rig.fill({song("a.mid"), song("b.mid")});
    rig.core().lists().fileNames().openFileName = file;
    rig.core().lists().fileNames().saveFileName = file;
    rig.playlist().MarkListChanged();
    SafeSave::failWritesAfter(10, ENOSPC);
    boxes_.expect("Error",
                  "Cannot save the playlist file " + file + ": " + QString::fromLocal8Bit(std::strerror(ENOSPC)) +
                      "\nEListFileError",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    rig.core().lists().FileSaveListClick();
    EXPECT_TRUE(rig.playlist().ListChanged());
    EXPECT_EQ(contents(file), "/music/old.mid\r\n");
}

// A changed list is kept when the player is ended without questions, and offered at the next start: Yes makes
// it the playlist as an unsaved list, No deletes it.
TEST_F(ListSafety, AChangedListIsKeptAndOfferedAtTheNextStart) {
    const QString kept = dir_.filePath("Unsaved list.mpl");
    const QStringList songs{song("a.mid"), song("b.mid")};
    {
        test::CoreRig rig;
        rig.modes.autoPlay = false;
        rig.fill(songs);
        EXPECT_FALSE(rig.core().lists().keepForRecovery(kept));  // nothing changed: nothing to keep
        EXPECT_FALSE(QFile::exists(kept));
        rig.playlist().MarkListChanged();
        EXPECT_TRUE(rig.core().lists().keepForRecovery(kept));
    }
    EXPECT_EQ(contents(kept), (songs[0] + "\r\n" + songs[1] + "\r\n").toUtf8());
    const QString question =
        "The player was ended by the system while the playlist had unsaved changes; the "
        "list was kept in " +
        kept + ".\nDo you want to load it now? (No deletes it.)";
    const QByteArray before = contents(kept);
    {
        test::CoreRig rig;
        rig.modes.autoPlay = false;
        boxes_.expect("Recover Unsaved List", question, BoxIcon::Question, BoxButtons::YesNo, BoxButton::Yes);
        rig.core().lists().offerRecovery(kept);
        EXPECT_EQ(rig.playlist().PathList(), songs);
        EXPECT_TRUE(rig.playlist().ListChanged());
        EXPECT_EQ(rig.core().lists().listFile(), "*.mpl");  // it has no file of its own
        EXPECT_FALSE(QFile::exists(kept));
    }
    {
        QFile again(kept);
        ASSERT_TRUE(again.open(QIODevice::WriteOnly));
        again.write(before);
    }
    test::CoreRig rig;
    boxes_.expect("Recover Unsaved List", question, BoxIcon::Question, BoxButtons::YesNo, BoxButton::No);
    rig.core().lists().offerRecovery(kept);
    EXPECT_TRUE(rig.playlist().isEmpty());
    EXPECT_FALSE(QFile::exists(kept));
    rig.core().lists().offerRecovery(kept);  // nothing kept: no question
}

}  // namespace
