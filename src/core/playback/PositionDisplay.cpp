#include "core/playback/PositionDisplay.h"

#include "core/app/ErrorHandler.h"
#include "core/playback/PlaybackEngine.h"
#include "core/playlist/Playlist.h"
#include "core/settings/Options.h"

namespace vorlo {

PositionDisplay::PositionDisplay(PlaybackEngine& engine, Options& options) : engine_(engine), options_(options) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, ErrorHandler::guard([this] { ThreadedTimerTimer(); }));
}

CounterMode PositionDisplay::mode() const {
    return options_.timeCount == 1 ? CounterMode::Remaining : CounterMode::Elapsed;
}

void PositionDisplay::ResetCounter() {
    engine_.abandonWait();
    engine_.state_.counter = {};
    timer_.start();
    engine_.publish();
}

void PositionDisplay::showCounter(CounterReading reading) { engine_.state_.counter = reading; }

void PositionDisplay::ThreadedTimerTimer() {
    media::MIDIPlayer& device = engine_.device();
    engine_.state_.counterMode = mode();
    if (!device.isOpen()) {
        engine_.publish();
        return;
    }
    if (device.mode() != media::Mode::Playing && engine_.state_.playWanted) engine_.StartPlay();
    if (forwardHeld_)
        StepForward();
    else if (reverseHeld_)
        StepBack();
    const EntrySpan span = engine_.span();
    const std::int64_t position = device.position();
    showCounter(counterAt(mode(), span, position));
    TrackBarView& bar = engine_.state_.trackBar;
    bar.position = static_cast<int>(span.ownTime(position) / 1000);
    bar.selStart = bar.position;
    engine_.publish();
}

void PositionDisplay::TimeLabelClick(bool byUser) {
    if (engine_.waiting()) return;
    if (byUser) options_.timeCount = options_.timeCount == 1 ? 0 : 1;
    engine_.state_.counterMode = mode();
    ThreadedTimerTimer();
}

void PositionDisplay::TrackBarChange(int second) {
    TrackBarView& bar = engine_.state_.trackBar;
    bar.position = second;
    bar.selStart = second;  // the selection shows what remains
    showCounter(counterAtThumb(mode(), bar.maximum, second));
    engine_.publish();
}

void PositionDisplay::TrackBarMouseDown() { timer_.stop(); }

void PositionDisplay::TrackBarMouseUp() { seekTo(static_cast<std::int64_t>(engine_.state_.trackBar.position) * 1000); }

void PositionDisplay::seekTo(std::int64_t ms) {
    media::MIDIPlayer& device = engine_.device();
    if (!device.isOpen()) return;
    const EntrySpan span = engine_.span();
    if (ms == span.ownTime(device.position())) {
        timer_.start();
        return;
    }
    const std::int64_t devicePosition = ms + (span.cdAudio ? span.startMs : 0);
    const std::int64_t savedEnd = engine_.state_.savedEndMs;
    if (!engine_.state_.playWanted) {
        // Nothing plays: only the point where play will start moves.
        device.seek(devicePosition);
        device.setStartPos(devicePosition);
        if (savedEnd != 0) device.setEndPos(savedEnd);
        timer_.start();
        engine_.publish();
        emit seeked(ms);
        return;
    }
    // Playing: the interrupted play reports, which must not end a "/close" start.
    if (engine_.closeAfterPlay() && engine_.playlistCount() == 1) engine_.clearCloseAfterPlay();
    device.setNotify(false);
    engine_.stopKeepingEnd();
    device.seek(devicePosition);
    timer_.start();
    device.setStartPos(devicePosition);
    if (engine_.state_.savedEndMs != 0) device.setEndPos(engine_.state_.savedEndMs);
    engine_.StartPlay();
    emit seeked(ms);
}

void PositionDisplay::step(bool forward) {
    if (engine_.waiting()) {
        engine_.DgSecInTargetReach(PlaybackEngine::WaitEnd::ByStep);
        return;
    }
    media::MIDIPlayer& device = engine_.device();
    if (!device.isOpen()) return;
    const bool wasPlaying = device.mode() == media::Mode::Playing;
    if (wasPlaying) engine_.stopKeepingEnd();
    const EntrySpan span = engine_.span();
    const std::int64_t position = device.position();
    const std::int64_t next =
        forward ? stepForward(span, position, options_.skip) : stepBack(span, position, options_.skip);
    device.seek(next);
    device.setStartPos(next);
    if (engine_.state_.savedEndMs != 0) device.setEndPos(engine_.state_.savedEndMs);
    if (wasPlaying) engine_.StartPlay();
    engine_.publish();
    emit seeked(span.ownTime(next));
}

void PositionDisplay::StepForward() { step(true); }

void PositionDisplay::StepBack() { step(false); }

}  // namespace vorlo
