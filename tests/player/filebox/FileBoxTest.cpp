#include "ScriptedMessageBoxes.h"
#include "controls/TSCheckList.h"
#include "core/playlist/ZipSession.h"
#include "core/settings/Options.h"
#include "player/filebox/DirectoryListBox.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileBoxCombos.h"
#include "player/filebox/FileListBox.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using vorlo::BoxButton;
using vorlo::BoxButtons;
using vorlo::BoxIcon;
using vorlo::FileBox;
using vorlo::PlaylistPanel;

namespace {

class FileBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The temporary folder plays a drive of its own, beside the root.
        drive = QDir(dir.path()).canonicalPath();
        music = drive + "/music";
        QDir().mkpath(music + "/jazz");
        QDir().mkpath(music + "/empty");
        for (const char* name : {"a.mid", "B.MID", "c.wav", "notes.txt", "song.kar", "pack.zip", "jazz/x.mid"})
            touch(music + "/" + name);
        QFile list(music + "/set.mpl");
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write((music + "/c.wav\r\n" + music + "/gone.mid\r\n" + music + "/song.kar\r\n").toUtf8());
        list.close();

        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(&panel);
        layout->addWidget(&box);
        box.setDriveSource([this] { return QStringList{"/", drive}; });
        box.setExternalOpener([this](const QString& path) {
            opened.append(path);
            return true;
        });
        box.attachPlaylist(&panel);
        box.attachToolButtons(&refreshButton, &cursorButton);
        box.setFolder(music);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        loaded();
    }

    static void touch(const QString& path) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    }

    vorlo::FileListBox& files() { return *box.fileListBox(); }
    vorlo::DirectoryListBox& folders() { return *box.directoryListBox(); }
    void loaded() { files().finishLoading(); }
    QStringList names() { return files().fileNames(); }
    QStringList playlistPaths() {
        QStringList paths;
        for (int i = 0; i < panel.playlist().count(); ++i) paths.append(panel.playlist().entry(i).path);
        return paths;
    }
    bool enabled(const char* buttonName) { return panel.findChild<QToolButton*>(buttonName)->isEnabled(); }

    void setFilter(int index) {
        ASSERT_TRUE(box.setFilterIndex(index));
        loaded();
    }
    QPoint fileCentre(const QString& name) {
        const int row = static_cast<int>(names().indexOf(name));
        return files().visualRect(files().model()->index(row, 0)).center();
    }
    void clickFile(const QString& name, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(files().viewport(), button, modifiers, fileCentre(name));
    }
    void doubleClickFile(const QString& name) {
        clickFile(name);
        QTest::mouseDClick(files().viewport(), Qt::LeftButton, Qt::NoModifier, fileCentre(name));
    }
    QPoint folderCentre(const QString& path) {
        return folders().visualItemRect(folders().item(folders().lineOf(path))).center();
    }

    vorlo::test::ScriptedMessageBoxes boxes;  // a box nobody expects fails the test instead of waiting
    QTemporaryDir dir;
    QString drive;
    QString music;
    QStringList opened;
    QWidget window;
    // The playlist and its editing without a playback engine: adding opens and plays nothing.
    vorlo::Playlist playlist;
    vorlo::ZipSession zip;
    vorlo::PlaylistEditor editor{playlist, zip};
    PlaylistPanel panel{editor};
    FileBox box;
    QToolButton refreshButton;
    QToolButton cursorButton;
};

