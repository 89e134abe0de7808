#include "CoreRig.h"
#include "MediaFixtures.h"
#include "QtPrinters.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"
#include "controls/TSCheckList.h"
#include "core/playlist/ListFile.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>

using vorlo::BoxButton;
using vorlo::BoxButtons;
using vorlo::BoxIcon;
using vorlo::FileBoxItem;
using vorlo::PlaylistEditor;
using vorlo::PlaylistPanel;

namespace {

// The playlist panel on the player's core (offline media device, Auto off unless a test turns it on), over real
// songs in a temporary folder.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + "/songs";
        QDir().mkpath(folder);
        for (const char* name : {"a.mid", "B.MID", "d.kar"}) ASSERT_TRUE(vorlo::test::writeSong(folder + "/" + name));
        ASSERT_TRUE(vorlo::testing::writeWave(folder + "/c.wav", 0x0002, 2, 44100, 4410, vorlo::testing::testTone));
        touch(folder + "/notes.txt");
        QFile list(folder + "/set.mpl");
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write((folder + "/c.wav\r\n" + folder + "/gone.mid\r\n" + folder + "/d.kar\r\n").toUtf8());
        list.close();

        rig.modes.autoPlay = false;
        panel.resize(PlaylistPanel::designSize());
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    static void touch(const QString& path) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
    }

    std::vector<FileBoxItem> items(std::initializer_list<const char*> names) {
        std::vector<FileBoxItem> result;
        for (const char* name : names) result.push_back({name, name});
        return result;
    }

    // Adds songs named x0.mid, x1.mid, ... straight from the file box.
    void addSongs(int n) {
        std::vector<FileBoxItem> songs;
        for (int i = 0; i < n; ++i) {
            const QString name = QString("x%1.mid").arg(i);
            EXPECT_TRUE(vorlo::test::writeSong(folder + "/" + name));
            songs.push_back({name, name});
        }
        panel.addSelectedFiles(folder, songs);
    }

    vorlo::PlayerView view() const { return rig.view(); }
    const vorlo::PlaylistActions& actions() const { return panel.actions(); }
    PlaylistEditor& editor() { return rig.core().editor(); }

    QTemporaryDir dir;
    QString folder;
    vorlo::test::CoreRig rig;
    PlaylistPanel panel{rig.core().editor()};
};

}  // namespace

TEST_F(PanelTest, AddingFromTheFileBoxTakesMediaAndExistingListedFilesAndSkipsTheRest) {
    panel.addSelectedFiles(folder, items({"a.mid", "notes.txt", "B.MID", "set.mpl"}));
    EXPECT_EQ(panel.playlist().PathList(),
              QStringList({folder + "/a.mid", folder + "/B.MID", folder + "/c.wav", folder + "/d.kar"}));
    EXPECT_EQ(panel.playlist().displayName(2), "c.wav");
    EXPECT_EQ(panel.selectedLine(), 3);
    EXPECT_TRUE(panel.playlist().ListChanged());
    // Nothing was open: the first entry is opened, not played.
    EXPECT_EQ(rig.state().openFile, folder + "/a.mid");
    EXPECT_NE(rig.device().mode(), vorlo::media::Mode::Playing);
    EXPECT_EQ(panel.playlist().CurrentIndex(), 0);
    EXPECT_TRUE(view().play);
    EXPECT_TRUE(view().saveList);
    EXPECT_TRUE(view().next);
    EXPECT_TRUE(actions().moveUp->isEnabled());
    EXPECT_FALSE(actions().moveDown->isEnabled());
    EXPECT_TRUE(panel.findChild<QToolButton*>("MoveFileUp")->isEnabled());  // the button shows its command
}

