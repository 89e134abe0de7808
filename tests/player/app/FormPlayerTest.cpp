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

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

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
    // A first run opens the configuration dialog, then offers the search of all drives; the new user closes
    // the one and declines the other.
    void expectFirstRunConfiguration() {
        boxes_.expectDialog("PagesDlg", [](QObject&) { return 0; });
        boxes_.expectDialog("DgInt", [](QObject&) { return 0; });
    }
    // The playlist was changed and is never saved: the window asks once more when it is destroyed.
    void expectSaveQuestionAtDestruction() {
        boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                      BoxButtons::YesNo, BoxButton::No);
    }
};

TEST_F(FormPlayerTest, TheFirstRunShowsTheWindowAtDesignSizeAndIgnoresTheCommandLine) {
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    expectFirstRunConfiguration();
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

TEST_F(FormPlayerTest, TheFirstRunOffersTheDriveSearchAfterTheConfigurationBeforeTheWindowShows) {
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    bool configured = false;
    bool offered = false;
    boxes_.expectDialog("PagesDlg", [&](QObject&) {
        configured = true;
        return 0;
    });
    boxes_.expectDialog("DgInt", [&](QObject& dialog) {
        offered = true;
        EXPECT_TRUE(configured);
        EXPECT_FALSE(form.isVisible());
        auto& search = static_cast<QDialog&>(dialog);
        EXPECT_EQ(search.windowTitle(), "Search Files");
        EXPECT_TRUE(search.findChild<QLabel*>("LblOnly")->text().endsWith("Begin the search now?"));
        return 0;
    });
    ASSERT_TRUE(form.FormCreate({}));
    EXPECT_TRUE(offered);
    EXPECT_EQ(boxes_.pending(), 0u);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.core().playlist().count(), 0);  // declined: nothing was searched
}

TEST_F(FormPlayerTest, OnTheFirstRunTheMarksAndLabelsShowTheModesInForce) {
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    expectFirstRunConfiguration();
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

// Sees whether the application is asked to end while a closing path runs in its event loop.
class EndWatch : public QObject {
public:
    // Runs `closing` inside the application's event loop, as a menu command or the window's close button runs.
    // True when the player asked the application to end.
    static bool ends(const std::function<void()>& closing) {
        EndWatch watch;
        QApplication::setQuitOnLastWindowClosed(false);  // as the player runs: a closed window alone ends nothing
        qApp->installEventFilter(&watch);
        QObject context;
        QTimer::singleShot(0, &context, closing);
        // Still running after the closing path: end the loop here, as the player should have.
        QTimer::singleShot(0, &context, [&watch] {
            if (!watch.quitAsked_) QApplication::exit(1);
        });
        QApplication::exec();
        qApp->removeEventFilter(&watch);
        QApplication::setQuitOnLastWindowClosed(true);
        return watch.quitAsked_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit) quitAsked_ = true;
        return false;
    }

private:
    bool quitAsked_ = false;
};

TEST_F(FormPlayerTest, ADamagedSettingsFileIsKeptAsideAndEveryClosingEndsThePlayer) {
    const QByteArray damaged = "MIDI Vorlo settings hive 1\n[K]\n\"v\"=dword:1\n";
    for (bool byMenu : {true, false}) {
        writeHive(damaged);
        const QString kept = hive() + (byMenu ? ".damaged" : ".damaged-2");
        boxes_.expect("Warning - Settings File",
                      QString("The settings file %1 is damaged (line 3: a dword needs eight hexadecimal digits). It "
                              "has been kept as %2; the player runs with its default options and saves them afresh "
                              "when it closes.")
                          .arg(hive(), kept),
                      BoxIcon::Warning, BoxButtons::Ok, BoxButton::Ok);
        TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form.FormCreate({}));
        EXPECT_TRUE(form.isVisible());
        EXPECT_FALSE(form.firstRun());
        form.options().skip = 33;
        QAction* exit = form.findChild<QAction*>("FileExit");
        ASSERT_TRUE(exit);
        EXPECT_TRUE(EndWatch::ends([&] { byMenu ? exit->trigger() : void(form.close()); }));
        EXPECT_TRUE(form.closeConfirmed());
        EXPECT_EQ(fileBytes(kept), damaged);  // the user's file, as it was
        Registry reg;
        ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
        EXPECT_EQ(reg.readInteger("SKIP"), 33);  // saved afresh
    }
}

