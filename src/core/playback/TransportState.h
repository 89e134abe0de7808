#pragma once

#include "core/playback/PositionMath.h"

#include <QString>

#include <cstdint>

namespace vorlo {

// The wait between songs: counting down its seconds, or frozen by Pause (it then no longer ends by itself).
enum class WaitPhase { None, Counting, Frozen };

// What the position track bar shows: its range is the open entry's length in whole seconds, its thumb the
// play position, and its selection what remains of the entry.
struct TrackBarView {
    bool enabled = false;
    int maximum = 0;
    int position = 0;
    int selStart = 0;
    int selEnd = 0;

    bool operator==(const TrackBarView&) const = default;
};

// Everything the transport is doing, owned by the playback engine and published whole whenever it changes.
// The window shows it; nothing in a widget stands for any of it.
struct TransportState {
    // The media device has the current entry open (and ready, playing, paused or waiting).
    bool entryOpen = false;
    // The file the device has open (empty for a CD track and while nothing is open).
    QString openFile;
    // The device plays right now.
    bool devicePlaying = false;
    // The player wants the device playing: the position timer restarts a device that stopped without a report.
    bool playWanted = false;
    // Stopped in the middle by Pause; Play or Pause goes on from there.
    bool paused = false;
    // The open entry is a CD track.
    bool cdAudio = false;
    int cdTrack = 1;
    // The CD drive's door was opened by the player (Eject): the next F9 closes it.
    bool doorOpened = false;
    // The wait between songs and the seconds it still has to count.
    WaitPhase wait = WaitPhase::None;
    int waitSeconds = 0;
    int waitRemaining = 0;
    // The end position applied again whenever play restarts after a stop (0: none).
    std::int64_t savedEndMs = 0;
    // What the counter shows, in which mode, and the track bar.
    CounterMode counterMode = CounterMode::Elapsed;
    CounterReading counter;
    TrackBarView trackBar;

    bool operator==(const TransportState&) const = default;
};

}  // namespace vorlo
