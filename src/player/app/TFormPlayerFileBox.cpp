// The main window's wiring of the file box, the tool bar and the help window.
#include "player/app/TFormPlayer.h"

#include "core/app/ErrorHandler.h"
#include "core/app/MessageBoxes.h"
#include "player/app/OutsidePrograms.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/TrayMenu.h"
#include "player/filebox/FileBox.h"
#include "player/files/FileOperations.h"
#include "player/help/HelpWindow.h"
#include "player/info/TFormInfo.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QApplication>
#include <QSystemTrayIcon>
#include <QToolButton>

namespace vorlo {

void TFormPlayer::wireFileBox() {
    PlayerControls& ui = *controls_;
    const PlayerActions& a = *actions_;
    fileBox_ = new FileBox(centralWidget());
    fileBox_->setObjectName(QStringLiteral("FileBox"));
    fileBox_->attachPlaylist(playlistPanel_);
    fileBox_->attachToolButtons(ui.refresh, ui.oneTouch);
    connect(fileBox_, &FileBox::zipArchiveRequested, this,
            ErrorHandler::guard([this](const QString& archive) { core_->lists().openZipArchive(archive); }));
    connect(&core_->zip(), &ZipSession::changed, this, [this](bool active) {
        if (active) {
            playlistPanel_->actions().addFile->setEnabled(false);
            playlistPanel_->actions().addAll->setEnabled(false);
        } else {
            fileBox_->FileListBoxClick();
        }
    });
    fileOperations_ = new FileOperations(*this, core_->files(), *playlistPanel_, *fileBox_,
                                         [this] { return options_.programFolder; });

    connect(a.volume, &QAction::triggered, this, ErrorHandler::guard([this] { startVolumeControl(); }));
    connect(a.multimedia, &QAction::triggered, this, ErrorHandler::guard([this] { startMultimediaSetting(); }));
    connect(a.hide, &QAction::triggered, this, [this] { hideToTray(); });
    connect(a.refreshFileBox, &QAction::triggered, this, ErrorHandler::guard([this] { fileBox_->refresh(); }));

    HelpWindow::setViewer(this, [this](int topic) { showHelp(topic); });
}

void TFormPlayer::showHelp(int context) {
    if (!help_) help_ = std::make_unique<HelpWindow>();
    help_->showContext(context);
}

void TFormPlayer::startVolumeControl() {
    // The desktop's mixer stands in for the system's volume control.
    if (startFirstAvailable(volumeControlPrograms())) return;
    MessageBoxes::show(QStringLiteral("Error - Volume Control"),
                       QStringLiteral("No volume control program was found. Install pavucontrol to set the volume "
                                      "from the player."),
                       BoxIcon::Error);
}

void TFormPlayer::startMultimediaSetting() {
    // The desktop's sound settings stand in for the system's multimedia settings.
    if (startFirstAvailable(soundSettingsPrograms())) return;
    MessageBoxes::show(QStringLiteral("Error - Multimedia Setting"),
                       QStringLiteral("No sound settings program was found. Install pavucontrol to change the sound "
                                      "settings from the player."),
                       BoxIcon::Error);
}

void TFormPlayer::ensureTrayIcon() {
    if (trayIcon_) return;
    trayIcon_ = new QSystemTrayIcon(windowIcon(), this);
    trayIcon_->setToolTip(applicationTitle_.left(64));
    trayIcon_->setContextMenu(trayMenu_->menu());
    updateTrayImage(trayPlaying_.value_or(false));
    connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) restoreFromTray();
    });
}

void TFormPlayer::hideToTray() {
    options_.hide = true;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // No tray on this desktop: a minimised window can always be found again, a hidden one could not.
        showMinimized();
        return;
    }
    ensureTrayIcon();
    trayIcon_->show();
    hide();
}

}  // namespace vorlo
