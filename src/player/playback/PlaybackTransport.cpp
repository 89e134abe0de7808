// The transport of the playback engine: Play, Pause, Stop, Next, Previous, the end of an entry, the wait between
// songs and the play modes.
#include "player/playback/PlaybackEngine.h"

#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSTrackBar.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/Captions.h"
#include "core/playlist/MediaPaths.h"
#include "core/settings/Options.h"
#include "player/app/PlayerControls.h"
#include "player/playback/PositionDisplay.h"
#include "player/playlist/PlaylistPanel.h"

#include <QToolButton>

namespace vorlo {

void PlaybackEngine::ShowStoppedButtons() {
    ui_.play->setEnabled(true);
    ui_.pause->setEnabled(false);
    ui_.stop->setEnabled(false);
}

void PlaybackEngine::ShowPlayingButtons() {
    ui_.play->setEnabled(false);
    ui_.pause->setEnabled(true);
    ui_.stop->setEnabled(true);
}

void PlaybackEngine::StartPlay() {
    if (!device_.isOpen()) return;
    device_.play();
    if (hooks_.trayPlaying) hooks_.trayPlaying(true);
}

void PlaybackEngine::stopKeepingEnd() {
    if (playEndMs_ != 0) savedEndMs_ = playEndMs_;
    device_.stop();
}

void PlaybackEngine::SpdBtnPlayClick() {
    if (!device_.isOpen()) return;
    if (savedEndMs_ != 0 && device_.mode() != media::Mode::Playing) applyEnd(savedEndMs_);
    StartPlay();
    ShowPlayingButtons();
}

void PlaybackEngine::SpdBtnPauseClick() {
    if (waitCounting()) {
        // The wait freezes: it no longer ends by itself.
        ui_.seconds->setTarget(ui_.seconds->Value());
        ui_.seconds->setDelay(0);
        return;
    }
    if (!device_.isOpen()) return;
    if (device_.mode() == media::Mode::Playing) {
        const std::int64_t position = device_.position();
        ui_.play->setEnabled(true);
        stopKeepingEnd();
        device_.setStartPos(position);
        if (hooks_.trayPlaying) hooks_.trayPlaying(false);
        if (savedEndMs_ != 0) applyEnd(savedEndMs_);
    } else {
        ui_.play->setEnabled(false);
        StartPlay();
    }
}

void PlaybackEngine::SpdBtnStopClick() {
    if (waitCounting()) DgSecInTargetReach(WaitEnd::ByStop);
    ui_.minutes->setTarget(0);
    ui_.seconds->setTarget(0);
    ShowStoppedButtons();
    ui_.trackBar->setValue(0);
    ui_.trackBar->setSelStart(0);
    if (hooks_.trayPlaying) hooks_.trayPlaying(false);
    if (!device_.isOpen()) return;
    stopKeepingEnd();
    if (cdAudio_) {
        const std::int64_t start = device_.trackPosition(cdTrack_);
        device_.seek(start);
        device_.setStartPos(start);
        applyEnd(savedEndMs_);
    } else {
        device_.rewind();
        applyEnd(entryLengthMs_);
    }
}

void PlaybackEngine::SpdBtnNextClick() { stepToEntry(true); }

void PlaybackEngine::SpdBtnPrevClick() { stepToEntry(false); }

// Next and Previous: the neighbouring entry, or a random pick with Random or Shuffle; playing goes on when it
// was wanted.
void PlaybackEngine::stepToEntry(bool forward) {
    if (cdAudio_ && device_.isOpen()) device_.stop();
    ui_.trackBar->setValue(0);
    // Next clears the whole selection, Previous only its start.
    if (forward)
        ui_.trackBar->setSelection(0, 0);
    else
        ui_.trackBar->setSelStart(0);
    ui_.trackBar->setEnabled(false);
    if (position_) position_->ResetCounter();
    const bool randomPick = modes_.random || modes_.shuffle;
    if (randomPick) panel_.selectLine(-1);
    const PlaySequence::Advance advance = sequence_.step(forward, device_.fileName());
    if (!handleAdvance(advance)) return;
    if (randomPick && advance == PlaySequence::Advance::EndReached) {
        OpenCurrentEntry();
        return;
    }
    device_.close();
    if (OpenCurrentEntry() && playWanted()) StartPlay();
}

void PlaybackEngine::PopReplayClick() {
    SpdBtnStopClick();
    SpdBtnPlayClick();
}

void PlaybackEngine::GotoCurrent1Click() {
    const Playlist& playlist = panel_.playlist();
    if (playlist.isEmpty()) return;
    panel_.selectLine(playlist.CurrentIndex());
    panel_.SongListClick(false);
}

void PlaybackEngine::playEntry(int index) {
    Playlist& playlist = panel_.playlist();
    if (!playlist.isValidIndex(index)) return;
    if (device_.isOpen()) {
        if (device_.mode() == media::Mode::Playing) device_.stop();
        device_.close();
    }
    playlist.setCurrentIndex(index);
    panel_.selectLine(index);
    if (OpenCurrentEntry()) {
        StartPlay();
        ShowPlayingButtons();
    }
}

void PlaybackEngine::EntryFinished() {
    Playlist& playlist = panel_.playlist();
    if (modes_.repeat && playlist.CurrentIndex() != -1 && device_.isOpen()) {
        rewindEntry();
        ui_.trackBar->setEnabled(true);
        ui_.trackBar->setSelEnd(ui_.trackBar->maximum());
        panel_.selectLine(playlist.CurrentIndex());
        device_.play();
        return;
    }
    const QString played = device_.fileName();
    if (device_.isOpen()) {
        if (device_.mode() == media::Mode::Playing) device_.stop();
        device_.close();
    }
    switch (sequence_.EntryFinished(played)) {
        case PlaySequence::Finish::Replay:  // Repeat with nothing open: start the entry afresh
        case PlaySequence::Finish::PlayNext:
            if (OpenCurrentEntry()) StartPlay();
            break;
        case PlaySequence::Finish::StopReady:
            if (OpenCurrentEntry()) ShowStoppedButtons();
            break;
        case PlaySequence::Finish::CloseProgram: handleAdvance(PlaySequence::Advance::CloseProgram); break;
    }
}

bool PlaybackEngine::waitCounting() const { return ui_.seconds->Delay() != 0; }

void PlaybackEngine::StartWait() {
    if (position_) {
        position_->ResetCounter();
        position_->setCounterClicksEnabled(false);
        position_->stopTimer();
    }
    if (hooks_.setCaption) hooks_.setCaption(waitCaption(options_.wait));
    ui_.seconds->setDelay(1000);
    if (options_.timeCount == 1) {
        ui_.seconds->setValue(static_cast<std::uint32_t>(options_.wait));
        ui_.seconds->setTarget(0);
    } else {
        ui_.seconds->setTarget(static_cast<std::uint32_t>(options_.wait));
    }
    if (!waitConnected_) {
        connect(ui_.seconds, &TDigitBox::OnTargetReach, this, [this] { DgSecInTargetReach(WaitEnd::ByTimer); });
        waitConnected_ = true;
    }
}

void PlaybackEngine::DgSecInTargetReach(WaitEnd how) {
    if (waitConnected_) {
        disconnect(ui_.seconds, &TDigitBox::OnTargetReach, this, nullptr);
        waitConnected_ = false;
    }
    if (position_) {
        position_->ResetCounter();
        position_->setCounterClicksEnabled(true);
    }
    const Playlist& playlist = panel_.playlist();
    if (hooks_.setCaption && device_.isOpen() && playlist.isValidIndex(playlist.CurrentIndex())) {
        const QString listFile = hooks_.listFileName ? hooks_.listFileName() : QStringLiteral("*.mpl");
        hooks_.setCaption(songCaption(fileNamePart(playlist.path(playlist.CurrentIndex())), entryLengthMs_, listFile));
    }
    if (how == WaitEnd::ByStop) return;
    EntryFinished();
}

void PlaybackEngine::setHints() {
    if (modes_.random) {
        ui_.next->setToolTip(QStringLiteral("Random Jump(F5)"));
        ui_.previous->setToolTip(QStringLiteral("Random Jump(F6)"));
    } else if (modes_.shuffle) {
        ui_.next->setToolTip(QStringLiteral("Shuffle(F5)"));
        ui_.previous->setToolTip(QStringLiteral("Shuffle(F6)"));
    } else {
        ui_.next->setToolTip(QStringLiteral("Next(F5)"));
        ui_.previous->setToolTip(QStringLiteral("Previous(F6)"));
    }
}

void PlaybackEngine::showModes() {
    setLabelColour(ui_.labelAuto, modes_.autoPlay ? PlayerControls::kWhite : PlayerControls::kSilver);
    setLabelColour(ui_.labelLoop, modes_.loop ? PlayerControls::kFuchsia : PlayerControls::kSilver);
    setLabelColour(ui_.labelRepeat, modes_.repeat ? PlayerControls::kLime : PlayerControls::kSilver);
    setLabelColour(ui_.labelRandom, modes_.random ? PlayerControls::kYellow : PlayerControls::kSilver);
    setLabelColour(ui_.labelShuffle, modes_.shuffle ? PlayerControls::kRed : PlayerControls::kSilver);
    setHints();
    emit modesChanged();
}

void PlaybackEngine::AutoPlayClick(bool byUser) {
    if (byUser) modes_.setAuto(!modes_.autoPlay);
    showModes();
}

void PlaybackEngine::LoopPlayClick(bool byUser) {
    if (byUser) modes_.setLoop(!modes_.loop);
    showModes();
}

void PlaybackEngine::RepeatPlayClick(bool byUser) {
    if (byUser) modes_.setRepeat(!modes_.repeat);
    showModes();
}

void PlaybackEngine::RandomPlayClick(bool byUser) {
    if (byUser) modes_.setRandom(!modes_.random);
    showModes();
}

void PlaybackEngine::ShufflePlayClick(bool byUser) {
    if (byUser) modes_.setShuffle(!modes_.shuffle);
    showModes();
    if (!modes_.shuffle && byUser && !panel_.playlist().isEmpty() &&
        MessageBoxes::show(QStringLiteral("Uncheck All"), QStringLiteral("Uncheck all the items in the playlist?"),
                           BoxIcon::Question, BoxButtons::YesNo) == BoxButton::Yes)
        panel_.playlist().UncheckAllEntries();
}

}  // namespace vorlo
