#pragma once

#include "core/playback/PositionMath.h"

#include <QObject>
#include <QTimer>

#include <cstdint>

namespace vorlo {

class PlaybackEngine;
struct Options;

// The play position as the counter (elapsed or remaining time) and the track bar show it, and seeking: the
// user's drag of the thumb (press, moves, release), Forward and Reverse by a press or while held. One 200 ms
// timer drives it all. What it shows is part of the engine's TransportState; the widgets only show that and
// report the user's presses, moves and releases here. User-interface thread only; the device's errors are
// thrown to the caller.
class PositionDisplay : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 200;

    PositionDisplay(PlaybackEngine& engine, Options& options);

    CounterMode mode() const;

    // The counter back to 0:00 (ending any wait) and the timer running.
    void ResetCounter();
    // The timer's tick; also called to bring the display up to date at once.
    void ThreadedTimerTimer();
    void startTimer() { timer_.start(); }
    void stopTimer() { timer_.stop(); }
    bool timerActive() const { return timer_.isActive(); }

    // The counter switch; `byUser` flips the mode, otherwise the stored mode is only shown. Nothing happens
    // during a wait between songs.
    void TimeLabelClick(bool byUser);

    // The user moved the thumb to `second` (dragging, or a click on the bar).
    void TrackBarChange(int second);
    // The user pressed the thumb (the timer stops so the drag is not overwritten) and let it go (seek).
    void TrackBarMouseDown();
    void TrackBarMouseUp();
    // Goes to `ms` of the open entry's own time, as a release of the thumb there does: playing on from there
    // when it played, else only moving where play will start. Nothing happens with nothing open.
    void seekTo(std::int64_t ms);

    // One step of `SKIP` seconds; during a wait between songs a step skips the rest of the wait instead.
    void StepForward();
    void StepBack();
    // While Forward or Reverse is held, every tick steps again.
    void setForwardHeld(bool held) { forwardHeld_ = held; }
    void setReverseHeld(bool held) { reverseHeld_ = held; }

signals:
    // The play position jumped (a seek, Forward, Reverse) to `ms` of the entry's own time.
    void seeked(std::int64_t ms);

private:
    void showCounter(CounterReading reading);
    void step(bool forward);

    PlaybackEngine& engine_;
    Options& options_;
    QTimer timer_;
    bool forwardHeld_ = false;
    bool reverseHeld_ = false;
};

}  // namespace vorlo