TEST_F(FileBoxTest, FolderListAndFileListFollowTheDriveTheFolderAndTheFilter) {
    EXPECT_EQ(box.driveComboBox()->drive(), drive);
    // The chain from the drive's root down to the folder, then its subfolders.
    ASSERT_EQ(folders().count(), 4);
    EXPECT_EQ(folders().pathOfLine(0), drive);
    EXPECT_EQ(folders().pathOfLine(1), music);
    EXPECT_EQ(folders().item(1)->data(vorlo::DirectoryListBox::LevelRole).toInt(), 1);
    EXPECT_EQ(folders().item(2)->text(), "empty");
    EXPECT_EQ(folders().item(3)->text(), "jazz");
    EXPECT_EQ(names(), (QStringList{"a.mid", "B.MID", "c.wav"}));

    setFilter(1);
    EXPECT_EQ(names(), (QStringList{"a.mid", "B.MID"}));
    setFilter(7);
    EXPECT_EQ(names(), (QStringList{"a.mid", "B.MID", "c.wav", "notes.txt", "pack.zip", "set.mpl", "song.kar"}));
    EXPECT_FALSE(box.setFilterIndex(8));
    EXPECT_EQ(box.filterIndex(), 7);

    QSignalSpy folderChanges(&box, &FileBox::folderChanged);
    QTest::mouseDClick(folders().viewport(), Qt::LeftButton, Qt::NoModifier, folderCentre(music + "/jazz"));
    loaded();
    EXPECT_EQ(box.currentFolder(), music + "/jazz");
    ASSERT_EQ(folderChanges.count(), 1);
    EXPECT_EQ(folderChanges.at(0).at(0).toString(), music + "/jazz");
    EXPECT_EQ(names(), QStringList{"x.mid"});
    // The line above the current folder is its parent: opening it goes back up.
    QTest::mouseDClick(folders().viewport(), Qt::LeftButton, Qt::NoModifier, folderCentre(music));
    loaded();
    EXPECT_EQ(box.currentFolder(), music);

    vorlo::DriveComboBox& drives = *box.driveComboBox();
    EXPECT_EQ(drives.drives(), (QStringList{"/", drive}));
    drives.setCurrentIndex(0);
    emit drives.activated(0);
    loaded();
    // The root drive shows the folder it showed when the file box was made: the working folder.
    EXPECT_EQ(box.currentFolder(), QDir::currentPath());
    EXPECT_EQ(folders().pathOfLine(0), "/");
    folders().openLine(0);
    loaded();
    EXPECT_EQ(box.currentFolder(), "/");
    EXPECT_GE(folders().lineOf("/usr"), 0);
    // Back on the first drive, the folder last shown there comes back.
    drives.setCurrentIndex(1);
    emit drives.activated(1);
    loaded();
    EXPECT_EQ(box.currentFolder(), music);
    EXPECT_EQ(names(), (QStringList{"a.mid", "B.MID", "c.wav", "notes.txt", "pack.zip", "set.mpl", "song.kar"}));
}

TEST_F(FileBoxTest, AFolderThatIsGoneGivesWayToItsParentAndRefreshReadsTheDiskAgain) {
    box.setFolder(music + "/no/such/folder");
    loaded();
    EXPECT_EQ(box.currentFolder(), music);

    QDir().mkpath(music + "/new");
    touch(music + "/d.mid");
    EXPECT_EQ(folders().lineOf(music + "/new"), -1);
    refreshButton.click();
    files().selectFirstStartingWith("D.M");  // once the new listing is in
    loaded();
    EXPECT_GE(folders().lineOf(music + "/new"), 0);
    EXPECT_EQ(files().selectedFileNames(), QStringList{"d.mid"});
}

TEST_F(FileBoxTest, AddSelectedFilesTakesMediaAndListedFilesInListOrderAndSkipsOthers) {
    setFilter(7);
    clickFile("a.mid");
    clickFile("c.wav", Qt::ControlModifier);
    clickFile("notes.txt", Qt::ControlModifier);
    clickFile("set.mpl", Qt::ControlModifier);
    ASSERT_TRUE(enabled("BtnAddFile"));
    panel.actions().addFile->trigger();
    // set.mpl names c.wav, a missing file and song.kar.
    EXPECT_EQ(playlistPaths(),
              (QStringList{music + "/a.mid", music + "/c.wav", music + "/c.wav", music + "/song.kar"}));

    // Enter in the file list is the same command.
    editor.FileClearListClick();
    files().setFocus();
    QTest::keyClick(&files(), Qt::Key_Return);
    EXPECT_EQ(playlistPaths().size(), 4);

    editor.FileClearListClick();
    panel.actions().addAll->trigger();
    EXPECT_EQ(playlistPaths(), (QStringList{music + "/a.mid", music + "/B.MID", music + "/c.wav", music + "/c.wav",
                                            music + "/song.kar", music + "/song.kar"}));
}

