#pragma once

#include "core/playback/PositionMath.h"

#include <QObject>
#include <QTimer>

namespace vorlo {

class PlaybackEngine;
struct Options;
struct PlayerControls;

// The play position shown on the counter (elapsed or remaining) and the track bar, and seeking: dragging the
// thumb, holding Forward or Reverse. One 200 ms timer drives it all.
class PositionDisplay : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 200;

    PositionDisplay(PlaybackEngine& engine, PlayerControls& controls, Options& options, QObject* parent = nullptr);

    CounterMode mode() const;

    void ResetCounter();
    void ThreadedTimerTimer();
    void startTimer() { timer_.start(); }
    void stopTimer() { timer_.stop(); }
    bool timerActive() const { return timer_.isActive(); }

    // The counter switch; `byUser` flips the mode, otherwise only the colours are applied.
    void TimeLabelClick(bool byUser);
    // During a wait the counter's clicks do nothing.
    void setCounterClicksEnabled(bool enabled) { counterClicks_ = enabled; }
    bool counterClicksEnabled() const { return counterClicks_; }

    void TrackBarChange(int position);
    void TrackBarMouseDown();
    void TrackBarMouseUp();

    void StepForward();
    void StepBack();
    void setForwardHeld(bool held) { forwardHeld_ = held; }
    void setReverseHeld(bool held) { reverseHeld_ = held; }

private:
    void showCounter(CounterReading reading);
    void step(bool forward);

    PlaybackEngine& engine_;
    PlayerControls& ui_;
    Options& options_;
    QTimer timer_;
    bool counterClicks_ = true;
    bool forwardHeld_ = false;
    bool reverseHeld_ = false;
};

}  // namespace vorlo
