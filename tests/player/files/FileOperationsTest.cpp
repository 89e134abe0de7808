// The file commands on the real window: the copy and move dialog with its folder history, the rename editor, the
// folder list's popup, and drags and drops between the playlist, the file box and the desktop.
#include "controls/TSCheckList.h"
#include "core/playlist/ListFile.h"
#include "os/NativePath.h"
#include "player/app/TFormPlayer.h"
#include "player/filebox/DirectoryListBox.h"
#include "player/filebox/DragPayloads.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileListBox.h"
#include "player/files/FileOperations.h"
#include "player/files/RenameEditor.h"
#include "player/files/TFormNF.h"
#include "player/playlist/PlaylistPanel.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>

using namespace vorlo;

namespace {

class FileOperationsTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        storeOptions();
        songs = path("songs");
        QDir().mkpath(songs);
        for (const char* name : {"a.mid", "b.mid", "c.mid"}) ASSERT_TRUE(test::writeSong(songs + "/" + name));
        form = std::make_unique<TFormPlayer>(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form->FormCreate({}));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->fileBox().setFolder(songs);
    }

    void TearDown() override {
        // A changed list that was never saved: the window asks once more as it goes.
        if (!list().isEmpty() && list().ListChanged())
            boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                          BoxButtons::YesNo, BoxButton::No);
        form.reset();
        PlayerSandbox::TearDown();
    }

    // The songs as playlist entries.
    void addSongs(std::initializer_list<const char*> names) {
        std::vector<FileBoxItem> items;
        for (const char* name : names) items.push_back({name, name});
        panel().addSelectedFiles(songs, items);
    }

    PlaylistPanel& panel() { return form->playlistPanel(); }
    Playlist& list() { return panel().playlist(); }
    FileOperations& operations() { return form->fileOperations(); }
    DirectoryListBox& folders() { return *form->fileBox().directoryListBox(); }
    QString historyFile() const { return path("folder.ini"); }

    // Delivers a drag that enters, moves to `at` and drops on `target` (a list's viewport); returns whether the
    // target took the drop.
    static bool dragAndDrop(QWidget* target, QPoint at, const QMimeData* mime) {
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        if (!move.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }

    QPoint centreOfLine(QAbstractItemView* view, int row) {
        return view->visualRect(view->model()->index(row, 0)).center();
    }

    QString songs;
    std::unique_ptr<TFormPlayer> form;
};

TEST_F(FileOperationsTest, TheCopyDialogNamesTheEntryCopiesItAndKeepsTheFolderFirstInItsHistory) {
    addSongs({"a.mid", "b.mid"});
    const QString target = path("target");
    QDir().mkpath(target);
    list().selectLine(1);
    boxes_.expectDialog("TFormNF", [&](QObject& dialog) {
        auto& nf = static_cast<TFormNF&>(dialog);
        EXPECT_EQ(nf.windowTitle(), "Copy File");
        EXPECT_EQ(nf.labelText(), "Copy 'b.mid' to this path:");
        EXPECT_EQ(nf.folderText(), songs + "/");
        EXPECT_TRUE(nf.radioOne()->isChecked());
        // The radio buttons name what will be copied.
        nf.radioChecked()->click();
        EXPECT_EQ(nf.labelText(), "Copy all checked files in the playlist to this path:");
        nf.radioAll()->click();
        EXPECT_EQ(nf.labelText(), "Copy all files in the playlist to this path:");
        nf.radioOne()->click();
        EXPECT_EQ(nf.labelText(), "Copy 'b.mid' to this path:");
        nf.setFolderText(target + "/");
        return int(QDialog::Accepted);
    });
    panel().actions().copy->trigger();
    EXPECT_TRUE(QFile::exists(target + "/b.mid"));
    EXPECT_FALSE(QFile::exists(target + "/a.mid"));
    EXPECT_TRUE(QFile::exists(songs + "/b.mid"));
    EXPECT_EQ(list().path(1), songs + "/b.mid");
    EXPECT_EQ(ListFile::read(historyFile()), QStringList{target});

    // Cancel leaves the history as it was, byte for byte; the next dialog lists the folder.
    const QByteArray before = fileBytes(historyFile());
    boxes_.expectDialog("TFormNF", [&](QObject& dialog) {
        auto& nf = static_cast<TFormNF&>(dialog);
        EXPECT_EQ(nf.windowTitle(), "Move File");
        EXPECT_EQ(nf.comboNF()->count(), 1);
        EXPECT_EQ(nf.comboNF()->itemText(0), target);
        nf.setFolderText(path("elsewhere"));
        return int(QDialog::Rejected);
    });
    panel().actions().move->trigger();
    EXPECT_EQ(fileBytes(historyFile()), before);
    EXPECT_TRUE(QFile::exists(songs + "/b.mid"));
}

