#pragma once
// One kind of media device (sequencer, wave audio, video, CD audio) behind the operations the
// media device needs. Positions are milliseconds from the start of the medium (the whole disc
// for CD audio).
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vorlo::media {

// Told when a play reached its end position: the play's token and whether it failed on the way.
// Back ends call it on their audio thread or on the user-interface thread.
using PlayEndHandler = std::function<void(std::uint64_t token, bool failed)>;

class MediaBackend {
public:
    virtual ~MediaBackend() = default;
    MediaBackend() = default;
    MediaBackend(const MediaBackend&) = delete;
    MediaBackend& operator=(const MediaBackend&) = delete;

    virtual std::int64_t lengthMs() const = 0;
    virtual std::int64_t positionMs() const = 0;
    virtual bool isPlaying() const = 0;

    // Plays from `fromMs` to `toMs` (both within the length, from <= to). Returns the play's token,
    // which the end handler receives; a stopped or replaced play never reaches the handler.
    virtual std::uint64_t play(std::int64_t fromMs, std::int64_t toMs) = 0;
    // Stops where it is.
    virtual void stop() = 0;
    // Moves to `ms` and stays stopped there.
    virtual void seek(std::int64_t ms) = 0;
    // Returns true once the play `token` is over (ended, stopped or replaced); false when it is
    // still playing at `deadline` (a stalled output, for one).
    virtual bool waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) = 0;

    virtual int trackCount() const { return 1; }
    // Track numbers start at 1; the caller checks them against trackCount().
    virtual std::int64_t trackPositionMs(int /*track*/) const { return 0; }
    virtual std::int64_t trackLengthMs(int /*track*/) const { return lengthMs(); }

    virtual bool canEject() const { return false; }
    virtual bool isDoorOpen() const { return false; }
    virtual bool eject() { return false; }
    virtual bool closeDoor() { return false; }

    // Offline audio only: renders the next `frames` frames into `left` and `right`, moving plays on.
    // False when this back end has no offline output.
    virtual bool renderOffline(float* /*left*/, float* /*right*/, std::size_t /*frames*/) { return false; }
    // The audio output's notice (no sound device, playing silently), handed out once.
    virtual std::string takeOutputNotice() { return {}; }
    // Why the last play failed on the way, for the user (an external synthesizer that went away); empty when it did
    // not or the back end cannot tell.
    virtual std::string failureMessage() const { return {}; }
};

}  // namespace vorlo::media