TEST_F(FileBoxTest, AddButtonsFollowTheSelectionTheFilterAndAnEmptyList) {
    clickFile("a.mid");
    EXPECT_TRUE(enabled("BtnAddFile"));
    EXPECT_TRUE(enabled("BtnAddAll"));
    box.PopupFileBoxPopup();
    EXPECT_TRUE(box.popupAction("PopupAddFile")->isEnabled());

    // Zip archives are opened by double click only, even when one is selected.
    setFilter(6);
    ASSERT_EQ(names(), QStringList{"pack.zip"});
    clickFile("pack.zip");
    EXPECT_FALSE(enabled("BtnAddFile"));
    EXPECT_FALSE(enabled("BtnAddAll"));
    QSignalSpy zipRequests(&box, &FileBox::zipArchiveRequested);
    doubleClickFile("pack.zip");
    ASSERT_EQ(zipRequests.count(), 1);
    EXPECT_EQ(zipRequests.at(0).at(0).toString(), music + "/pack.zip");
    EXPECT_EQ(panel.playlist().count(), 0);

    setFilter(0);
    files().clearSelection();
    box.FileListBoxClick();
    EXPECT_FALSE(enabled("BtnAddFile"));
    EXPECT_TRUE(enabled("BtnAddAll"));
    box.PopupFileBoxPopup();
    EXPECT_FALSE(box.popupAction("PopupAddFile")->isEnabled());
    EXPECT_TRUE(box.popupAction("PopupAddAll")->isEnabled());

    box.setFolder(music + "/empty");
    loaded();
    EXPECT_FALSE(enabled("BtnAddFile"));
    EXPECT_FALSE(enabled("BtnAddAll"));
    box.PopupFileBoxPopup();
    EXPECT_FALSE(box.popupAction("PopupAddAll")->isEnabled());
}