TEST_F(FileOperationsTest, WithoutASelectedEntryTheDialogOffersAllFilesAndMovesThemAll) {
    addSongs({"a.mid", "b.mid"});
    list().selectLine(-1);
    const QString target = path("all");
    QDir().mkpath(target);
    boxes_.expectDialog("TFormNF", [&](QObject& dialog) {
        auto& nf = static_cast<TFormNF&>(dialog);
        EXPECT_TRUE(nf.radioAll()->isChecked());
        EXPECT_FALSE(nf.radioOne()->isEnabled());
        EXPECT_EQ(nf.labelText(), "Move all files in the playlist to this path:");
        nf.setFolderText(target);
        return int(QDialog::Accepted);
    });
    panel().actions().move->trigger();
    EXPECT_EQ(list().path(0), target + "/a.mid");
    EXPECT_EQ(list().path(1), target + "/b.mid");
    EXPECT_FALSE(QFile::exists(songs + "/a.mid"));
    EXPECT_TRUE(QFile::exists(target + "/b.mid"));
}

TEST_F(FileOperationsTest, CtrlFMakesANewFolderBelowTheShownOneAndTheFolderListSelectsIt) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    boxes_.expectDialog("TFormNF", [&](QObject& dialog) {
        auto& nf = static_cast<TFormNF&>(dialog);
        EXPECT_EQ(nf.windowTitle(), "Create New Folder");
        EXPECT_EQ(nf.labelText(), "Enter the name of the new folder:");
        EXPECT_FALSE(nf.radioOne()->isVisibleTo(&nf));
        nf.setFolderText("fresh");
        return int(QDialog::Accepted);
    });
    QTest::keyClick(form.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(boxes_.pending(), 0u);
    EXPECT_TRUE(QFileInfo(songs + "/fresh").isDir());
    EXPECT_EQ(folders().selectedFolder(), songs + "/fresh");
    EXPECT_EQ(ListFile::read(historyFile()), QStringList{songs + "/fresh"});

    // The same name again: the folder is there already; the history stays as it was.
    boxes_.expectDialog("TFormNF", [&](QObject& dialog) {
        static_cast<TFormNF&>(dialog).setFolderText(songs + "/fresh/");
        return int(QDialog::Accepted);
    });
    boxes_.expect("Error - Create New Folder", "This folder already exists!", BoxIcon::Error, BoxButtons::Ok,
                  BoxButton::Ok);
    operations().newFolderAction()->trigger();
    EXPECT_EQ(ListFile::read(historyFile()), QStringList{songs + "/fresh"});
}

TEST_F(FileOperationsTest, TheRenameEditorOpensOverTheEntryAndEnterRenamesWhileEscapeDoesNot) {
    addSongs({"a.mid", "b.mid"});
    TSCheckList* songList = panel().songList();
    list().selectLine(1);
    panel().actions().rename->trigger();
    RenameEditor& editor = operations().renameEditor();
    ASSERT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.objectName(), "EditFile");
    EXPECT_EQ(editor.text(), "b.mid");
    EXPECT_EQ(list().selectedLine(), -1);
    const QRect line = songList->visualRect(songList->model()->index(1, 0));
    EXPECT_EQ(editor.geometry().top(), songList->y() + songList->viewport()->y() + line.top() + 1);
    EXPECT_EQ(editor.height(), RenameEditor::kStartHeight);

    // Escape: nothing is renamed, the entry is selected again.
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(list().selectedLine(), 1);
    EXPECT_TRUE(QFile::exists(songs + "/b.mid"));

    // Typing grows the line; Enter renames and keeps the extension.
    panel().actions().rename->trigger();
    ASSERT_TRUE(editor.isVisible());
    editor.selectAll();
    QTest::keyClicks(&editor, "tune");
    EXPECT_EQ(editor.height(), RenameEditor::kTypingHeight);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(QFile::exists(songs + "/tune.mid"));
    EXPECT_FALSE(QFile::exists(songs + "/b.mid"));
    EXPECT_EQ(list().displayName(1), "tune.mid");
    EXPECT_EQ(list().path(1), songs + "/tune.mid");
    EXPECT_EQ(list().selectedLine(), 1);

    // A name that is taken: the other file stays, the entry too.
    panel().actions().rename->trigger();
    editor.setText("a");
    boxes_.expect("Error - Rename file", "Permission denied! Same name file already exists.", BoxIcon::Error,
                  BoxButtons::Ok, BoxButton::Ok);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(songs + "/tune.mid"));
    EXPECT_EQ(list().displayName(1), "tune.mid");
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(FileOperationsTest, ScrollingTheListEndsTheRenameWithoutRenaming) {
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(test::writeSong(songs + QString("/n%1.mid").arg(i, 2, 10, QChar('0'))));
    std::vector<FileBoxItem> items;
    for (int i = 0; i < 60; ++i) {
        const QString name = QString("n%1.mid").arg(i, 2, 10, QChar('0'));
        items.push_back({name, name});
    }
    panel().addSelectedFiles(songs, items);
    list().selectLine(0);
    panel().actions().rename->trigger();
    ASSERT_TRUE(operations().renameEditor().isVisible());
    panel().songList()->verticalScrollBar()->setValue(10);
    EXPECT_FALSE(operations().renameEditor().isVisible());
    EXPECT_TRUE(QFile::exists(songs + "/n00.mid"));
}

