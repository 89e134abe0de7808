#pragma once
// A MIDI output with a clock and a queue of its own: an ALSA sequencer port (AlsaSequencerPort) in the player.
// `PortSequencer` plays songs through it by scheduling each event at its time on the port's queue a little ahead of
// the clock, so the timing is the port's own, not that of whoever fills the queue.
//
// Times are microseconds of the port's clock, which starts from 0 at each startClock(). Every call comes from one
// thread at a time (PortSequencer holds its lock around them). A call that finds the port gone (its client left,
// the device was unplugged) says so (false, Queued::Gone); gone() then says so with a reason naming the port.
#include <cstdint>
#include <span>
#include <string>

namespace vorlo::audio {

// What became of a message put on the queue.
enum class Queued {
    Yes,
    Full,  // the queue takes no more for now: try again at the next refill
    Gone,  // the port went away
};

class MidiPort {
public:
    virtual ~MidiPort() = default;
    MidiPort() = default;
    MidiPort(const MidiPort&) = delete;
    MidiPort& operator=(const MidiPort&) = delete;

    // Who the port is, for messages: "NAME (CLIENT:PORT)".
    virtual std::string name() const = 0;

    // Puts `message` (a channel message, or a complete SysEx F0 ... F7) on the queue for `atUs`.
    virtual Queued schedule(std::int64_t atUs, std::span<const std::uint8_t> message) = 0;
    // Hands what was scheduled to the port's queue.
    virtual bool flush() = 0;
    // Drops every scheduled message not yet delivered.
    virtual void dropQueued() = 0;
    // Sends `message` at once, past the queue.
    virtual bool sendNow(std::span<const std::uint8_t> message) = 0;

    // Starts the clock from 0; stops it.
    virtual bool startClock() = 0;
    virtual void stopClock() = 0;
    // The clock's time (0 while stopped before any start).
    virtual std::int64_t clockUs() = 0;
    // Moves the clock on by `us` where the port has no clock of its own running (offline play); a real port's clock
    // runs by itself and ignores this.
    virtual void advanceClock(std::int64_t /*us*/) {}

    // Whether the port went away (polled; also true after a call failed on it), and why.
    virtual bool gone(std::string& why) = 0;
};

}  // namespace vorlo::audio
