// Saving a playlist: the extension reminder, the overwrite question, the caption and the history.
#include "ListsFixture.h"

#include "core/playlist/ListFile.h"
#include "core/playlist/ListHistory.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>

namespace vorlo::test {
namespace {

const QString Reminder = QStringLiteral("Reminding - MIDI Vorlo PlayList File Extension");
const QString ReminderText = QStringLiteral(
    "You have typed a wrong extension for playlist file.\nRemember, you don't have to type any extension.\nMIDI Vorlo "
    "will always save playlist File with the 'mpl' extension.");

using ListSaving = ListsFixture;

TEST_F(ListSaving, ANameWithoutExtensionIsSavedAsAnMplFileWithoutAReminder) {
    addSongs({"a.mid", "b.mid", "c.wav"});
    panel->playlist().setCurrentIndex(1);

    // "Save List" on a list without a file asks for a name with its own title.
    chooseFile("SaveDialog", "Save PlayList", path("Classics"));
    lists->FileSaveListClick();

    const QString saved = path("Classics.mpl");
    EXPECT_EQ(readBytes(saved), crlf({path("a.mid"), path("b.mid"), path("c.wav")}));
    EXPECT_EQ(lists->listFile(), saved);
    EXPECT_EQ(lists->fileNames().openFileName, saved);
    EXPECT_EQ(lists->history().entries(), QStringList{saved});
    EXPECT_TRUE(lists->history().menuItems().isEmpty());
    EXPECT_EQ(caption, "b.mid - Classics - MIDI Vorlo");
    EXPECT_TRUE(closeListEnabled());
    EXPECT_FALSE(panel->playlist().ListChanged());
    EXPECT_EQ(lists->fileNames().saveInitialFolder, dir.path() + "/");
}

TEST_F(ListSaving, AWrongExtensionIsReplacedAfterTheReminder) {
    addSongs({"a.mid"});
    for (const QString typed : {"Upper.MPL", "notes.txt", "dotted."}) {
        chooseFile("SaveDialog", "Save PlayList As", path(typed));
        boxes.expect(Reminder, ReminderText, BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
        lists->FileSaveListAsClick();

        const QString expected = path(typed.left(typed.lastIndexOf('.')) + ".mpl");
        EXPECT_EQ(lists->listFile(), expected) << typed.toStdString();
        EXPECT_EQ(readBytes(expected), crlf({path("a.mid")}));
        EXPECT_FALSE(QFileInfo::exists(path(typed))) << typed.toStdString();
    }
    EXPECT_EQ(lists->history().entries(), QStringList({path("dotted.mpl"), path("notes.mpl"), path("Upper.mpl")}));
}

TEST_F(ListSaving, DecliningToOverwriteAnotherListWritesNothingAndLeavesThePlaylistWithoutAFile) {
    const QString other = writeList("other.mpl", {"/somewhere/else.mid"});
    addSongs({"a.mid", "b.mid"});
    chooseFile("SaveDialog", "Save PlayList", path("first.mpl"));
    lists->FileSaveListClick();
    ASSERT_EQ(lists->listFile(), path("first.mpl"));

    chooseFile("SaveDialog", "Save PlayList As", other);
    boxes.expect("Warning - Overwrite playlist file", "Do you want to overwrite 'other.mpl' with current playlist?",
                 BoxIcon::Warning, BoxButtons::YesNo, BoxButton::No);
    lists->FileSaveListAsClick();

    EXPECT_EQ(readBytes(other), QByteArray("/somewhere/else.mid\r\n"));
    EXPECT_EQ(lists->listFile(), "*.mpl");
    EXPECT_EQ(lists->history().entries(), QStringList{path("first.mpl")});
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown().back().defaultButton, BoxButton::No);

    chooseFile("SaveDialog", "Save PlayList As", other);
    boxes.expect("Warning - Overwrite playlist file", "Do you want to overwrite 'other.mpl' with current playlist?",
                 BoxIcon::Warning, BoxButtons::YesNo, BoxButton::Yes);
    lists->FileSaveListAsClick();
    EXPECT_EQ(readBytes(other), crlf({path("a.mid"), path("b.mid")}));
    EXPECT_EQ(lists->history().entries(), QStringList({other, path("first.mpl")}));
    EXPECT_EQ(lists->history().menuItems(), QStringList{path("first.mpl")});
}

TEST_F(ListSaving, OnlyTheOpenListsOwnFileIsOverwrittenWithoutAQuestion) {
    const QString list = writeList("own.mpl", {song("a.mid")});
    openList(list);
    addSongs({"b.mid"});
    chooseFile("SaveDialog", "Save PlayList As", list);
    lists->FileSaveListAsClick();
    EXPECT_EQ(readBytes(list), crlf({path("a.mid"), path("b.mid")}));
    EXPECT_FALSE(view().saveList);

    // Once the list is closed, its file is just another existing file.
    lists->FileCloseListClick();
    addSongs({"c.mid"});
    chooseFile("SaveDialog", "Save PlayList", list);
    boxes.expect("Warning - Overwrite playlist file", "Do you want to overwrite 'own.mpl' with current playlist?",
                 BoxIcon::Warning, BoxButtons::YesNo, BoxButton::No);
    lists->FileSaveListClick();
    EXPECT_EQ(readBytes(list), crlf({path("a.mid"), path("b.mid")}));
}

TEST_F(ListSaving, AFailedWriteIsReportedAndTheListKeepsItsChangesAndHasNoFileYet) {
    addSongs({"a.mid", "b.mid"});
    // A folder where the list file would go: the name cannot be written.
    const QString unwritable = path("list.mpl");
    ASSERT_TRUE(QDir().mkpath(unwritable));
    QString expectedText;
    try {
        ListFile::write(unwritable, {});
    } catch (const EListFileError& error) {
        expectedText = QString::fromLocal8Bit(error.what()) + "\nEListFileError";
    }
    ASSERT_FALSE(expectedText.isEmpty());

    chooseFile("SaveDialog", "Save PlayList", unwritable);
    boxes.expect("Error", expectedText, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    lists->FileSaveListClick();

    EXPECT_EQ(lists->listFile(), "*.mpl");
    EXPECT_TRUE(lists->history().isEmpty());
    EXPECT_TRUE(panel->playlist().ListChanged());
    EXPECT_FALSE(closeListEnabled());
}

TEST_F(ListSaving, YesToTheSaveQuestionWithTheSaveDialogCancelledKeepsTheList) {
    addSongs({"a.mid", "b.mid"});
    boxes.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                 BoxButtons::YesNoCancel, BoxButton::Yes);
    boxes.expectDialog("SaveDialog", [](QObject&) { return int(QDialog::Rejected); });
    lists->FileOpenListClick();  // no open dialog follows

    EXPECT_EQ(playlistPaths(), QStringList({path("a.mid"), path("b.mid")}));
    EXPECT_TRUE(panel->playlist().ListChanged());
    EXPECT_TRUE(lists->history().isEmpty());
}

}  // namespace
}  // namespace vorlo::test
