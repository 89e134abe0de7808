#include "controls/TSTrackBar.h"
#include "os/Registry.h"
#include "player/app/ModalDialogs.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/StayOnTop.h"
#include "player/app/TFormPlayer.h"
#include "player/app/TrayMenu.h"
#include "player/app/WindowParts.h"
#include "player/filebox/FileBox.h"
#include "player/playlist/PlaylistPanel.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class WindowPartsTest : public test::PlayerSandbox {
protected:
    std::unique_ptr<TFormPlayer> makeForm() {
        auto form = std::make_unique<TFormPlayer>(dir_.path(), nullptr, test::silentDevice());
        EXPECT_TRUE(form->FormCreate({}));
        return form;
    }
    // A real song made current and opened, stopped and ready to play.
    void openSong(TFormPlayer& form) {
        const QString song = path("long.mid");
        ASSERT_TRUE(test::writeSong(song, 3000));
        Playlist& playlist = form.playlistPanel().playlist();
        playlist.append({song, "long.mid", false});
        playlist.MarkListSaved();
        playlist.setCurrentIndex(0);
        ASSERT_TRUE(form.engine().OpenCurrentEntry());
        form.engine().ShowStoppedButtons();
    }
    static QAction* item(TFormPlayer& form, const char* name) { return form.findChild<QAction*>(QLatin1String(name)); }
    // An item of the tray menu by its object name.
    static QAction* trayItem(TrayMenu& tray, const char* name) {
        for (QAction* action : tray.menu()->actions())
            if (action->objectName() == QLatin1String(name)) return action;
        ADD_FAILURE() << "no tray item " << name;
        return nullptr;
    }
    static void toggle(TFormPlayer& form, const char* name) { item(form, name)->trigger(); }
    static int menuHeight(TFormPlayer& form) { return form.windowParts().menuHeight(); }
};

TEST_F(WindowPartsTest, AtDesignSizeEveryPartShowsAndTheTopRowCannotBeHidden) {
    storeOptions();
    auto form = makeForm();
    for (const char* name : {"FileBox", "PlayList", "TrackB", "Menu", "Counter", "ToolBar"})
        EXPECT_TRUE(item(*form, name)->isChecked()) << name;
    EXPECT_FALSE(item(*form, "Counter")->isEnabled());
    EXPECT_FALSE(item(*form, "ToolBar")->isEnabled());
    EXPECT_TRUE(item(*form, "RefreshFileBox")->isEnabled());
    EXPECT_EQ(form->clientSize(), QSize(592, 298));
    EXPECT_EQ(form->minimumSize(), QSize(592, 298 + menuHeight(*form)));
    EXPECT_GT(form->maximumWidth(), form->minimumWidth());
    // The design layout: playlist panel 200 wide with the middle panel beside it, the file box from 252 to 587.
    EXPECT_EQ(form->playlistPanel().geometry(), QRect(2, 60, 247, 235));
    EXPECT_EQ(form->playlistPanel().songListPanel()->width(), 200);
    EXPECT_EQ(form->fileBox().geometry(), QRect(252, 60, 335, 235));

    // Running the item of a greyed part changes nothing.
    form->windowParts().run(WindowPart::Counter, Sender::User);
    EXPECT_TRUE(form->windowParts().isShown(WindowPart::Counter));
}

TEST_F(WindowPartsTest, WithoutThePlaylistTheWindowHasOneSizeAndShrinksWithTheTopRow) {
    storeOptions();
    auto form = makeForm();
    form->setClientSize(QSize(700, 400));
    toggle(*form, "PlayList");
    EXPECT_FALSE(item(*form, "PlayList")->isChecked());
    EXPECT_FALSE(item(*form, "FileBox")->isChecked());
    EXPECT_FALSE(form->playlistPanel().isVisibleTo(form.get()));
    EXPECT_FALSE(form->fileBox().isVisibleTo(form.get()));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->clientSize(), QSize(592, 59));
    EXPECT_TRUE(item(*form, "Counter")->isEnabled());
    EXPECT_TRUE(item(*form, "ToolBar")->isEnabled());
    EXPECT_FALSE(item(*form, "RefreshFileBox")->isEnabled());

    const int toolBarWidth = form->controls().panelSpeed->width();
    const int counterWidth = form->controls().panelCounter->width();
    toggle(*form, "ToolBar");
    EXPECT_EQ(form->clientSize().width(), 592 - toolBarWidth - 3);
    EXPECT_EQ(form->controls().panelCounter->x(), 215);  // the counter takes the tool bar's place
    toggle(*form, "Counter");
    EXPECT_EQ(form->clientSize().width(), 592 - toolBarWidth - counterWidth - 6);
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->controls().trackBar->width(), form->clientSize().width() - 4);

    // The playlist brings the top row back and gives the window its height again, without the file box.
    toggle(*form, "PlayList");
    EXPECT_TRUE(form->windowParts().isShown(WindowPart::Counter));
    EXPECT_TRUE(form->windowParts().isShown(WindowPart::ToolBar));
    EXPECT_FALSE(form->windowParts().isShown(WindowPart::FileBox));
    EXPECT_EQ(form->clientSize(), QSize(592, 400));
    EXPECT_NE(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->controls().panelCounter->x(), 399);
    EXPECT_EQ(form->playlistPanel().geometry(), QRect(2, 60, 587, 337));  // the whole width less 5
    EXPECT_FALSE(form->playlistPanel().midPanel()->isVisibleTo(form.get()));
}