TEST_F(FileBoxTest, AddSelectedFilesFollowsASelectionMadeWithTheKeyboardOrARightClick) {
    files().clearSelection();
    ASSERT_FALSE(enabled("BtnAddFile"));

    files().setFocus();
    QTest::keyClick(&files(), Qt::Key_Down);
    ASSERT_EQ(files().selectedFileNames().size(), 1);
    EXPECT_TRUE(enabled("BtnAddFile"));
    QTest::keyClick(&files(), Qt::Key_Space, Qt::ControlModifier);  // Ctrl+Space takes the line out again
    ASSERT_TRUE(files().selectedFileNames().isEmpty());
    EXPECT_FALSE(enabled("BtnAddFile"));

    clickFile("c.wav", Qt::NoModifier, Qt::RightButton);
    box.popupFileBox()->hide();
    EXPECT_EQ(files().selectedFileNames(), QStringList{"c.wav"});
    EXPECT_TRUE(enabled("BtnAddFile"));
    box.BtnAddFileClick();
    EXPECT_EQ(playlistPaths(), QStringList{music + "/c.wav"});

    // Selecting all by the keyboard and clearing by a command are followed too.
    QTest::keyClick(&files(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(files().selectedFileNames().size(), 3);
    EXPECT_TRUE(enabled("BtnAddFile"));
    files().clearSelection();
    EXPECT_FALSE(enabled("BtnAddFile"));
    EXPECT_TRUE(enabled("BtnAddAll"));
}

TEST_F(FileBoxTest, OpenItemAddsMediaHandsOtherFilesToTheDesktopAndRefusesInZipMode) {
    setFilter(7);
    doubleClickFile("a.mid");
    doubleClickFile("song.kar");
    EXPECT_EQ(playlistPaths(), (QStringList{music + "/a.mid", music + "/song.kar"}));
    doubleClickFile("notes.txt");
    EXPECT_EQ(opened, QStringList{music + "/notes.txt"});
    EXPECT_EQ(panel.playlist().count(), 2);

    // Below the last name nothing has the focus: a double click there does nothing.
    const QPoint below(5, files().viewport()->height() - 3);
    QTest::mouseClick(files().viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QTest::mouseDClick(files().viewport(), Qt::LeftButton, Qt::NoModifier, below);
    EXPECT_EQ(panel.playlist().count(), 2);
    EXPECT_EQ(opened.size(), 1);

    zip.enter(music + "/pack.zip");
    boxes.expect("Cannot Add File", "Cannot add file to the playlist in Zip mode!", BoxIcon::Information,
                 BoxButtons::Ok, BoxButton::Ok);
    doubleClickFile("B.MID");
    EXPECT_EQ(panel.playlist().count(), 2);
    EXPECT_EQ(boxes.pending(), 0u);
}

TEST_F(FileBoxTest, OneTouchCursorOpensFoldersAndAddsFilesWithOneClick) {
    cursorButton.click();
    EXPECT_TRUE(box.oneTouch());
    EXPECT_EQ(cursorButton.toolTip(), "Turn off One Touch Cursor");
    EXPECT_EQ(files().toolTip(), "Single Click");
    EXPECT_EQ(files().cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(panel.songList()->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(folders().viewport(), Qt::LeftButton, Qt::NoModifier, folderCentre(music + "/jazz"));
    loaded();
    EXPECT_EQ(box.currentFolder(), music + "/jazz");
    // A right click only selects; the popup does the rest.
    clickFile("x.mid", Qt::NoModifier, Qt::RightButton);
    box.popupFileBox()->hide();
    EXPECT_EQ(panel.playlist().count(), 0);
    clickFile("x.mid");
    EXPECT_EQ(playlistPaths(), QStringList{music + "/jazz/x.mid"});

    cursorButton.click();
    EXPECT_FALSE(box.oneTouch());
    EXPECT_EQ(cursorButton.toolTip(), "One Touch Cursor");
    EXPECT_EQ(files().toolTip(), "Double Click/Drag Files to Playlist");
    clickFile("x.mid");
    EXPECT_EQ(panel.playlist().count(), 1);
}

TEST_F(FileBoxTest, OptionsGiveAndTakeTheFolderTheFilterAndOneTouch) {
    vorlo::Options options;
    options.midiDirectory = music + "/jazz";
    options.filter = 9;  // out of range: the filter stays as it is
    options.oneTouch = true;
    box.applyOptions(options);
    loaded();
    EXPECT_EQ(box.currentFolder(), music + "/jazz");
    EXPECT_EQ(box.filterIndex(), 0);
    EXPECT_TRUE(cursorButton.isChecked());

    options.midiDirectory.clear();  // an empty folder leaves the file box where it is
    options.filter = 2;
    options.oneTouch = false;
    box.applyOptions(options);
    vorlo::Options saved;
    box.storeOptions(saved);
    EXPECT_EQ(saved.midiDirectory, music + "/jazz");
    EXPECT_EQ(saved.filter, 2);
    EXPECT_FALSE(saved.oneTouch);
}

TEST_F(FileBoxTest, ALargeFolderListsCompletelyAndSortedAndAnEarlierFolderNeverShowsThrough) {
    const QString big = music + "/big";
    QDir().mkpath(big);
    for (int i = 4999; i >= 0; --i) touch(big + QString("/t%1.mid").arg(i, 4, 10, QChar('0')));
    QSignalSpy loadedSpy(&box, &FileBox::fileListLoaded);
    box.setFolder(big);
    box.setFolder(music + "/jazz");  // the first listing is overtaken before it arrives
    box.setFolder(big);
    loaded();
    ASSERT_EQ(files().count(), 5000);
    EXPECT_EQ(names().first(), "t0000.mid");
    EXPECT_EQ(names().last(), "t4999.mid");
    EXPECT_FALSE(names().contains("x.mid"));
    EXPECT_GE(loadedSpy.count(), 1);
    EXPECT_TRUE(enabled("BtnAddAll"));
}

TEST_F(FileBoxTest, LaidOutAtTheDesignCoordinates) {
    box.resize(FileBox::designSize());
    EXPECT_EQ(box.panelFileList()->geometry(), QRect(0, 0, 335, 171));
    EXPECT_EQ(folders().width(), 146);
    EXPECT_EQ(box.driveComboBox()->x(), 3);
    EXPECT_EQ(box.driveComboBox()->width(), 148);
    EXPECT_EQ(box.filterComboBox()->x(), 154);
    EXPECT_EQ(box.filterComboBox()->width(), 181);
    EXPECT_EQ(box.driveComboBox()->y(), 173);
}

}  // namespace