TEST_F(FileOperationsTest, DeletingTheShownFolderMovesTheFolderListToItsParentAndAFullFolderIsKept) {
    const QString empty = songs + "/empty";
    QDir().mkpath(empty);
    form->fileBox().setFolder(empty);
    folders().setCurrentRow(folders().lineOf(empty));
    operations().deleteFolderAction()->trigger();
    EXPECT_FALSE(QFileInfo::exists(empty));
    EXPECT_EQ(folders().directory(), songs);

    folders().setCurrentRow(folders().lineOf(songs));
    boxes_.expect("Error - Delete Folder",
                  "Folder " + songs +
                      " is either root directory or is not empty!\nRemove all the files in this folder and try again.",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    operations().deleteFolderAction()->trigger();
    EXPECT_TRUE(QFile::exists(songs + "/a.mid"));
    EXPECT_TRUE(form->fileBox().popupDir()->actions().contains(operations().deleteFolderAction()));
    EXPECT_TRUE(form->fileBox().popupDir()->actions().contains(operations().newFolderAction()));
}

TEST_F(FileOperationsTest, ALineDroppedOnAFolderOffersMoveOrCopyAndMoveTakesTheFileThere) {
    addSongs({"a.mid", "b.mid"});
    const QString drop = songs + "/drop";
    QDir().mkpath(drop);
    form->fileBox().setFolder(songs);
    TSCheckList* songList = panel().songList();
    QTest::mousePress(songList->viewport(), Qt::LeftButton, {}, centreOfLine(songList, 0));
    QTest::mouseRelease(songList->viewport(), Qt::LeftButton, {}, centreOfLine(songList, 0));
    ASSERT_EQ(list().DragIndex(), 0);

    const int dropLine = folders().lineOf(drop);
    ASSERT_GE(dropLine, 0);
    std::unique_ptr<QMimeData> line(DragPayloads::playlistLine(0));
    ASSERT_TRUE(dragAndDrop(folders().viewport(), centreOfLine(&folders(), dropLine), line.get()));
    EXPECT_EQ(folders().selectedFolder(), drop);
    QMenu* popup = operations().dragMoveCopyPopup();
    ASSERT_TRUE(popup->isVisible());
    QStringList captions;
    for (QAction* action : popup->actions()) captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, QStringList({"&Move", "&Copy", "-", "C&ancel"}));
    EXPECT_EQ(popup->defaultAction()->text(), "&Move");
    popup->defaultAction()->trigger();
    popup->hide();
    EXPECT_TRUE(QFile::exists(drop + "/a.mid"));
    EXPECT_FALSE(QFile::exists(songs + "/a.mid"));
    EXPECT_EQ(list().path(0), drop + "/a.mid");

    // Files of the file list are refused by the folder list.
    std::unique_ptr<QMimeData> files(DragPayloads::fileBoxFiles(songs, {"b.mid"}));
    EXPECT_FALSE(dragAndDrop(folders().viewport(), centreOfLine(&folders(), dropLine), files.get()));
}

