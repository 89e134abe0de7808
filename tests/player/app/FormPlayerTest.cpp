#include "core/app/ErrorHandler.h"
#include "core/playlist/ListFile.h"
#include "media/EMCIDeviceError.h"
#include "os/Registry.h"
#include "player/app/DesktopOpener.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/TFormAbout.h"
#include "player/app/TFormPlayer.h"
#include "player/help/HelpWindow.h"
#include "player/playlist/PlaylistPanel.h"

#include "controls/TLabel2.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class FormPlayerTest : public test::PlayerSandbox {
protected:
    // Media files are real songs, since the player opens what it is given.
    QString makeFile(const QString& name) {
        const QString path = dir_.path() + "/" + name;
        if (name.endsWith(".mid")) {
            EXPECT_TRUE(test::writeSong(path));
        } else {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
        return path;
    }
    // The playlist was changed and is never saved: the window asks once more when it is destroyed.
    void expectSaveQuestionAtDestruction() {
        boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                      BoxButtons::YesNo, BoxButton::No);
    }
};

TEST_F(FormPlayerTest, TheFirstRunShowsTheWindowAtDesignSizeAndIgnoresTheCommandLine) {
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({"/play", "/close", "/mode", "-a"}));
    EXPECT_TRUE(form.firstRun());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.clientSize(), QSize(592, 298));
    EXPECT_FALSE(form.playOnStart());
    EXPECT_FALSE(form.closeAfterPlay());
    EXPECT_TRUE(form.playModes().autoPlay);
    EXPECT_EQ(form.programFolder(), dir_.path());
    EXPECT_TRUE(form.tempFolder().startsWith(dir_.path() + "/mvtemp-"));
}

TEST_F(FormPlayerTest, OnTheFirstRunTheMarksAndLabelsShowTheModesInForce) {
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    ASSERT_TRUE(form.firstRun());
    const PlayerActions& actions = form.playerActions();
    const auto colour = [](QWidget* label) { return label->palette().color(QPalette::WindowText); };
    EXPECT_TRUE(actions.autoPlay->isChecked());
    EXPECT_TRUE(actions.loopPlay->isChecked());
    EXPECT_FALSE(actions.repeatPlay->isChecked());
    EXPECT_EQ(colour(form.controls().labelAuto), PlayerControls::kWhite);
    EXPECT_EQ(colour(form.controls().labelLoop), PlayerControls::kFuchsia);
    EXPECT_EQ(colour(form.controls().labelRandom), PlayerControls::kSilver);

    // Ctrl+1 turns Auto off, as its mark says it will.
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_1, Qt::ControlModifier);
    EXPECT_FALSE(form.playModes().autoPlay);
    EXPECT_FALSE(actions.autoPlay->isChecked());
    EXPECT_EQ(colour(form.controls().labelAuto), PlayerControls::kSilver);
}

TEST_F(FormPlayerTest, ModeArgumentsTurnModesOnAndTheFileIsStillTaken) {
    storeOptions();
    const QString song = makeFile("song.mid");
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({"/mode", "+s", "+l", "/PLAY", song}));
    EXPECT_FALSE(form.firstRun());
    EXPECT_TRUE(form.playOnStart());
    EXPECT_TRUE(form.playModes().shuffle);
    EXPECT_TRUE(form.playModes().loop);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(FormPlayerTest, AFileArgumentThatExistsNowhereEndsTheProgram) {
    storeOptions();
    makeFile("here.mid");
    TFormPlayer missing(dir_.path(), nullptr, test::silentDevice());
    EXPECT_FALSE(missing.FormCreate({"/nowhere/gone.mid"}));
    EXPECT_FALSE(missing.isVisible());
    TFormPlayer inProgramFolder(dir_.path(), nullptr, test::silentDevice());
    EXPECT_TRUE(inProgramFolder.FormCreate({"here.mid"}));
}

