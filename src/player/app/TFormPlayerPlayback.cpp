// The main window's wiring of playing: the media device, the transport bar and its keys, the counter, the track
// bar, the mode labels and menus, and the playlist's requests to open and play entries.
#include "player/app/TFormPlayer.h"

#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSCheckList.h"
#include "controls/TSTrackBar.h"
#include "core/playback/Captions.h"
#include "core/playlist/MediaPaths.h"
#include "media/MIDIPlayer.h"
#include "player/app/PlayerControls.h"
#include "player/filebox/FileBox.h"
#include "player/info/TFormInfo.h"
#include "player/playback/PlaybackEngine.h"
#include "player/playback/PositionDisplay.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/PlaylistPanel.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

namespace vorlo {

void TFormPlayer::setApplicationTitle(const QString& title) {
    applicationTitle_ = vorlo::applicationTitle(title);
    if (trayIcon_) trayIcon_->setToolTip(title.left(64));
}

void TFormPlayer::wirePlayback() {
    PlaybackHooks hooks;
    hooks.setCaption = [this](const QString& caption) { setWindowTitle(caption); };
    hooks.setTitle = [this](const QString& title) { setApplicationTitle(title); };
    hooks.listFileName = [this] { return listCommands_ ? listCommands_->listFile() : QStringLiteral("*.mpl"); };
    hooks.closeList = [this] {
        if (listCommands_) listCommands_->FileCloseListClick(CloseOrigin::MainWindow);
    };
    hooks.terminate = [this] { close(); };
    hooks.windowVisible = [this] { return isVisible(); };
    engine_ = new PlaybackEngine(*device_, *playlistPanel_, options_, modes_, *controls_, std::move(hooks), this);
    position_ = new PositionDisplay(*engine_, *controls_, options_, this);
    engine_->setPositionDisplay(position_);
    PlaybackEngine* engine = engine_;
    PlayerControls& ui = *controls_;
    Playlist& playlist = playlistPanel_->playlist();

    playlistPanel_->setPlaybackStatusSource([this] { return PlaybackStatus{device_->isOpen(), modes_.autoPlay}; });

    // The transport bar and its keys; a key acts only while its button is enabled.
    connect(ui.play, &QToolButton::clicked, engine, &PlaybackEngine::SpdBtnPlayClick);
    connect(ui.pause, &QToolButton::clicked, engine, &PlaybackEngine::SpdBtnPauseClick);
    connect(ui.stop, &QToolButton::clicked, this, [this] {
        engine_->SpdBtnStopClick();
        playlistPanel_->songList()->setFocus();
    });
    connect(ui.next, &QToolButton::clicked, engine, &PlaybackEngine::SpdBtnNextClick);
    connect(ui.previous, &QToolButton::clicked, engine, &PlaybackEngine::SpdBtnPrevClick);
    connect(ui.eject, &QToolButton::clicked, engine, &PlaybackEngine::SpdEjectClick);
    const std::pair<QToolButton*, Qt::Key> keys[] = {{ui.play, Qt::Key_F2},     {ui.pause, Qt::Key_F3},
                                                     {ui.stop, Qt::Key_F4},     {ui.next, Qt::Key_F5},
                                                     {ui.previous, Qt::Key_F6}, {ui.eject, Qt::Key_F9}};
    for (const auto& [button, key] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled()) button->click();
        });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_F7), this), &QShortcut::activated, position_, [this] {
        if (controls_->forward->isEnabled()) position_->StepForward();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F8), this), &QShortcut::activated, position_, [this] {
        if (controls_->reverse->isEnabled()) position_->StepBack();
    });
    // Forward and Reverse step once when pressed and again on every tick while held.
    connect(ui.forward, &QToolButton::pressed, position_, [this] {
        position_->StepForward();
        position_->setForwardHeld(true);
    });
    connect(ui.forward, &QToolButton::released, position_, [this] { position_->setForwardHeld(false); });
    connect(ui.reverse, &QToolButton::pressed, position_, [this] {
        position_->StepBack();
        position_->setReverseHeld(true);
    });
    connect(ui.reverse, &QToolButton::released, position_, [this] { position_->setReverseHeld(false); });

    // The track bar.
    connect(ui.trackBar, &QSlider::valueChanged, position_, &PositionDisplay::TrackBarChange);
    connect(ui.trackBar, &TSTrackBar::OnMouseDown, position_, [this](TSTrackBar*, Qt::MouseButton button) {
        if (button == Qt::LeftButton) position_->TrackBarMouseDown();
    });
    connect(ui.trackBar, &TSTrackBar::OnMouseUp, position_, [this](TSTrackBar*, Qt::MouseButton button) {
        if (button == Qt::LeftButton) position_->TrackBarMouseUp();
    });

    // The counter switch, and the mode labels that toggle their modes and underline themselves on hover.
    for (digitboxdb* box : {ui.minutes, ui.seconds})
        connect(box, &digitboxdb::OnClick, position_, [this] { position_->TimeLabelClick(true); });
    for (TLabel2* label :
         {ui.counterLabel, ui.labelAuto, ui.labelLoop, ui.labelRepeat, ui.labelRandom, ui.labelShuffle}) {
        label->installEventFilter(this);
        connect(label, &TLabel2::OnMouseEnter, label, [label] {
            QFont font = label->font();
            font.setUnderline(true);
            label->setFont(font);
        });
        connect(label, &TLabel2::OnMouseLeave, label, [label] {
            QFont font = label->font();
            font.setUnderline(false);
            font.setBold(false);
            font.setItalic(false);
            font.setStrikeOut(false);
            label->setFont(font);
        });
    }

    // The playlist's requests.
    connect(playlistPanel_, &PlaylistPanel::playEntryRequested, this, [this](int index) {
        Playlist& list = playlistPanel_->playlist();
        if (!list.isValidIndex(index)) return;
        if (device_->isOpen()) device_->close();
        list.setCurrentIndex(index);
        if (!engine_->OpenCurrentEntry()) return;
        if (modes_.autoPlay) {
            engine_->StartPlay();
            engine_->ShowPlayingButtons();
        } else {
            engine_->ShowStoppedButtons();
        }
    });
    connect(playlistPanel_, &PlaylistPanel::openCurrentEntryRequested, this, [this] {
        if (engine_->OpenCurrentEntry()) engine_->ShowStoppedButtons();
    });
    connect(playlistPanel_, &PlaylistPanel::entryFinishedRequested, this, [this] {
        engine_->ShowPlayingButtons();
        engine_->EntryFinished();
    });
    connect(playlistPanel_, &PlaylistPanel::currentEntryRemoved, this, [this](bool afterDeviceError) {
        const bool wasPlaying = device_->isOpen() && device_->mode() == media::Mode::Playing;
        position_->ResetCounter();
        controls_->trackBar->setValue(0);
        if (device_->isOpen()) {
            if (wasPlaying || afterDeviceError) device_->stop();
            device_->close();
        }
        Playlist& list = playlistPanel_->playlist();
        if (list.isEmpty()) return;
        engine_->sequence().AdvanceToNext(QString());
        if (engine_->OpenCurrentEntry() && wasPlaying && modes_.autoPlay) engine_->StartPlay();
        playlistPanel_->selectLine(list.CurrentIndex());
    });
    connect(playlistPanel_, &PlaylistPanel::listCleared, this, [this] {
        position_->ResetCounter();
        position_->stopTimer();
        if (device_->isOpen()) device_->close();
        controls_->trackBar->setValue(0);
        controls_->trackBar->setSelection(0, 0);
        controls_->trackBar->setEnabled(false);
        engine_->ShowStoppedButtons();
        controls_->play->setEnabled(false);
        const QString caption = listCommands_ ? listCommands_->listCaption() : QStringLiteral("MIDI Vorlo");
        setWindowTitle(caption);
        setApplicationTitle(caption);
    });
    connect(playlistPanel_, &PlaylistPanel::listSorted, this, [this] {
        controls_->minutes->setTarget(0);
        controls_->seconds->setTarget(0);
        if (device_->isOpen()) {
            device_->stop();
            device_->close();
        }
        if (engine_->OpenCurrentEntry()) {
            if (modes_.autoPlay) {
                engine_->StartPlay();
                engine_->ShowPlayingButtons();
            } else {
                engine_->ShowStoppedButtons();
            }
        }
    });
    connect(playlistPanel_, &PlaylistPanel::commandEnabled, this, &TFormPlayer::setCommandEnabled);
    connect(this, &TFormPlayer::handedOverEntryToPlay, engine, &PlaybackEngine::playEntry);
    if (QAction* info = playlistPanel_->popupAction(QStringLiteral("PopFileInfo"))) {
        connect(info, &QAction::triggered, this, [this] {
            showEntryInformation(this, playlistPanel_->playlist(), playlistPanel_->selectedLine(), zipMode_);
        });
    }
    (void)playlist;
    buildModeMenus();
}