TEST_F(FileOperationsTest, FilesDroppedFromTheDesktopAreAddedWithTheListsEntriesAndNothingElse) {
    // A name with a space and a "#" arrives percent-escaped; a list file brings its existing entries.
    const QString odd = songs + "/odd #1.mid";
    ASSERT_TRUE(test::writeSong(odd));
    ASSERT_TRUE(test::writeSong(songs + "/LOUD.MID"));
    const QString setList = songs + "/set.mpl";
    ListFile::write(setList, {songs + "/a.mid", songs + "/gone.mid", songs + "/c.mid"});
    QByteArray uris;
    for (const QString& file : {odd, songs + "/LOUD.MID", setList})
        uris += QUrl::fromLocalFile(file).toEncoded() + "\r\n";
    uris += QUrl::fromLocalFile(songs).toEncoded() + "\r\n";  // a folder: nothing
    uris += "http://example.org/remote.mid\r\n";              // a remote file: nothing
    // A name that is not UTF-8 (Latin-1 here) is added with its own bytes.
    const QByteArray latin1 = encodePath(songs) + "/caf\xE9.mid";
    ASSERT_EQ(::rename(encodePath(songs + "/LOUD.MID").constData(), latin1.constData()), 0);
    ASSERT_TRUE(test::writeSong(songs + "/LOUD.MID"));
    uris += "file://" + encodePath(songs) + "/caf%E9.mid\r\n";
    EXPECT_TRUE(uris.contains("odd%20%231.mid"));
    QMimeData mime;
    mime.setData("text/uri-list", uris);
    ASSERT_TRUE(dragAndDrop(panel().songList()->viewport(), QPoint(10, 10), &mime));
    ASSERT_EQ(list().count(), 5);
    EXPECT_EQ(list().path(0), odd);
    EXPECT_EQ(list().displayName(1), "LOUD.MID");
    EXPECT_EQ(list().path(2), songs + "/a.mid");
    EXPECT_EQ(list().path(3), songs + "/c.mid");
    EXPECT_EQ(encodePath(list().path(4)), latin1);
    EXPECT_EQ(list().selectedLine(), 4);
    ::unlink(latin1.constData());  // Qt's own conversion cannot name it, so the temporary folder could not remove it
}

TEST_F(FileOperationsTest, AFolderDroppedFromTheFolderListAddsEveryPlayableFileBelowIt) {
    QDir().mkpath(songs + "/deep/er");
    ASSERT_TRUE(test::writeSong(songs + "/deep/er/x.mid"));
    QFile(songs + "/deep/notes.txt").open(QIODevice::WriteOnly);
    QSignalSpy added(&operations(), &FileOperations::folderAdded);
    std::unique_ptr<QMimeData> folder(DragPayloads::folder(songs));
    ASSERT_TRUE(dragAndDrop(panel().songList()->viewport(), QPoint(10, 10), folder.get()));
    EXPECT_TRUE(operations().addingFolder() || added.count() == 1);
    // A second drop while the walk runs does not start another.
    operations().addFolder(songs);
    ASSERT_TRUE(added.count() == 1 || added.wait(30000));
    EXPECT_EQ(added.count(), 1);
    QStringList paths;
    for (int i = 0; i < list().count(); ++i) paths << list().path(i);
    paths.sort();
    EXPECT_EQ(paths, QStringList({songs + "/a.mid", songs + "/b.mid", songs + "/c.mid", songs + "/deep/er/x.mid"}));
    EXPECT_EQ(operations().addFolderProgress(), nullptr);
    EXPECT_FALSE(added.first().at(0).toBool());
}

TEST_F(FileOperationsTest, CancelInTheProgressBoxEndsAddFolderAndKeepsWhatWasFound) {
    const QString tree = path("tree");
    for (int i = 0; i < 300; ++i) {
        QDir().mkpath(tree + QString("/f%1").arg(i));
        // Real songs: when the first ones arrive the list may start playing, and empty files would all fail.
        ASSERT_TRUE(test::writeSong(tree + QString("/f%1/s.mid").arg(i)));
    }
    QSignalSpy added(&operations(), &FileOperations::folderAdded);
    operations().addFolder(tree);
    QProgressDialog* progress = operations().addFolderProgress();
    ASSERT_NE(progress, nullptr);
    // The box keeps the window from other commands while the walk runs.
    EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
    QPushButton* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    ASSERT_TRUE(added.count() == 1 || added.wait(30000));
    EXPECT_TRUE(added.first().at(0).toBool());
    EXPECT_LE(list().count(), 300);
    for (int i = 0; i < list().count(); ++i) EXPECT_TRUE(list().path(i).startsWith(tree + "/f"));
    EXPECT_FALSE(operations().addingFolder());
    EXPECT_EQ(operations().addFolderProgress(), nullptr);
}