TEST_F(FormPlayerTest, StoredModesAndWindowAreRestored) {
    storeOptions([](Registry& reg) {
        reg.writeBool("LoopPlay", true);
        reg.writeBool("RepeatPlay", true);
        reg.writeInteger("WindowState", 0);
        reg.writeInteger("Height", 350);
        reg.writeInteger("Width", 640);
    });
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    EXPECT_TRUE(form.playModes().loop);
    EXPECT_FALSE(form.playModes().repeat);
    EXPECT_EQ(form.clientSize(), QSize(640, 350));
}

TEST_F(FormPlayerTest, CancelInTheSaveQuestionKeepsTheWindowOpenAndSavesNothing) {
    storeOptions();
    {
        Registry reg;
        reg.deleteKey(kOptionsKey);
        storeOptions();
    }
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    form.playlistPanel().playlist().append({"/m/a.mid", "a.mid", false});
    ASSERT_TRUE(form.playlistPanel().playlist().ListChanged());
    boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                  BoxButtons::YesNoCancel, BoxButton::Cancel);
    EXPECT_FALSE(form.close());
    EXPECT_FALSE(form.closeConfirmed());
    EXPECT_TRUE(form.isVisible());
    {
        Registry reg;
        ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
        EXPECT_FALSE(reg.valueExists("SKIP"));  // the options were not saved
    }
    boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                  BoxButtons::YesNoCancel, BoxButton::No);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(form.closeConfirmed());
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    EXPECT_EQ(reg.readInteger("SKIP"), 5);
    EXPECT_FALSE(QFile::exists(form.tempFolder()));  // removed at close
}

TEST_F(FormPlayerTest, DestructionWithoutACloseStillSavesTheOptions) {
    storeOptions();
    {
        TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form.FormCreate({}));
        form.options().skip = 42;
    }
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    EXPECT_EQ(reg.readInteger("SKIP"), 42);
}

TEST_F(FormPlayerTest, ADamagedSettingsFileIsReportedAndNeverOverwritten) {
    QDir().mkpath(Registry::folder());
    QFile hive(Registry::hiveFile(RegistryRoot::CurrentUser));
    ASSERT_TRUE(hive.open(QIODevice::WriteOnly));
    hive.write("not a hive");
    hive.close();
    const QString damagedText = QString(
                                    "The settings file %1 is damaged (line 1: not a settings file). It has been "
                                    "left as it is; repair or remove it.\nRegistryError")
                                    .arg(Registry::hiveFile(RegistryRoot::CurrentUser));
    boxes_.expect("Error", damagedText, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    {
        TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form.FormCreate({}));
        EXPECT_TRUE(form.isVisible());
        boxes_.expect("Error", damagedText, BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    }
    ASSERT_TRUE(hive.open(QIODevice::ReadOnly));
    EXPECT_EQ(hive.readAll(), "not a hive");
}

TEST_F(FormPlayerTest, HandedOverFilesAndListsAreAddedToThePlaylist) {
    storeOptions();
    const QString song = makeFile("handed.mid");
    const QString other = makeFile("other.wav");
    const QString list = dir_.path() + "/handed.mpl";
    ListFile::write(list, {other, "/gone/away.mid", song});
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    const Playlist& playlist = form.playlistPanel().playlist();
    form.receiveHandOver(("/play /close " + song).toLocal8Bit());
    form.receiveHandOver("/play /close /no/such/file.mid");  // ignored without a word
    form.receiveHandOver("handed.mid");                      // found in the program folder
    form.receiveHandOver(QFile::encodeName(list));
    ASSERT_EQ(playlist.count(), 4);
    EXPECT_EQ(playlist.path(0), song);
    EXPECT_EQ(playlist.displayName(0), "handed.mid");
    EXPECT_EQ(playlist.path(1), dir_.path() + "/handed.mid");
    EXPECT_EQ(playlist.path(2), other);  // the list's missing file is left out
    EXPECT_EQ(playlist.path(3), song);
    EXPECT_FALSE(form.playlistPanel().actions().addFile->isEnabled());
    expectSaveQuestionAtDestruction();
}

TEST_F(FormPlayerTest, AnEmptyHandedOverListSaysSoAndAddsNothing) {
    storeOptions();
    const QString list = dir_.path() + "/empty.mpl";
    ListFile::write(list, {});
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    boxes_.expect("Files Not Available",
                  "None of the files in this playlist files are available now. Please check the status of all your "
                  "removable drive.",
                  BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    form.receiveHandOver(QFile::encodeName(list));
    EXPECT_TRUE(form.playlistPanel().playlist().isEmpty());
}

TEST_F(FormPlayerTest, TheSecondInstanceOptionAsksBeforePlayingAHandedOverFile) {
    storeOptions([](Registry& reg) {
        reg.writeInteger("ADDPLAY", 2);
        reg.writeBool("AutoPlay", false);
        reg.writeString("RESETFILE", "");
    });
    const QString first = makeFile("first.mid");
    const QString second = makeFile("second.mid");
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    form.receiveHandOver(QFile::encodeName(first));  // into an empty list: no question
    ASSERT_EQ(form.device().fileName(), first);
    ASSERT_NE(form.device().mode(), media::Mode::Playing);
    boxes_.expect("second.mid", "Play this new file added from the second instance now?", BoxIcon::Question,
                  BoxButtons::YesNo, BoxButton::Yes);
    form.receiveHandOver(QFile::encodeName(second));
    // Played at once, though Auto is off.
    EXPECT_EQ(form.core().playlist().CurrentIndex(), 1);
    EXPECT_EQ(form.device().fileName(), second);
    EXPECT_EQ(form.device().mode(), media::Mode::Playing);
    expectSaveQuestionAtDestruction();
}

// An event handler that fails, as a broken device or file might make one fail.
class Throwing : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("The device is not ready.");
        if (e->type() == QEvent::User + 1) throw media::EMCIDeviceError(media::kNoDeviceOpen);
        return QObject::event(e);
    }
};