TEST_F(FormPlayerTest, ASaveThatFailsIsShownAndThePlayerStillEnds) {
    for (bool byMenu : {true, false}) {
        QDir(Registry::folder()).removeRecursively();
        QFile::remove(Registry::folder());
        storeOptions();
        TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form.FormCreate({}));
        // The settings folder has become a file: nothing can be written there.
        ASSERT_TRUE(QDir(Registry::folder()).removeRecursively());
        QFile blocker(Registry::folder());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        boxes_.expect("Error", QString("Cannot create the settings folder %1\nRegistryError").arg(Registry::folder()),
                      BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
        QAction* exit = form.findChild<QAction*>("FileExit");
        ASSERT_TRUE(exit);
        EXPECT_TRUE(EndWatch::ends([&] { byMenu ? exit->trigger() : void(form.close()); })) << byMenu;
        EXPECT_TRUE(form.closeConfirmed());
    }
}

// A logout's SIGTERM: the player ends at once without a question, saves its options and History.ini, and keeps
// the changed list, which the next start offers.
TEST_F(FormPlayerTest, ASignalEndsThePlayerWithoutQuestionsAndTheNextStartOffersTheChangedList) {
    storeOptions();
    const QString list = path("list.mpl");
    const QStringList songs{makeFile("a.mid"), makeFile("b.mid")};
    ListFile::write(list, {songs[0]});
    {
        TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form.FormCreate({list}));
        form.playlistPanel().playlist().append({songs[1], "b.mid", false});
        form.options().skip = 42;
        // In the application's event loop, as the signal's notifier calls it: the loop ends with code 0, not by
        // the test's own way out.
        QObject context;
        QTimer::singleShot(0, &context, [&form] { form.endOnSignal(); });
        QTimer::singleShot(10000, &context, [] { QApplication::exit(1); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(form.closeConfirmed());
        EXPECT_EQ(boxes_.shown().size(), 0u);
    }
    EXPECT_EQ(boxes_.shown().size(), 0u);  // nor when the window goes
    EXPECT_EQ(fileBytes(list), (songs[0] + "\r\n").toUtf8());
    EXPECT_EQ(fileBytes(path("History.ini")), (list + "\r\n").toUtf8());
    const QString kept = Registry::folder() + "/Unsaved list.mpl";
    EXPECT_EQ(fileBytes(kept), (songs[0] + "\r\n" + songs[1] + "\r\n").toUtf8());
    {
        Registry reg;
        ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
        EXPECT_EQ(reg.readInteger("SKIP"), 42);
    }

    boxes_.expect("Recover Unsaved List",
                  "The player was ended by the system while the playlist had unsaved changes; the list was kept in " +
                      kept + ".\nDo you want to load it now? (No deletes it.)",
                  BoxIcon::Question, BoxButtons::YesNo, BoxButton::Yes);
    TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(form.FormCreate({}));
    EXPECT_EQ(form.playlistPanel().playlist().PathList(), songs);
    EXPECT_TRUE(form.playlistPanel().playlist().ListChanged());
    EXPECT_FALSE(QFile::exists(kept));
    expectSaveQuestionAtDestruction();
}

// Waits until the window is on the screen in its frame, then gives a window manager a moment to move it, as one
// may after mapping a window (nothing moves windows on the offscreen platform).
bool placed(QWidget& window) {
    if (!QTest::qWaitForWindowExposed(&window) ||
        !QTest::qWaitFor([&] { return window.frameGeometry() != window.geometry(); }))
        return false;
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        const QRect before = window.frameGeometry();
        [[maybe_unused]] const bool moved = QTest::qWaitFor([&] { return window.frameGeometry() != before; }, 1000);
    }
    return true;
}

// The window manager decides where a window goes, so this shows most under a real one (ctest runs it once more
// under twm as "player_window_placement"); on the offscreen platform it checks the bookkeeping.
TEST_F(FormPlayerTest, StayOnTopLeavesTheWindowWhereItWasAndItReopensThere) {
    storeOptions([](Registry& reg) {
        reg.writeInteger("Top", 100);
        reg.writeInteger("Left", 120);
    });
    {
        TFormPlayer form(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form.FormCreate({}));
        ASSERT_TRUE(placed(form));
        EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(120, 100));
        QAction* stayOnTop = form.findChild<QAction*>("StayOnTop");
        ASSERT_TRUE(stayOnTop);
        for (bool on : {true, false}) {
            stayOnTop->trigger();
            ASSERT_TRUE(placed(form));
            EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(120, 100)) << on;
        }
        form.close();
    }
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    EXPECT_EQ(QPoint(reg.readInteger("Left"), reg.readInteger("Top")), QPoint(120, 100));
    TFormPlayer again(dir_.path(), nullptr, test::silentDevice());
    ASSERT_TRUE(again.FormCreate({}));
    ASSERT_TRUE(placed(again));
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(120, 100));
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
