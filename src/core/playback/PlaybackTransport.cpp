// The transport of the playback engine: Play, Pause, Stop, Next, Previous, Replay, the end of an entry, the
// wait between songs and the play modes.
#include "core/app/Logging.h"
#include "core/app/MessageBoxes.h"
#include "core/playback/Captions.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/Playlist.h"
#include "core/settings/Options.h"

namespace vorlo {

void PlaybackEngine::ShowStoppedButtons() {
    state_.playWanted = false;
    state_.paused = false;
    publish();
}

void PlaybackEngine::ShowPlayingButtons() {
    state_.playWanted = true;
    state_.paused = false;
    publish();
}

void PlaybackEngine::StartPlay() {
    if (!device_.isOpen()) return;
    device_.play();
    state_.playWanted = true;
    state_.paused = false;
    publish();
}

void PlaybackEngine::stopKeepingEnd() {
    if (playEndMs_ != 0) state_.savedEndMs = playEndMs_;
    device_.stop();
}

void PlaybackEngine::SpdBtnPlayClick() {
    if (!device_.isOpen()) return;
    if (state_.savedEndMs != 0 && device_.mode() != media::Mode::Playing) applyEnd(state_.savedEndMs);
    StartPlay();
    ShowPlayingButtons();
}

void PlaybackEngine::SpdBtnPauseClick() {
    if (waitCounting()) {
        // The wait freezes: it no longer ends by itself.
        waitTimer_.stop();
        state_.wait = WaitPhase::Frozen;
        publish();
        return;
    }
    if (!device_.isOpen()) return;
    if (device_.mode() == media::Mode::Playing) {
        const std::int64_t position = device_.position();
        state_.playWanted = false;
        state_.paused = true;
        stopKeepingEnd();
        device_.setStartPos(position);
        if (state_.savedEndMs != 0) applyEnd(state_.savedEndMs);
        publish();
        return;
    }
    // Continue; a frozen wait goes on as a paused entry would.
    abandonWait();
    StartPlay();
}

void PlaybackEngine::SpdBtnStopClick() {
    if (waiting()) DgSecInTargetReach(WaitEnd::ByStop);
    state_.counter = {};
    state_.playWanted = false;
    state_.paused = false;
    state_.trackBar.position = 0;
    state_.trackBar.selStart = 0;
    if (!device_.isOpen()) {
        publish();
        return;
    }
    stopKeepingEnd();
    if (state_.cdAudio) {
        const std::int64_t start = device_.trackPosition(state_.cdTrack);
        device_.seek(start);
        device_.setStartPos(start);
        applyEnd(state_.savedEndMs);
    } else {
        device_.rewind();
        applyEnd(entryLengthMs_);
    }
    publish();
}

void PlaybackEngine::SpdBtnNextClick() { stepToEntry(true); }

void PlaybackEngine::SpdBtnPrevClick() { stepToEntry(false); }

// Next and Previous: the neighbouring entry, or a random pick with Random or Shuffle; playing goes on when it
// was wanted.
void PlaybackEngine::stepToEntry(bool forward) {
    if (state_.cdAudio && device_.isOpen()) device_.stop();
    state_.trackBar.position = 0;
    state_.trackBar.selStart = 0;
    // Next clears the whole selection, Previous only its start.
    if (forward) state_.trackBar.selEnd = 0;
    state_.trackBar.enabled = false;
    position_.ResetCounter();
    const bool randomPick = modes_.random || modes_.shuffle;
    if (randomPick) playlist_.selectLine(-1);
    const PlaySequence::Advance advance = sequence_.step(forward, device_.fileName());
    qCDebug(lcPlayback) << (forward ? "next:" : "previous:") << "entry" << playlist_.CurrentIndex();
    if (!handleAdvance(advance)) return;
    if (randomPick && advance == PlaySequence::Advance::EndReached) {
        OpenCurrentEntry();
        return;
    }
    closeDevice();
    if (OpenCurrentEntry() && state_.playWanted) StartPlay();
    publish();
}

void PlaybackEngine::PopReplayClick() {
    SpdBtnStopClick();
    SpdBtnPlayClick();
}

void PlaybackEngine::EntryFinished() {
    if (modes_.repeat && playlist_.CurrentIndex() != -1 && device_.isOpen()) {
        qCDebug(lcPlayback) << "repeat: entry" << playlist_.CurrentIndex() << "again";
        rewindEntry();
        state_.trackBar.enabled = true;
        state_.trackBar.selEnd = state_.trackBar.maximum;
        playlist_.selectLine(playlist_.CurrentIndex());
        device_.play();
        publish();
        return;
    }
    const QString played = device_.fileName();
    closeDevice();
    const PlaySequence::Finish finish = sequence_.EntryFinished(played);
    qCDebug(lcPlayback) << "end of an entry: advance" << static_cast<int>(finish) << "to entry"
                        << playlist_.CurrentIndex();
    switch (finish) {
        case PlaySequence::Finish::Replay:  // Repeat with nothing open: start the entry afresh
        case PlaySequence::Finish::PlayNext:
            if (OpenCurrentEntry()) StartPlay();
            break;
        case PlaySequence::Finish::StopReady:
            if (OpenCurrentEntry()) ShowStoppedButtons();
            break;
        case PlaySequence::Finish::CloseProgram: handleAdvance(PlaySequence::Advance::CloseProgram); break;
    }
    publish();
}

void PlaybackEngine::StartWait() {
    position_.ResetCounter();
    position_.stopTimer();
    emit captionChanged(waitCaption(options_.wait));
    state_.wait = WaitPhase::Counting;
    state_.waitSeconds = options_.wait;
    state_.waitRemaining = options_.wait;
    // Remaining time counts the seconds down to 0, elapsed time counts them up from 0.
    state_.counter = {0, position_.mode() == CounterMode::Remaining ? options_.wait : 0};
    waitTimer_.start();
    qCDebug(lcPlayback) << "waiting" << options_.wait << "seconds";
    publish();
}

void PlaybackEngine::waitTick() {
    if (state_.wait != WaitPhase::Counting) return;
    --state_.waitRemaining;
    const int elapsed = state_.waitSeconds - state_.waitRemaining;
    state_.counter = {0, position_.mode() == CounterMode::Remaining ? state_.waitRemaining : elapsed};
    if (state_.waitRemaining > 0) {
        publish();
        return;
    }
    DgSecInTargetReach(WaitEnd::ByTimer);
}

void PlaybackEngine::abandonWait() {
    if (state_.wait == WaitPhase::None) return;
    waitTimer_.stop();
    state_.wait = WaitPhase::None;
    state_.waitRemaining = 0;
}

void PlaybackEngine::DgSecInTargetReach(WaitEnd how) {
    abandonWait();
    position_.ResetCounter();
    if (device_.isOpen() && playlist_.isValidIndex(playlist_.CurrentIndex()))
        emit captionChanged(songCaptionOfCurrent());
    qCDebug(lcPlayback) << "the wait ends" << (how == WaitEnd::ByStop ? "without playing on" : "");
    publish();
    if (how == WaitEnd::ByStop) return;
    EntryFinished();
}

void PlaybackEngine::setModes(const PlayModes& modes) {
    modes_ = modes;
    emit modesChanged();
}

void PlaybackEngine::AutoPlayClick(bool byUser) {
    if (byUser) modes_.setAuto(!modes_.autoPlay);
    emit modesChanged();
}

void PlaybackEngine::LoopPlayClick(bool byUser) {
    if (byUser) modes_.setLoop(!modes_.loop);
    emit modesChanged();
}

void PlaybackEngine::RepeatPlayClick(bool byUser) {
    if (byUser) modes_.setRepeat(!modes_.repeat);
    emit modesChanged();
}

void PlaybackEngine::RandomPlayClick(bool byUser) {
    if (byUser) modes_.setRandom(!modes_.random);
    emit modesChanged();
}

void PlaybackEngine::ShufflePlayClick(bool byUser) {
    if (byUser) modes_.setShuffle(!modes_.shuffle);
    emit modesChanged();
    if (!modes_.shuffle && byUser && !playlist_.isEmpty() &&
        MessageBoxes::show(QStringLiteral("Uncheck All"), QStringLiteral("Uncheck all the items in the playlist?"),
                           BoxIcon::Question, BoxButtons::YesNo) == BoxButton::Yes)
        playlist_.UncheckAllEntries();
}

}  // namespace vorlo