TEST_F(PanelTest, AListFileThatCannotBeReadIsReportedAndWhatCameBeforeStays) {
    EXPECT_THROW(panel.addSelectedFiles(folder, items({"a.mid", "vanished.mpl", "B.MID"})), vorlo::EListFileError);
    EXPECT_EQ(panel.playlist().PathList(), QStringList({folder + "/a.mid"}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the hourglass is gone again
}

TEST_F(PanelTest, WithAutoPlayTheAdvanceStartsBeforeTheFirstEntryAndEachListFileCounts) {
    rig.modes.autoPlay = true;
    QSignalSpy added(&editor(), &PlaylistEditor::entriesAdded);
    panel.BtnAddAllClick(folder, items({"set.mpl", "a.mid"}));
    EXPECT_EQ(panel.playlist().count(), 3);
    EXPECT_EQ(added.count(), 2);  // after the list file and at the end
    // The advance from before the first entry plays it.
    EXPECT_EQ(panel.playlist().CurrentIndex(), 0);
    EXPECT_EQ(rig.state().openFile, folder + "/c.wav");
    EXPECT_EQ(rig.device().mode(), vorlo::media::Mode::Playing);
    EXPECT_TRUE(view().stop);

    panel.addOneFile(folder + "/a.mid");
    EXPECT_EQ(added.count(), 3);
    // Something is open: the new entry just waits its turn.
    EXPECT_EQ(rig.state().openFile, folder + "/c.wav");
    EXPECT_EQ(panel.playlist().displayName(3), "a.mid");
}

TEST_F(PanelTest, ADropInsertsAtItsLineAndEndsAtTheFirstForeignFile) {
    addSongs(3);
    rig.engine().playEntry(1, vorlo::PlayRequest::UserChoice);  // x1 is open
    ASSERT_EQ(panel.playlist().CurrentIndex(), 1);
    panel.insertFromFileBox(1, folder, items({"a.mid", "set.mpl", "notes.txt", "B.MID"}));
    EXPECT_EQ(panel.playlist().PathList(), QStringList({folder + "/x0.mid", folder + "/a.mid", folder + "/c.wav",
                                                        folder + "/d.kar", folder + "/x1.mid", folder + "/x2.mid"}));
    EXPECT_EQ(panel.playlist().CurrentIndex(), 4);  // still x1
    EXPECT_EQ(rig.state().openFile, folder + "/x1.mid");
    EXPECT_EQ(panel.selectedLine(), 3);  // the last line dropped
}

TEST_F(PanelTest, NothingIsAddedInZipMode) {
    vorlo::test::ScriptedMessageBoxes boxes;
    boxes.expect("Cannot Add File", "Cannot add file to the playlist in Zip mode!", BoxIcon::Information,
                 BoxButtons::Ok, BoxButton::Ok);
    boxes.expect("Cannot Add File", "Cannot add file to the playlist in Zip mode!", BoxIcon::Information,
                 BoxButtons::Ok, BoxButton::Ok);
    rig.core().zip().enter(folder + "/pack.zip");
    EXPECT_TRUE(panel.zipMode());
    panel.addOneFile(folder + "/a.mid");
    panel.insertFromFileBox(0, folder, items({"a.mid"}));
    EXPECT_TRUE(panel.playlist().isEmpty());
    EXPECT_FALSE(view().addList);
}

TEST_F(PanelTest, RemoveButtonTakesTheSelectedLineAndAfterTheCurrentEntryTheNextOneIsOpened) {
    addSongs(4);
    rig.engine().playEntry(2, vorlo::PlayRequest::UserChoice);
    QSignalSpy removedCurrent(&editor(), &PlaylistEditor::currentEntryRemoved);
    panel.selectLine(0);
    actions().remove->trigger();
    EXPECT_EQ(panel.playlist().displayName(0), "x1.mid");
    EXPECT_EQ(panel.playlist().CurrentIndex(), 1);
    EXPECT_EQ(panel.selectedLine(), 0);
    EXPECT_EQ(removedCurrent.count(), 0);
    EXPECT_EQ(rig.state().openFile, folder + "/x2.mid");

    // The current entry goes: the next one is opened and its line selected.
    panel.selectLine(1);
    editor().BtnRemoveClick();
    ASSERT_EQ(removedCurrent.count(), 1);
    EXPECT_EQ(panel.playlist().PathList(), QStringList({folder + "/x1.mid", folder + "/x3.mid"}));
    EXPECT_EQ(panel.playlist().CurrentIndex(), 1);
    EXPECT_EQ(rig.state().openFile, folder + "/x3.mid");
    EXPECT_EQ(panel.selectedLine(), 1);
    panel.selectLine(-1);
    EXPECT_FALSE(actions().remove->isEnabled());
    EXPECT_TRUE(actions().clearList->isEnabled());

    panel.addOneFile(folder + "/a.mid");
    panel.selectLine(2);
    panel.songList()->setFocus();
    QTest::keyClick(panel.songList(), Qt::Key_Delete);  // the popup's Del works on the list directly
    EXPECT_EQ(panel.playlist().count(), 2);

    panel.selectLine(0);
    panel.editor().removeAfterDeviceError();  // two lines left: Next and Previous go off
    EXPECT_FALSE(view().next);
    EXPECT_EQ(removedCurrent.count(), 1);
    EXPECT_EQ(panel.playlist().count(), 1);
}

TEST_F(PanelTest, ClearingEmptiesTheListTurnsOffItsCommandsAndHasNothingToSave) {
    addSongs(30);
    panel.FitListExtent(QString(300, 'W'), true);
    EXPECT_GT(panel.songList()->horizontalExtent(), 0);
    QSignalSpy cleared(&editor(), &PlaylistEditor::listCleared);
    panel.selectLine(0);
    actions().clearList->trigger();
    EXPECT_TRUE(panel.playlist().isEmpty());
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_FALSE(panel.playlist().ListChanged());
    EXPECT_FALSE(rig.device().isOpen());
    EXPECT_EQ(panel.songList()->horizontalExtent(), 0);
    EXPECT_FALSE(view().play);
    EXPECT_FALSE(view().next);
    EXPECT_FALSE(view().saveList);
    EXPECT_FALSE(view().sortList);
    for (QAction* command :
         {actions().remove, actions().clearList, actions().moveUp, actions().copy, actions().move, actions().kill})
        EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();

    vorlo::test::ScriptedMessageBoxes boxes;  // an unexpected question would fail here
    EXPECT_TRUE(editor().AskSaveChanges());
}

TEST_F(PanelTest, PushButtonsMoveTheSelectedLineAndStopAtTheEnds) {
    addSongs(3);
    panel.selectLine(2);
    actions().moveUp->trigger();
    actions().moveUp->trigger();
    EXPECT_EQ(panel.playlist().displayName(0), "x2.mid");
    EXPECT_EQ(panel.selectedLine(), 0);
    EXPECT_FALSE(actions().moveUp->isEnabled());
    actions().moveDown->trigger();
    EXPECT_EQ(panel.playlist().displayName(1), "x2.mid");
    EXPECT_TRUE(actions().moveUp->isEnabled());
}

TEST_F(PanelTest, CheckBoxesOfTheViewSetTheMarksButNotTheChangedFlag) {
    addSongs(2);
    panel.playlist().MarkListSaved();
    QAbstractItemModel* model = panel.songList()->model();
    ASSERT_TRUE(model->setData(model->index(1, 0), Qt::PartiallyChecked, Qt::CheckStateRole));
    EXPECT_TRUE(panel.playlist().isChecked(1));
    EXPECT_FALSE(panel.playlist().ListChanged());
    actions().uncheckAll->trigger();
    EXPECT_FALSE(panel.playlist().isChecked(1));
}

TEST_F(PanelTest, DoubleClickAndEnterAskForTheSelectedEntryToBePlayed) {
    addSongs(5);
    QSignalSpy play(&editor(), &PlaylistEditor::playRequested);
    const QRect line3 = panel.songList()->visualRect(panel.songList()->model()->index(3, 0));
    QTest::mouseClick(panel.songList()->viewport(), Qt::LeftButton, {}, line3.center() + QPoint(20, 0));
    QTest::mouseDClick(panel.songList()->viewport(), Qt::LeftButton, {}, line3.center() + QPoint(20, 0));
    ASSERT_EQ(play.count(), 1);
    EXPECT_EQ(play.at(0).at(0).toInt(), 3);
    panel.selectLine(1);
    QTest::keyClick(panel.songList(), Qt::Key_Return);
    ASSERT_EQ(play.count(), 2);
    EXPECT_EQ(play.at(1).at(0).toInt(), 1);

    panel.setOneTouchCursor(true);  // a single click is enough
    QTest::mouseClick(panel.songList()->viewport(), Qt::LeftButton, {}, line3.center() + QPoint(20, 0));
    EXPECT_EQ(play.count(), 3);
}

TEST_F(PanelTest, APressRecordsTheDragLineAndTheDropMovesItThere) {
    addSongs(4);
    const auto lineCentre = [this](int row) {
        return panel.songList()->visualRect(panel.songList()->model()->index(row, 0)).center() + QPoint(20, 0);
    };
    QTest::mousePress(panel.songList()->viewport(), Qt::RightButton, {}, lineCentre(1));
    QTest::mouseRelease(panel.songList()->viewport(), Qt::RightButton, {}, lineCentre(1));
    EXPECT_EQ(panel.playlist().DragIndex(), 1);
    EXPECT_EQ(panel.selectedLine(), 1);  // the popup will act on this line

    const QPoint belowLast(10, panel.songList()->viewport()->height() - 2);
    EXPECT_EQ(panel.dropIndexAt(lineCentre(3)), 3);
    EXPECT_EQ(panel.dropIndexAt(belowLast), 4);
    EXPECT_EQ(panel.dropIndexAt(QPoint(-5, 5)), -1);
    panel.dropDraggedLine(panel.dropIndexAt(belowLast));
    EXPECT_EQ(panel.playlist().displayName(3), "x1.mid");
    EXPECT_EQ(panel.selectedLine(), 3);
}

TEST_F(PanelTest, AChangedListAsksBeforeItIsLeft) {
    addSongs(2);
    QSignalSpy save(&editor(), &PlaylistEditor::saveListRequested);
    vorlo::test::ScriptedMessageBoxes boxes;
    const QString caption = "Save list now?";
    const QString text = "This list has been changed. Save it now?";
    boxes.expect(caption, text, BoxIcon::Question, BoxButtons::YesNoCancel, BoxButton::Cancel);
    EXPECT_FALSE(editor().AskSaveChanges());
    EXPECT_TRUE(panel.playlist().ListChanged());
    boxes.expect(caption, text, BoxIcon::Question, BoxButtons::YesNoCancel, BoxButton::Yes);
    EXPECT_TRUE(editor().AskSaveChanges());
    EXPECT_EQ(save.count(), 1);
    boxes.expect(caption, text, BoxIcon::Question, BoxButtons::YesNo, BoxButton::No);
    EXPECT_TRUE(editor().AskSaveChanges(false));
    EXPECT_FALSE(panel.playlist().ListChanged());
    EXPECT_TRUE(editor().AskSaveChanges());  // nothing changed since: no question
    ASSERT_EQ(boxes.shown().size(), 3U);
    EXPECT_TRUE(boxes.shown()[0].topMost);
}

namespace {

// The list widens for its longest name in the font it shows the names in, also after that font has changed.
TEST_F(PanelTest, NewLinesWidenTheListInTheFontItShowsThemIn) {
    addSongs(1);
    QFont big = panel.songList()->font();
    big.setPixelSize(48);
    panel.songList()->setFont(big);
    const QString name = QString("wide %1.mid").arg(QString(60, 'W'));
    ASSERT_TRUE(vorlo::test::writeSong(folder + "/" + name));
    panel.addSelectedFiles(folder, {{name, name}});
    EXPECT_GE(panel.songList()->horizontalExtent(), QFontMetrics(big).horizontalAdvance(name));
}

// The view asks the model for each line's index when it lays the list out: one for every line, none elsewhere.
TEST_F(PanelTest, TheListsModelHasAnIndexForEachLineAndNoneElsewhere) {
    addSongs(3);
    const QAbstractItemModel* model = panel.songList()->model();
    EXPECT_EQ(model->index(2, 0).row(), 2);
    EXPECT_EQ(model->index(2, 0).data().toString(), "x2.mid");
    EXPECT_FALSE(model->index(3, 0).isValid());
    EXPECT_FALSE(model->index(-1, 0).isValid());
    EXPECT_FALSE(model->index(0, 1).isValid());
    EXPECT_FALSE(model->index(0, 0, model->index(0, 0)).isValid());
}

}  // namespace
