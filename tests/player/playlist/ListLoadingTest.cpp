// Opening and adding list files, the report of missing files, closing a list and loading at start-up.
#include "ListsFixture.h"

#include "core/playlist/ListHistory.h"
#include "core/settings/Options.h"
#include "player/info/TFormInfo.h"

#include <QAction>
#include <QDir>
#include <QToolButton>

namespace vorlo::test {
namespace {

const QString MissingQuestion = QStringLiteral(
    "Some files referenced by this mpl playlist are missing, even MIDI Vorlo did not load these files, the playlist "
    "file remains unchanged. If you're sure that these files are not located on a removable drive, you should save "
    "the current playlist to avoid this message, otherwise you should ignore the message: 'playlist has been "
    "changed' when you close this playlist file.\nDo you want to check what files are missing from the playlist "
    "now?");
const QString NoneAvailable = QStringLiteral(
    "None of the files in this playlist reference are available now. Please check the status of all your removable "
    "drive.  Check the content of this playlist now?");

using ListLoading = ListsFixture;

// Expects the report window with this caption and text, and closes it.
void expectReport(ScriptedMessageBoxes& boxes, const QString& caption, const QString& text) {
    boxes.expectDialog("FormInfo", [caption, text](QObject& dialog) {
        auto& info = dynamic_cast<TFormInfo&>(dialog);
        EXPECT_EQ(info.windowTitle(), caption);
        EXPECT_EQ(info.text().toStdString(), text.toStdString());
        return int(QDialog::Accepted);
    });
}

TEST_F(ListLoading, AListWithAnEmptyLineLoadsTheRestAndReportsOneMissingEntry) {
    const QString list = writeBytes("gaps.mpl", (song("a.mid") + "\n\r\n" + song("b.wav")).toUtf8());
    chooseFile("OpenDialog", "Open PlayList", list);
    boxes.expect("File Missing", MissingQuestion, BoxIcon::Question, BoxButtons::YesNo, BoxButton::Yes);
    expectReport(boxes, "List of Missing Files", "\n\nThese files are missing from playlist reference " + list);
    lists->FileOpenListClick();

    EXPECT_EQ(playlistPaths(), QStringList({path("a.mid"), path("b.wav")}));
    EXPECT_EQ(panel->playlist().displayName(1), "b.wav");
    EXPECT_EQ(panel->playlist().CurrentIndex(), 0);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(panel->playlist().ListChanged());
    EXPECT_EQ(lists->listFile(), list);
    EXPECT_TRUE(closeListEnabled());
    EXPECT_TRUE(view().play);
    EXPECT_TRUE(view().next);
    EXPECT_TRUE(view().sortList);
    // The file itself is left as it was.
    EXPECT_EQ(readBytes(list), (path("a.mid") + "\n\r\n" + path("b.wav")).toUtf8());
}

TEST_F(ListLoading, AListOfMissingFilesIsNotLoadedAndItsPathsCanBeViewed) {
    addSongs({"old.mid"});
    chooseFile("SaveDialog", "Save PlayList", path("old.mpl"));
    lists->FileSaveListClick();
    const QString list = writeList("gone.mpl", {path("x.mid"), path("y.mid")});

    chooseFile("OpenDialog", "Open PlayList", list);
    boxes.expect("Files Not Available", NoneAvailable, BoxIcon::Question, BoxButtons::YesNo, BoxButton::Yes);
    expectReport(boxes, "List of Missing Files",
                 path("x.mid") + "\n" + path("y.mid") + "\n\nThese files are missing from playlist reference " + list);
    lists->FileOpenListClick();

    EXPECT_TRUE(playlistPaths().isEmpty());
    EXPECT_FALSE(panel->playlist().ListChanged());
    EXPECT_EQ(lists->listFile(), "*.mpl");
    EXPECT_FALSE(closeListEnabled());
    EXPECT_FALSE(view().forward);
    EXPECT_EQ(caption, "MIDI Vorlo");
    // The unavailable list was opened, then closed: it heads the recent lists.
    EXPECT_EQ(lists->history().menuItems(), QStringList({list, path("old.mpl")}));
}

TEST_F(ListLoading, OnlyTheExactLowerCaseExtensionIsOpened) {
    const QString upper = writeList("Upper.MPL", {song("a.mid")});
    chooseFile("OpenDialog", "Open PlayList", upper);
    boxes.expect("Error - Playlist File Type",
                 "You can only open a playlist file (*.mpl).\nTo play mid, rmi, avi and wav files, simply double "
                 "click them in the file box.",
                 BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    lists->FileOpenListClick();
    EXPECT_TRUE(playlistPaths().isEmpty());
    EXPECT_TRUE(lists->history().isEmpty());
}

TEST_F(ListLoading, CancelInTheSaveQuestionKeepsTheListOpenAndUnchanged) {
    const QString list = writeList("open.mpl", {song("a.mid")});
    openList(list);
    addSongs({"b.mid"});
    boxes.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                 BoxButtons::YesNoCancel, BoxButton::Cancel);
    EXPECT_FALSE(lists->FileCloseListClick());
    EXPECT_EQ(playlistPaths().size(), 2);
    EXPECT_EQ(lists->listFile(), list);
    EXPECT_TRUE(closeListEnabled());
    EXPECT_TRUE(view().closeList);
    EXPECT_TRUE(view().saveList);

    // Opening an archive cannot be cancelled: Yes and No only.
    boxes.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question, BoxButtons::YesNo,
                 BoxButton::No);
    EXPECT_TRUE(lists->FileCloseListClick(CloseOrigin::ArchiveOpening));
    EXPECT_TRUE(playlistPaths().isEmpty());
    EXPECT_EQ(readBytes(list), crlf({path("a.mid")}));
    EXPECT_EQ(caption, "MIDI Vorlo");
    EXPECT_FALSE(view().saveListAs);
    EXPECT_FALSE(view().closeList);
    EXPECT_FALSE(view().saveListAs);
}

TEST_F(ListLoading, AddingAListAppendsItsExistingFilesOnly) {
    addSongs({"a.mid"});
    const QString empty = writeBytes("empty.mpl", {});
    chooseFile("OpenDialog", "Add Playlist", empty);
    boxes.expect("Empty Playlist file", "No record in this playlist file!", BoxIcon::Information, BoxButtons::Ok,
                 BoxButton::Ok);
    lists->FileAddListClick();

    const QString gone = writeList("gone.mpl", {path("x.mid"), path("y.mid")});
    chooseFile("OpenDialog", "Add Playlist", gone);
    boxes.expect("File Changes",
                 "Because some files store in this playlist files has been either deleted, renamed or removed from "
                 "the previous path, MIDI Vorlo did not load these files to the playlist box.  The playlist file "
                 "itself remains unchanged. If you're sure that these files are not located on a removable drive, you "
                 "should save the current playlist to avoid this message, otherwise you should ignore the message: "
                 "'playlist has been changed' when you close this playlist file.",
                 BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    lists->FileAddListClick();
    EXPECT_EQ(playlistPaths(), QStringList{path("a.mid")});
    EXPECT_FALSE(panel->actions().addFile->isEnabled());

    // A list of existing files joins the playlist, but becomes neither its file nor part of the history.
    const QString extra = writeList("extra.mpl", {song("b.mid"), song("c.mid")});
    chooseFile("OpenDialog", "Add Playlist", extra);
    lists->FileAddListClick();
    EXPECT_EQ(playlistPaths(), QStringList({path("a.mid"), path("b.mid"), path("c.mid")}));
    EXPECT_EQ(lists->listFile(), "*.mpl");
    EXPECT_EQ(lists->fileNames().openFileName, "*.mpl");
    EXPECT_TRUE(lists->history().isEmpty());
    EXPECT_EQ(panel->selectedLine(), 2);
}

TEST_F(ListLoading, AutoLoadRestoresTheLastEntryOrEntryZeroWhenTheListIsShorter) {
    const QString list = writeList("last.mpl", {song("a.mid"), song("b.mid"), song("c.mid")});
    const QString older = writeList("older.mpl", {song("d.mid")});
    writeList("History.ini", {list, older});

    for (const auto& [lastOne, expected] : {std::pair{2, 2}, std::pair{3, 0}, std::pair{-1, 0}}) {
        ListFileNames names;
        ListCommands start(rig->core().editor(), rig->engine(), rig->core().zip(), names);
        Options options;
        options.autoLoadList = list;
        options.listDirectory = dir.path() + "/";
        options.lastOne = lastOne;
        options.autoLoad = true;
        start.applyOptions(options);
        start.loadHistory(dir.path());
        start.autoLoadAtStart();

        EXPECT_EQ(panel->playlist().CurrentIndex(), expected) << lastOne;
        EXPECT_EQ(playlistPaths().size(), 3);
        EXPECT_EQ(start.listFile(), list);
        // The open list is not among the recent ones.
        EXPECT_EQ(start.history().menuItems(), QStringList{older});
        EXPECT_EQ(start.history().entries(), QStringList({list, older}));
        Options stored;
        start.storeOptions(stored);
        EXPECT_EQ(stored.lastOne, expected);
    }
    // At the end the history goes back to the program folder.
    lists->openListAtStart(older);
    ASSERT_TRUE(QDir().mkpath(path("program")));
    lists->saveHistory(path("program"));
    EXPECT_EQ(readBytes(path("program/History.ini")), crlf({older}));
}

}  // namespace
}  // namespace vorlo::test