bool TFormPlayer::eventFilter(QObject* watched, QEvent* event) {
    // Play is enabled exactly when the device stops or pauses: the tray image follows once the change is done.
    if (watched == controls_->play && event->type() == QEvent::EnabledChange)
        QTimer::singleShot(0, this, &TFormPlayer::updateTrayImage);
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        PlayerControls& ui = *controls_;
        if (watched == ui.counterLabel) position_->TimeLabelClick(true);
        if (watched == ui.labelAuto) engine_->AutoPlayClick(true);
        if (watched == ui.labelLoop) engine_->LoopPlayClick(true);
        if (watched == ui.labelRepeat) engine_->RepeatPlayClick(true);
        if (watched == ui.labelRandom) engine_->RandomPlayClick(true);
        if (watched == ui.labelShuffle) engine_->ShufflePlayClick(true);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormPlayer::buildModeMenus() {
    displayMenu_ = menuBar()->addMenu(QStringLiteral("&Display"));
    QMenu* display = displayMenu_;
    display->setObjectName(QStringLiteral("MenuDisplay"));
    QAction* refresh = display->addAction(QStringLiteral("&Refresh File Box"));
    refreshFileBox_ = refresh;
    refresh->setObjectName(QStringLiteral("RefreshFileBox"));
    refresh->setShortcut(QKeySequence(Qt::ALT | Qt::Key_R));
    connect(refresh, &QAction::triggered, this, [this] { fileBox_->refresh(); });
    QAction* hideItem = display->addAction(QStringLiteral("&Hide"));
    displayHide_ = hideItem;
    hideItem->setObjectName(QStringLiteral("DisplayHide"));
    hideItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_H));
    connect(hideItem, &QAction::triggered, this, &TFormPlayer::hideToTray);
    QAction* timeCount = display->addAction(QStringLiteral("&Switch Counter"));
    timeCount->setObjectName(QStringLiteral("TimeCount"));
    timeCount->setShortcut(QKeySequence(Qt::ALT | Qt::Key_S));
    connect(timeCount, &QAction::triggered, position_, [this] { position_->TimeLabelClick(true); });

    QMenu* optionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    optionsMenu->setObjectName(QStringLiteral("MenuOptions"));
    modesMenu_ = optionsMenu->addMenu(QStringLiteral("&Play Modes"));
    modesMenu_->setObjectName(QStringLiteral("PlayModes"));
    struct ModeItem {
        const char* name;
        const char* caption;
        Qt::Key key;
        void (PlaybackEngine::*command)(bool);
        bool PlayModes::*mark;
    };
    const ModeItem items[] = {
        {"LoopPlay", "&Loop", Qt::Key_2, &PlaybackEngine::LoopPlayClick, &PlayModes::loop},
        {"RepeatPlay", "&Repeat", Qt::Key_3, &PlaybackEngine::RepeatPlayClick, &PlayModes::repeat},
        {"RandomPlay", "Ran&dom", Qt::Key_4, &PlaybackEngine::RandomPlayClick, &PlayModes::random},
        {"ShufflePlay", "&Shuffle", Qt::Key_5, &PlaybackEngine::ShufflePlayClick, &PlayModes::shuffle},
        {"AutoPlay", "&Auto", Qt::Key_1, &PlaybackEngine::AutoPlayClick, &PlayModes::autoPlay},
    };
    for (const ModeItem& item : items) {
        QAction* action = modesMenu_->addAction(QString::fromLatin1(item.caption));
        action->setObjectName(QLatin1String(item.name));
        action->setCheckable(true);
        action->setShortcut(QKeySequence(Qt::CTRL | item.key));
        const auto command = item.command;
        connect(action, &QAction::triggered, engine_, [this, command] { (engine_->*command)(true); });
        const auto mark = item.mark;
        connect(engine_, &PlaybackEngine::modesChanged, action,
                [this, action, mark] { action->setChecked(modes_.*mark); });
    }
    QAction* volume = optionsMenu->addAction(QStringLiteral("&Volume Control..."));
    volume->setObjectName(QStringLiteral("VolumeControl"));
    volume->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(volume, &QAction::triggered, this, &TFormPlayer::startVolumeControl);
    QAction* multimedia = optionsMenu->addAction(QStringLiteral("&Multimedia Setting..."));
    multimedia->setObjectName(QStringLiteral("MultimediaSetting"));
    multimedia->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(multimedia, &QAction::triggered, this, &TFormPlayer::startMultimediaSetting);
    QAction* resetNow = optionsMenu->addAction(QStringLiteral("Reset MIDI &Now!"));
    resetNow->setObjectName(QStringLiteral("MIDIResetNow"));
    resetNow->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
    connect(resetNow, &QAction::triggered, engine_, &PlaybackEngine::MIDIResetNowClick);
}

void TFormPlayer::startWithFile(const QString& file) {
    Playlist& playlist = playlistPanel_->playlist();
    playlist.clear();
    playlist.append({file, fileNamePart(file), false});
    playlist.MarkListSaved();
    playlist.setCurrentIndex(0);
    playlistPanel_->FitListExtent(fileNamePart(file), true);
    playlistPanel_->selectLine(0);
    for (QToolButton* button : {controls_->forward, controls_->reverse}) button->setEnabled(true);
    if (modes_.autoPlay) {
        engine_->ShowPlayingButtons();
    } else {
        engine_->ShowStoppedButtons();
    }
    showAtStart();
    playlist.MarkListSaved();
    if (engine_->OpenCurrentEntry() && (modes_.autoPlay || engine_->playOnStart())) {
        engine_->ShowPlayingButtons();
        engine_->StartPlay();
    }
}

}  // namespace vorlo