TEST_F(FormPlayerTest, AMediaDeviceErrorRemovesTheSelectedEntryAndIsCaptionedWithIt) {
    storeOptions();
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    Playlist& playlist = form.playlistPanel().playlist();
    playlist.append({"/m/one.mid", "one.mid", false});
    playlist.append({"/m/two.mid", "two.mid", false});
    playlist.MarkListSaved();
    form.playlistPanel().selectLine(1);
    boxes_.expect("two.mid", "No MCI device open\nEMCIDeviceError", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    Throwing target;
    QEvent event(static_cast<QEvent::Type>(QEvent::User + 1));
    QApplication::sendEvent(&target, &event);
    ASSERT_EQ(playlist.count(), 1);
    EXPECT_EQ(playlist.path(0), "/m/one.mid");
    expectSaveQuestionAtDestruction();
}

TEST_F(FormPlayerTest, AnErrorThatEscapesAHandlerIsShownWithItsClassName) {
    boxes_.expect("Error", "The device is not ready.\nruntime_error", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    Throwing target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QApplication::sendEvent(&target, &event));  // handled, not fatal
    EXPECT_EQ(ErrorHandler::className(RegistryError("x")), "RegistryError");
}

TEST_F(FormPlayerTest, TheAboutBoxNamesTheProgramAndOpensItsPages) {
    TFormAbout about(dir_.path());
    EXPECT_EQ(about.findChild<QLabel*>("LblVersion")->text(), "Version 1.90");
    EXPECT_TRUE(about.findChild<QLabel*>("LblName")->text().contains("MIDI Vorlo"));
    QStringList opened;
    DesktopOpener::setLauncher([&](const QString& path, const std::function<void()>&) { opened << path; });
    std::vector<int> topics;
    HelpWindow::setViewer(&about, [&](int context) { topics.push_back(context); });
    ASSERT_TRUE(QFile(path("ReadMe.txt")).open(QIODevice::WriteOnly));
    emit about.findChild<QLabel*>("LblHelp")->linkActivated("help");
    emit about.findChild<QLabel*>("LblReadMe")->linkActivated("readme");
    DesktopOpener::setLauncher({});
    EXPECT_EQ(topics, std::vector<int>{HelpTopics::Contents});
    EXPECT_EQ(opened, QStringList{dir_.path() + "/ReadMe.txt"});
}

}  // namespace
