// Opening entries, the device's reports, the MIDI reset and the CD door.
#include "player/playback/PlaybackEngine.h"

#include "controls/TDigitBox.h"
#include "controls/TSTrackBar.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/Captions.h"
#include "core/playlist/MediaPaths.h"
#include "core/settings/Options.h"
#include "media/EMCIDeviceError.h"
#include "media/MidiOut.h"
#include "player/app/PlayerControls.h"
#include "player/app/WaitCursor.h"
#include "player/playback/PositionDisplay.h"
#include "player/playlist/PlaylistPanel.h"

#include <QFileInfo>
#include <QTimer>
#include <QToolButton>

namespace vorlo {

using media::DeviceType;
using media::NotifyValue;

PlaybackEngine::PlaybackEngine(media::MIDIPlayer& device, PlaylistPanel& panel, Options& options, PlayModes& modes,
                               PlayerControls& controls, PlaybackHooks hooks, QObject* parent)
    : QObject(parent),
      device_(device),
      panel_(panel),
      options_(options),
      modes_(modes),
      ui_(controls),
      hooks_(std::move(hooks)),
      random_(RandomGenerator::seedFor(QDateTime::currentDateTime())),
      sequence_(panel.playlist(), modes, random_, options) {
    connect(&device_, &media::MIDIPlayer::OnNotify, this, &PlaybackEngine::MIDIPlayerNotify);
}

PlaybackEngine::~PlaybackEngine() = default;

void PlaybackEngine::setStartFlags(bool playOnStart, bool closeAfterPlay) {
    playOnStart_ = playOnStart;
    closeAfterPlay_ = closeAfterPlay;
}

EntrySpan PlaybackEngine::span() const {
    if (!cdAudio_) return {0, entryLengthMs_, false};
    return {device_.trackPosition(cdTrack_), entryLengthMs_, true};
}

bool PlaybackEngine::playWanted() const { return !ui_.play->isEnabled(); }

int PlaybackEngine::playlistCount() const { return panel_.playlist().count(); }

void PlaybackEngine::PlayResetFile(const QString& path) {
    device_.setDeviceType(DeviceType::AutoSelect);
    device_.setFileName(path);
    try {
        device_.open();
        device_.setWait(true);
        device_.setNotify(false);
        device_.play();
    } catch (const media::EMCIDeviceError&) {
        // A reset file that cannot be played leaves the synthesizer as it is; the song still plays.
    }
}

void PlaybackEngine::setTrackBarForEntry() {
    ui_.trackBar->setEnabled(true);
    ui_.trackBar->setRange(0, static_cast<int>(entryLengthMs_ / 1000));
    ui_.trackBar->setValue(0);
    ui_.trackBar->setSelection(0, ui_.trackBar->maximum());
}

bool PlaybackEngine::removeUnplayable() {
    Playlist& playlist = panel_.playlist();
    const int current = playlist.CurrentIndex();
    if (hooks_.setCaption)
        hooks_.setCaption(QStringLiteral("Can't play file. Remove ") + playlist.displayName(current) +
                          QStringLiteral(" Now..."));
    const bool onlyOne = playlist.count() == 1;
    playlist.removeEntry(current);
    panel_.selectLine(-1);
    if (onlyOne) {
        playlist.setCurrentIndex(-1);
        return true;
    }
    // The removal made the entry before it current; the advance chooses the replacement.
    if (!handleAdvance(sequence_.AdvanceToNext(device_.fileName()))) return false;
    panel_.selectLine(playlist.CurrentIndex());
    return true;
}

bool PlaybackEngine::handleAdvance(PlaySequence::Advance advance) {
    if (advance != PlaySequence::Advance::CloseProgram) return true;
    // The close-at-end option: the program ends without asking to save anything.
    panel_.playlist().MarkListSaved();
    if (hooks_.terminate) hooks_.terminate();
    return false;
}

bool PlaybackEngine::OpenCurrentEntry() {
    Playlist& playlist = panel_.playlist();
    if (position_) position_->ResetCounter();
    if (!playlist.isValidIndex(playlist.CurrentIndex())) return false;
    device_.setDeviceType(DeviceType::AutoSelect);
    device_.setFileName(playlist.path(playlist.CurrentIndex()));
    if (hooks_.setTitle) hooks_.setTitle(fileNamePart(device_.fileName()));
    panel_.selectLine(playlist.CurrentIndex());
    panel_.SongListClick(false);

    const QString extension = extensionLowered(device_.fileName());
    if (!options_.resetFile.isEmpty() && QFileInfo::exists(options_.resetFile) &&
        (extension == QLatin1String(".mid") || extension == QLatin1String(".rmi"))) {
        if ((!hooks_.windowVisible || hooks_.windowVisible()) && hooks_.setCaption)
            hooks_.setCaption(resetCaption(options_.resetFile, options_.programFolder));
        PlayResetFile(options_.resetFile);
    }

    const QString listFile = hooks_.listFileName ? hooks_.listFileName() : QStringLiteral("*.mpl");
    bool opened = false;
    while (!opened && playlist.isValidIndex(playlist.CurrentIndex())) {
        const QString path = playlist.path(playlist.CurrentIndex());
        device_.setFileName(path);
        const DeviceType type = media::MIDIPlayer::deviceTypeForPath(path);
        cdAudio_ = type == DeviceType::CDAudio;
        if (cdAudio_) {
            cdTrack_ = cdTrackFromPath(path);  // not guarded: a name without a number is the user's to see
            device_.setFileName(QString());
        }
        device_.setDeviceType(type);
        ui_.eject->setEnabled(cdAudio_);
        try {
            device_.open();
            opened = true;
        } catch (const std::exception&) {
            if (!removeUnplayable()) return false;
        }
    }

    if (!opened) {
        if (playlist.count() == 1) playlist.removeEntry(0);
        const QString caption =
            listFile == QLatin1String("*.mpl") ? QStringLiteral("Error!") : QStringLiteral("Error - ") + listFile;
        if (hooks_.closeList) hooks_.closeList();
        MessageBoxes::show(caption, QStringLiteral("Cannot play any file in this playlist."), BoxIcon::Error,
                           BoxButtons::Ok, true);
        return false;
    }

    showOutputNotice();
    device_.setTimeFormat(media::TimeFormat::Milliseconds);
    if (cdAudio_) {
        if (device_.trackCount() < cdTrack_) cdTrack_ = 1;
        const std::int64_t start = device_.trackPosition(cdTrack_);
        entryLengthMs_ = device_.trackLength(cdTrack_);
        device_.seek(start);
        savedEndMs_ = start + entryLengthMs_ - 1;
        device_.setStartPos(start);
        applyEnd(savedEndMs_);
    } else {
        entryLengthMs_ = device_.length();
        applyEnd(entryLengthMs_);
    }
    setTrackBarForEntry();

    const QString caption = songCaption(fileNamePart(playlist.path(playlist.CurrentIndex())), entryLengthMs_, listFile);
    if (hooks_.setCaption) hooks_.setCaption(caption);
    if (hooks_.setTitle) hooks_.setTitle(applicationTitle(caption));
    return true;
}

void PlaybackEngine::showOutputNotice() {
    // Without a sound device the songs still play, silently, at their pace; the user is told once, after the
    // song has started, so the list goes on while the box is up.
    const QString notice = device_.takeOutputNotice();
    if (notice.isEmpty()) return;
    QTimer::singleShot(
        0, this, [notice] { MessageBoxes::show(QStringLiteral("Warning - Sound Output"), notice, BoxIcon::Warning); });
}

void PlaybackEngine::applyEnd(std::int64_t endMs) {
    playEndMs_ = endMs;
    device_.setEndPos(endMs);
}

void PlaybackEngine::rewindEntry() {
    if (cdAudio_) {
        const std::int64_t start = device_.trackPosition(cdTrack_);
        device_.seek(start);
        device_.setStartPos(start);
        applyEnd(start + device_.trackLength(cdTrack_) - 1);
    } else {
        device_.rewind();
        applyEnd(entryLengthMs_);
    }
}

void PlaybackEngine::MIDIPlayerNotify(NotifyValue value) {
    if (closeAfterPlay_ && panel_.playlist().count() == 1) {
        if (hooks_.terminate) hooks_.terminate();
        return;
    }
    playOnStart_ = false;
    closeAfterPlay_ = false;
    if (value != NotifyValue::Successful) return;

    panel_.selectLine(-1);
    if (ui_.trackBar->isEnabled()) {
        ui_.trackBar->setSelection(0, 0);
        ui_.trackBar->setValue(0);
        ui_.trackBar->setEnabled(false);
    }
    if (modes_.autoPlay) {
        if (options_.wait != 0)
            StartWait();
        else
            EntryFinished();
        return;
    }
    ShowStoppedButtons();
    if (device_.isOpen()) rewindEntry();
    ui_.trackBar->setSelection(0, ui_.trackBar->maximum());
    panel_.selectLine(panel_.playlist().CurrentIndex());
    ui_.trackBar->setEnabled(true);
}

void PlaybackEngine::MIDIResetNowClick() {
    WaitCursor busy;
    const bool wasOpen = device_.isOpen();
    if (wasOpen) {
        SpdBtnStopClick();
        device_.close();
    }
    if (ui_.trackBar->isEnabled()) ui_.trackBar->setValue(0);
    media::MidiOut out(device_.synthHost());
    if (!out.open()) {
        if (hooks_.setCaption) hooks_.setCaption(QStringLiteral("Fail to open MIDI device!"));
    } else {
        for (std::uint32_t message : media::midiResetMessages()) out.shortMessage(message);
        if (!out.close() && hooks_.setCaption) hooks_.setCaption(QStringLiteral("Error Closing MIDI!"));
    }
    if (wasOpen) {
        device_.open();
        device_.setTimeFormat(media::TimeFormat::Milliseconds);
    }
}

void PlaybackEngine::SpdEjectClick() {
    Playlist& playlist = panel_.playlist();
    if (device_.mode() == media::Mode::Open || ui_.eject->property("doorOpened").toBool()) {
        device_.closeDoor();
        if (cdAudio_) {
            ui_.next->setEnabled(playlist.count() > 1);
            ui_.previous->setEnabled(playlist.count() > 1);
            ui_.forward->setEnabled(true);
            ui_.reverse->setEnabled(true);
        }
        ui_.eject->setToolTip(QStringLiteral("Eject CD(F9)"));
        ui_.eject->setProperty("doorOpened", false);
        if (panel_.selectedLine() >= 0) playlist.setCurrentIndex(panel_.selectedLine());
        if (OpenCurrentEntry()) {
            if (modes_.autoPlay && !playlist.isChecked(playlist.CurrentIndex())) {
                ui_.pause->setEnabled(true);
                ui_.stop->setEnabled(true);
                ui_.play->setEnabled(false);
                StartPlay();
            } else {
                ui_.play->setEnabled(true);
            }
        }
        return;
    }
    if (cdAudio_ && playWanted() && device_.isOpen()) {
        device_.stop();
        if (position_) position_->stopTimer();
        ui_.trackBar->setValue(0);
        ui_.trackBar->setSelection(0, 0);
        ui_.minutes->setValue(0);
        ui_.seconds->setValue(0);
        for (QToolButton* button : {ui_.stop, ui_.pause, ui_.next, ui_.previous, ui_.forward, ui_.reverse})
            button->setEnabled(false);
    }
    if (device_.isOpen() && device_.canEject()) device_.eject();
    ui_.eject->setProperty("doorOpened", true);
    ui_.eject->setToolTip(QStringLiteral("Close Drive(F9)"));
}

}  // namespace vorlo
