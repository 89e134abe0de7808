#include "player/playback/PositionDisplay.h"

#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSTrackBar.h"
#include "core/settings/Options.h"
#include "player/app/PlayerControls.h"
#include "player/playback/PlaybackEngine.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QToolButton>

namespace vorlo {

PositionDisplay::PositionDisplay(PlaybackEngine& engine, PlayerControls& controls, Options& options, QObject* parent)
    : QObject(parent), engine_(engine), ui_(controls), options_(options) {
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &PositionDisplay::ThreadedTimerTimer);
}

CounterMode PositionDisplay::mode() const {
    return options_.timeCount == 1 ? CounterMode::Remaining : CounterMode::Elapsed;
}

void PositionDisplay::ResetCounter() {
    ui_.seconds->setDelay(0);
    for (TDigitBox* box : {static_cast<TDigitBox*>(ui_.minutes), static_cast<TDigitBox*>(ui_.seconds)}) {
        box->setTarget(0);
        box->setValue(0);
    }
    timer_.start();
}

void PositionDisplay::showCounter(CounterReading reading) {
    ui_.seconds->setValue(static_cast<std::uint32_t>(reading.seconds));
    ui_.seconds->setTarget(static_cast<std::uint32_t>(reading.seconds));
    ui_.minutes->setValue(static_cast<std::uint32_t>(reading.minutes));
    ui_.minutes->setTarget(static_cast<std::uint32_t>(reading.minutes));
}

void PositionDisplay::ThreadedTimerTimer() {
    media::MIDIPlayer& device = engine_.device();
    if (!device.isOpen()) return;
    if (device.mode() != media::Mode::Playing && engine_.playWanted()) engine_.StartPlay();
    if (forwardHeld_)
        StepForward();
    else if (reverseHeld_)
        StepBack();
    const EntrySpan span = engine_.span();
    const std::int64_t position = device.position();
    showCounter(counterAt(mode(), span, position));
    const QSignalBlocker block(ui_.trackBar);  // the timer's move is no user change
    ui_.trackBar->setValue(static_cast<int>(span.ownTime(position) / 1000));
    ui_.trackBar->setSelStart(ui_.trackBar->value());
}

void PositionDisplay::TimeLabelClick(bool byUser) {
    if (engine_.waitCounting()) return;
    if (byUser) {
        if (!counterClicks_) return;
        options_.timeCount = options_.timeCount == 1 ? 0 : 1;
    }
    const QColor colour = mode() == CounterMode::Remaining ? PlayerControls::kRed : PlayerControls::kLime;
    ui_.minutes->setColor1(colour);
    ui_.seconds->setColor1(colour);
    setLabelColour(ui_.counterLabel, colour);
    ThreadedTimerTimer();
}

void PositionDisplay::TrackBarChange(int position) {
    ui_.trackBar->setSelStart(position);  // the selection shows what remains
    showCounter(counterAtThumb(mode(), ui_.trackBar->maximum(), position));
}

void PositionDisplay::TrackBarMouseDown() {
    QApplication::setOverrideCursor(Qt::ClosedHandCursor);
    timer_.stop();
}

void PositionDisplay::TrackBarMouseUp() {
    QApplication::restoreOverrideCursor();
    media::MIDIPlayer& device = engine_.device();
    if (!device.isOpen()) return;
    const std::int64_t target = static_cast<std::int64_t>(ui_.trackBar->value()) * 1000;
    const EntrySpan span = engine_.span();
    if (target == span.ownTime(device.position())) {
        timer_.start();
        return;
    }
    const std::int64_t devicePosition = target + (span.cdAudio ? span.startMs : 0);
    if (ui_.play->isEnabled()) {
        // Nothing plays: only the point where play will start moves.
        device.seek(devicePosition);
        device.setStartPos(devicePosition);
        if (engine_.savedEndPosition() != 0) device.setEndPos(engine_.savedEndPosition());
        timer_.start();
        return;
    }
    // Playing: the interrupted play reports, which must not end a "/close" start.
    if (engine_.closeAfterPlay() && engine_.playlistCount() == 1) engine_.clearCloseAfterPlay();
    device.setNotify(false);
    engine_.stopKeepingEnd();
    device.seek(devicePosition);
    timer_.start();
    device.setStartPos(devicePosition);
    if (engine_.savedEndPosition() != 0) device.setEndPos(engine_.savedEndPosition());
    engine_.StartPlay();
}

void PositionDisplay::step(bool forward) {
    if (engine_.waitCounting()) {
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
    if (engine_.savedEndPosition() != 0) device.setEndPos(engine_.savedEndPosition());
    if (wasPlaying) engine_.StartPlay();
}

void PositionDisplay::StepForward() { step(true); }

void PositionDisplay::StepBack() { step(false); }

}  // namespace vorlo
