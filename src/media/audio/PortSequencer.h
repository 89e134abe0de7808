#pragma once
// Plays MIDI files on an external synthesizer through a MidiPort: the events of the song go on the port's queue at
// their times, up to a window ahead of the port's clock, refilled as the clock runs (by a worker thread of its own,
// or by advanceOffline() where no thread runs). Safe to drive from one thread while the worker runs.
//
// The behaviour matches the built-in synthesizer's engine: a play from a point past the start first sends the
// channels' state of the song there (programs, controllers, pitch bends; no note from before it); stop, seek and
// close drop what is still queued and send all notes off and sustain off on the 16 channels directly; a play that
// reaches its end reports once; a port that goes away stops the play and reports it as failed, failure() saying why.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "media/audio/MidiPort.h"
#include "midi/SongTimeline.h"

namespace vorlo::audio {

class PortSequencer {
public:
    struct Timing {
        std::int64_t aheadUs = 300'000;  // how far ahead of the clock events are queued
        int refillMs = 40;               // how often the worker refills (a quarter or so of the window)
        bool worker = true;              // false: only advanceOffline() moves the play on
    };

    PortSequencer(std::unique_ptr<MidiPort> port, Timing timing);
    explicit PortSequencer(std::unique_ptr<MidiPort> port) : PortSequencer(std::move(port), Timing{}) {}
    // Stops the worker and silences the port.
    ~PortSequencer();
    PortSequencer(const PortSequencer&) = delete;
    PortSequencer& operator=(const PortSequencer&) = delete;

    // Reads a MIDI file and makes it the current song, stopped at its start. On failure the previous song is closed
    // and `error` holds the reason.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const;

    std::int64_t lengthMs() const;
    std::int64_t positionMs() const;
    bool isPlaying() const;
    // Plays from `fromMs` to `toMs` (negative: to the end). Returns the play's id, which the end report carries; 0
    // when no song is open or the port is gone (then reported at once as failed).
    std::uint64_t play(std::int64_t fromMs, std::int64_t toMs = -1);
    // Stops where it is (the player's pause and stop).
    void stop();
    // Moves to `ms`, stopped.
    void seek(std::int64_t ms);

    // Called with no lock held, on the worker's thread or the caller's, when a play reaches its end (`failed`
    // false) or the port went away during it (`failed` true).
    void setEndCallback(std::function<void(std::uint64_t playId, bool failed)> callback);
    // Why the last play failed: the port went away. Empty otherwise.
    std::string failure() const;
    // Whether the port is still there (polls it).
    bool portGone(std::string& why);
    std::string portName() const;

    // A short message as a MIDI output takes it (0xFF alone: a system reset), sent at once.
    void sendShortMessage(std::uint32_t message);

    // Without a worker: moves the clock on by `us` and does the worker's part.
    void advanceOffline(std::int64_t us);
    // One round of the worker's part: queue what falls into the window, notice the end and a port that went away.
    void refill();

private:
    // A play's end to report: its id (0: nothing to report) and whether it failed.
    struct Outcome {
        std::uint64_t playId = 0;
        bool failed = false;
    };

    std::int64_t positionUsLocked() const;
    // `ms` as a point of the song, within it.
    std::int64_t songPointUs(std::int64_t ms) const;
    // Sends the channels' state of the song at `toUs` at once. False when the port went away.
    bool chaseLocked(std::int64_t toUs);
    // The bytes of a timeline event as the port takes them; empty for an event that is no message.
    std::span<const std::uint8_t> bytesOf(const midi::TimedEvent& event) const;
    Outcome refillLocked();
    // Queues the end of the play: the events at the end point but notes that would start there, then the pedals up
    // and all notes off. Queued::Yes when all of it went.
    Queued queueEndLocked();
    // Stops a play, drops the queue and silences the 16 channels.
    void haltLocked();
    void silenceLocked();
    // The play ends as failed: the port is gone.
    Outcome failLocked();
    void report(Outcome outcome);
    void work();

    Timing timing_;
    mutable std::mutex mutex_;
    std::unique_ptr<MidiPort> port_;
    std::unique_ptr<midi::SongTimeline> song_;  // in microseconds
    std::int64_t positionUs_ = 0;               // while stopped
    std::int64_t fromUs_ = 0;                   // the song's time at the clock's 0, while playing
    std::int64_t endUs_ = 0;
    std::size_t next_ = 0;  // the first event not yet queued
    bool playing_ = false;
    bool endQueued_ = false;
    std::size_t endSent_ = 0;  // how much of the end went on the queue
    std::string failure_;
    std::uint64_t playId_ = 0;
    std::function<void(std::uint64_t, bool)> endCallback_;

    std::thread worker_;
    std::condition_variable wake_;
    bool quit_ = false;
};

// Parses "CLIENT:PORT" (two numbers); false when it is not that.
bool parsePortAddress(const std::string& address, int& client, int& port);

}  // namespace vorlo::audio
