#pragma once

#include <cstdint>

namespace vorlo {

// Where the open entry lies on its device, in milliseconds: a file spans 0 to its length; a CD track spans its
// start on the disc to start + length, and every position is on the whole disc.
struct EntrySpan {
    std::int64_t startMs = 0;
    std::int64_t lengthMs = 0;
    bool cdAudio = false;

    std::int64_t endMs() const { return startMs + lengthMs; }
    // The entry's own time at a device position.
    std::int64_t ownTime(std::int64_t positionMs) const { return cdAudio ? positionMs - startMs : positionMs; }
};

enum class CounterMode { Elapsed = 0, Remaining = 1 };

struct CounterReading {
    int minutes = 0;
    int seconds = 0;
    bool operator==(const CounterReading&) const = default;
};

// The counter at a device position: the time played, or the time left to the entry's end.
CounterReading counterAt(CounterMode mode, const EntrySpan& span, std::int64_t positionMs);

// The counter while the track bar's thumb is at `positionSeconds` of `maximumSeconds`.
CounterReading counterAtThumb(CounterMode mode, int maximumSeconds, int positionSeconds);

// Forward: `skipSeconds` on, but no further than the end of a file, or 300 ms before the end of a CD track.
std::int64_t stepForward(const EntrySpan& span, std::int64_t positionMs, int skipSeconds);
// Reverse: `skipSeconds` back, but not before the start of the file or the CD track.
std::int64_t stepBack(const EntrySpan& span, std::int64_t positionMs, int skipSeconds);

}  // namespace vorlo