TEST_F(FileOperationsTest, FilesOfTheFileListDroppedOnTheListGoInAtTheDropPoint) {
    addSongs({"a.mid", "b.mid"});
    std::unique_ptr<QMimeData> files(DragPayloads::fileBoxFiles(songs, {"c.mid"}));
    TSCheckList* songList = panel().songList();
    ASSERT_TRUE(dragAndDrop(songList->viewport(), centreOfLine(songList, 1), files.get()));
    ASSERT_EQ(list().count(), 3);
    EXPECT_EQ(list().displayName(1), "c.mid");
    // A payload of another running player names nothing here.
    QMimeData foreign;
    foreign.setData(DragPayloads::FileBoxFilesType, QByteArray("garbage"));
    EXPECT_FALSE(dragAndDrop(songList->viewport(), centreOfLine(songList, 1), &foreign));
    EXPECT_EQ(list().count(), 3);
}

TEST_F(FileOperationsTest, TheKillButtonAsksFirstAndTakesTheFileAndItsLineAway) {
    addSongs({"a.mid", "b.mid"});
    list().selectLine(0);
    auto* kill = form->findChild<QToolButton*>("BtnKill");
    ASSERT_NE(kill, nullptr);
    ASSERT_TRUE(kill->isEnabled());
    const QString question =
        "Do you really want to delete 'a.mid'?\nYou will lose this file forever if you press 'Yes'!\nAdvice: Press "
        "'No' then remove this file from the playlist.";
    boxes_.expect("Warning - Delete file", question, BoxIcon::Warning, BoxButtons::YesNo, BoxButton::No);
    kill->click();
    EXPECT_TRUE(QFile::exists(songs + "/a.mid"));
    EXPECT_EQ(list().count(), 2);
    boxes_.expect("Warning - Delete file", question, BoxIcon::Warning, BoxButtons::YesNo, BoxButton::Yes);
    kill->click();
    EXPECT_FALSE(QFile::exists(songs + "/a.mid"));
    ASSERT_EQ(list().count(), 1);
    EXPECT_EQ(list().displayName(0), "b.mid");
}

TEST_F(FileOperationsTest, InZipModeTheDialogOffersOnlyTheOneEntry) {
    addSongs({"a.mid"});
    list().setDragIndex(0);
    TFormNF dialog(TFormNF::Mode::Copy, list(), true, songs, {}, form.get());
    EXPECT_TRUE(dialog.radioOne()->isChecked());
    EXPECT_FALSE(dialog.radioChecked()->isEnabled());
    EXPECT_FALSE(dialog.radioAll()->isEnabled());
    EXPECT_EQ(dialog.scope(), TransferScope::One);
    EXPECT_EQ(dialog.size(), QSize(TFormNF::kClientWidth, TFormNF::kClientHeight));
}

}  // namespace

TEST_F(FileOperationsTest, ALineDragStartsWithNoFolderChosenAndDragsEndWithThePlaylistInFocus) {
    addSongs({"a.mid", "b.mid"});
    TSCheckList* songList = panel().songList();
    const QPoint from = centreOfLine(songList, 0);
    QTest::mousePress(songList->viewport(), Qt::LeftButton, {}, from);
    folders().setCurrentRow(0);
    folders().setFocus();
    ASSERT_FALSE(folders().selectedItems().isEmpty());
    ASSERT_EQ(form->focusWidget(), &folders());
    // The pointer moves with the button held; here the drag then ends at once, dropped nowhere.
    const QPoint to = from + QPoint(0, 4 * QApplication::startDragDistance());
    for (int step = 0; step < 2; ++step) {  // the first move makes it a drag, the second starts it
        QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(songList->viewport()->mapToGlobal(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(songList->viewport(), &move);
    }
    EXPECT_TRUE(folders().selectedItems().isEmpty());
    EXPECT_EQ(form->focusWidget(), songList);
    QTest::mouseRelease(songList->viewport(), Qt::LeftButton, {}, to);

    // Files of the file list: only a drop a target took brings the playlist into focus.
    FileListBox* files = form->fileBox().fileListBox();
    folders().setFocus();
    emit files->dragEnded(false);
    EXPECT_EQ(form->focusWidget(), &folders());
    emit files->dragEnded(true);
    EXPECT_EQ(form->focusWidget(), songList);
}