TEST_F(WindowPartsTest, HidingTheTrackBarAndTheMenuLowersTheMinimumHeightByBoth) {
    storeOptions();
    auto form = makeForm();
    const int menu = menuHeight(*form);
    ASSERT_GT(menu, 0);
    const int before = form->minimumHeight();
    const int windowBefore = form->height();
    toggle(*form, "TrackB");
    EXPECT_FALSE(form->controls().trackBar->isVisibleTo(form.get()));
    EXPECT_EQ(form->minimumHeight(), before - WindowParts::kTrackBarSpace);
    EXPECT_EQ(form->height(), windowBefore - WindowParts::kTrackBarSpace);
    EXPECT_EQ(form->playlistPanel().y(), 35);  // the panels move up to the track bar's place
    toggle(*form, "Menu");
    EXPECT_FALSE(form->menuBar()->isVisibleTo(form.get()));
    EXPECT_EQ(form->minimumHeight(), before - WindowParts::kTrackBarSpace - menu);
    EXPECT_EQ(form->height(), windowBefore - WindowParts::kTrackBarSpace - menu);
    EXPECT_EQ(form->clientSize().height(), 298 - WindowParts::kTrackBarSpace);

    // Both marks are saved at close and come back at the next start.
    form.reset();
    {
        Registry reg;
        ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
        EXPECT_FALSE(reg.readBool("TrackBar"));
        EXPECT_FALSE(reg.readBool("Menu"));
        EXPECT_TRUE(reg.readBool("PlayList"));
    }
    auto again = makeForm();
    EXPECT_FALSE(again->menuBar()->isVisibleTo(again.get()));
    EXPECT_FALSE(again->controls().trackBar->isVisibleTo(again.get()));
    EXPECT_FALSE(item(*again, "Menu")->isChecked());
    EXPECT_EQ(again->minimumHeight(), before - WindowParts::kTrackBarSpace - menu);
}

TEST_F(WindowPartsTest, TheMenuComesBackByItsKeyAndAltHHidesThoughHelpHasItsLetter) {
    storeOptions([](Registry& reg) { reg.writeBool("Menu", false); });
    auto form = makeForm();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_FALSE(form->menuBar()->isVisibleTo(form.get()));
    QTest::keyClick(form.get(), Qt::Key_4, Qt::AltModifier);
    EXPECT_TRUE(form->menuBar()->isVisibleTo(form.get()));
    EXPECT_TRUE(item(*form, "Menu")->isChecked());
    // Alt+H hides the window, though "&Help" has the same letter; and again on the next press.
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(form.get(), Qt::Key_H, Qt::AltModifier);
        EXPECT_TRUE(form->isMinimized()) << press;
        form->showNormal();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
}

TEST_F(WindowPartsTest, HalfOfAWidthChangeGoesToThePlaylistAndTheMinimumWidthRestoresTheDesign) {
    storeOptions();
    auto form = makeForm();
    form->setClientSize(QSize(693, 298));
    EXPECT_EQ(form->playlistPanel().songListPanel()->width(), 250);  // 101 / 2, towards zero
    EXPECT_EQ(form->fileBox().x(), 2 + 250 + 4 + 43 + 3);
    EXPECT_EQ(form->fileBox().geometry().right() + 1, 693 - 5);
    form->setClientSize(QSize(643, 298));
    EXPECT_EQ(form->playlistPanel().songListPanel()->width(), 225);
    form->setClientSize(QSize(592, 298));
    EXPECT_EQ(form->playlistPanel().songListPanel()->width(), 200);
    EXPECT_EQ(form->fileBox().geometry(), QRect(252, 60, 335, 235));
}

TEST_F(WindowPartsTest, TheFileBoxAndAMaximiseBringEveryPartTheyNeed) {
    storeOptions([](Registry& reg) {
        for (const char* part : {"PlayList", "FileBox", "Counter", "ToolBar", "TrackBar"}) reg.writeBool(part, false);
    });
    auto form = makeForm();
    EXPECT_FALSE(form->controls().panelSpeed->isVisibleTo(form.get()));
    EXPECT_EQ(form->clientSize().width(),
              592 - form->controls().panelSpeed->width() - form->controls().panelCounter->width() - 6);
    toggle(*form, "FileBox");
    for (WindowPart part : {WindowPart::PlayList, WindowPart::Counter, WindowPart::ToolBar})
        EXPECT_TRUE(form->windowParts().isShown(part));
    EXPECT_FALSE(form->windowParts().isShown(WindowPart::TrackBar));
    EXPECT_EQ(form->fileBox().geometry(), QRect(252, 35, 335, 235));
    EXPECT_FALSE(item(*form, "Counter")->isEnabled());

    toggle(*form, "PlayList");
    ASSERT_EQ(form->minimumSize(), form->maximumSize());
    form->showMaximized();
    EXPECT_TRUE(form->windowParts().allShown());
    EXPECT_TRUE(form->fileBox().isVisibleTo(form.get()));
    EXPECT_EQ(form->minimumSize(), QSize(592, 298 + menuHeight(*form)));
    EXPECT_GT(form->maximumHeight(), form->minimumHeight());
}

TEST_F(WindowPartsTest, StayOnTopLeavesTheTopLayerWhileABoxIsUpAndIsKept) {
    storeOptions();
    auto form = makeForm();
    EXPECT_FALSE(form->stayOnTop().windowOnTop());
    toggle(*form, "StayOnTop");
    EXPECT_TRUE(item(*form, "StayOnTop")->isChecked());
    EXPECT_TRUE(form->stayOnTop().windowOnTop());
    EXPECT_TRUE(form->isVisible());

    bool onTopDuringDialog = true;
    bool onTopDuringInnerBox = true;
    boxes_.expectDialog("Probe", [&](QObject&) {
        onTopDuringDialog = form->stayOnTop().windowOnTop();
        MessageBoxes::show("Inner", "A box over the dialog", BoxIcon::Information);
        onTopDuringInnerBox = form->stayOnTop().windowOnTop();
        return int(QDialog::Accepted);
    });
    boxes_.expect("Inner", "A box over the dialog", BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    QDialog probe;
    probe.setObjectName("Probe");
    ModalDialogs::exec(probe);
    EXPECT_FALSE(onTopDuringDialog);
    EXPECT_FALSE(onTopDuringInnerBox);  // the inner box closing does not bring the window back over the dialog
    EXPECT_TRUE(form->stayOnTop().windowOnTop());
    EXPECT_TRUE(form->isVisible());

    form.reset();
    Registry reg;
    ASSERT_TRUE(reg.openKeyReadOnly(kOptionsKey));
    EXPECT_TRUE(reg.readBool("StayOnTop"));
    auto again = makeForm();
    EXPECT_TRUE(again->stayOnTop().windowOnTop());

    // Off, a box leaves the window where it is.
    toggle(*again, "StayOnTop");
    boxes_.expect("Plain", "x", BoxIcon::Information, BoxButtons::Ok, BoxButton::Ok);
    MessageBoxes::show("Plain", "x", BoxIcon::Information);
    EXPECT_FALSE(again->stayOnTop().windowOnTop());
}

TEST_F(WindowPartsTest, TrayMenuCaptionsFollowTheModeAndThePause) {
    storeOptions();
    auto form = makeForm();
    TrayMenu& tray = form->trayMenu();
    EXPECT_EQ(trayItem(tray, "PopNext")->text(), "&Next");
    EXPECT_EQ(trayItem(tray, "PopPrev")->text(), "&Pre&vious");
    EXPECT_FALSE(trayItem(tray, "PopReplay")->isEnabled());  // nothing to play
    form->engine().ShufflePlayClick(true);
    EXPECT_EQ(trayItem(tray, "PopNext")->text(), "&Shuffle");
    EXPECT_EQ(trayItem(tray, "PopPrev")->text(), "&Shuffle");
    EXPECT_EQ(form->controls().next->toolTip(), "Shuffle(F5)");  // the button shares the command
    form->engine().RandomPlayClick(true);
    EXPECT_EQ(trayItem(tray, "PopNext")->text(), "&Random");
    EXPECT_EQ(trayItem(tray, "PopPrev")->text(), "&Random");
    form->engine().RandomPlayClick(true);

    openSong(*form);
    EXPECT_TRUE(trayItem(tray, "PopPlay")->isEnabled());
    EXPECT_TRUE(trayItem(tray, "PopReplay")->isEnabled());
    EXPECT_FALSE(trayItem(tray, "PopPause")->isEnabled());

    trayItem(tray, "PopPlay")->trigger();
    ASSERT_EQ(form->device().mode(), media::Mode::Playing);
    EXPECT_EQ(trayItem(tray, "PopPause")->text(), "P&ause");
    EXPECT_TRUE(trayItem(tray, "PopPause")->isEnabled());
    trayItem(tray, "PopPause")->trigger();
    ASSERT_NE(form->device().mode(), media::Mode::Playing);
    EXPECT_EQ(trayItem(tray, "PopPause")->text(), "C&ontinue");
    trayItem(tray, "PopPause")->trigger();
    EXPECT_EQ(form->device().mode(), media::Mode::Playing);
}

TEST_F(WindowPartsTest, TheTrayImageIsGreyedUnlessTheDeviceIsPlaying) {
    storeOptions();
    auto form = makeForm();
    // The picture itself must be there: an icon lost at link time leaves an empty spot in the tray.
    const QImage picture = form->windowIcon().pixmap(QSize(32, 32)).toImage();
    ASSERT_FALSE(picture.isNull());
    const QImage greyed = form->trayIcon().icon().pixmap(QSize(32, 32)).toImage();
    ASSERT_FALSE(greyed.isNull());
    EXPECT_NE(greyed.convertToFormat(QImage::Format_ARGB32), picture.convertToFormat(QImage::Format_ARGB32));
    const qint64 normal = form->windowIcon().cacheKey();
    EXPECT_NE(form->trayIcon().icon().cacheKey(), normal);
    openSong(*form);
    form->playerActions().play->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->trayIcon().icon().cacheKey() == normal; }, 2000));
    form->playerActions().pause->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->trayIcon().icon().cacheKey() != normal; }, 2000));
    form->playerActions().play->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->trayIcon().icon().cacheKey() == normal; }, 2000));
    form->playerActions().stop->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->trayIcon().icon().cacheKey() != normal; }, 2000));
}

TEST_F(WindowPartsTest, MultimediaSettingStartsTheDesktopsSoundSettingsOrSaysNoneIsThere) {
    storeOptions();
    auto form = makeForm();
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    boxes_.expect("Error - Multimedia Setting",
                  "No sound settings program was found. Install pavucontrol to change the sound settings from the "
                  "player.",
                  BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    item(*form, "MultimediaSetting")->trigger();
    EXPECT_EQ(boxes_.pending(), 0u);

    // A desktop that has a sound settings program gets it started with the sound page.
    const QString marker = bin.path() + "/started";
    QFile script(bin.path() + "/gnome-control-center");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\necho \"$@\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    item(*form, "MultimediaSetting")->trigger();
    qputenv("PATH", path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(marker).size() > 0; }, 5000));
    QFile started(marker);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(started.readAll().trimmed(), "sound");
}

TEST_F(WindowPartsTest, CtrlDAndCtrlUPushTheSelectedEntry) {
    storeOptions();
    auto form = makeForm();
    Playlist& playlist = form->playlistPanel().playlist();
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) playlist.append({QString("/m/") + name, name, false});
    playlist.MarkListSaved();
    form->playlistPanel().selectLine(0);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(playlist.displayName(0), "b.mid");
    EXPECT_EQ(playlist.displayName(1), "a.mid");
    QTest::keyClick(form.get(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(playlist.displayName(0), "a.mid");
    playlist.MarkListSaved();
}

TEST_F(WindowPartsTest, WithoutATrayHideMinimisesAndAllBringsTheWindowBackWithEveryPart) {
    storeOptions([](Registry& reg) { reg.writeBool("TrackBar", false); });
    auto form = makeForm();
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());  // the offscreen desktop has none
    item(*form, "DisplayHide")->trigger();
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(form->options().hide);
    item(*form, "DisplayAll")->trigger();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->options().hide);
    EXPECT_TRUE(form->windowParts().allShown());
    EXPECT_TRUE(form->controls().trackBar->isVisibleTo(form.get()));
}

}  // namespace
