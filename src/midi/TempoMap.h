#pragma once
// Tick <-> time conversion for a whole song. A tempo change in any track applies to all of them.
#include <cstdint>
#include <vector>

#include "midi/MidiFile.h"

namespace vorlo::midi {

struct TempoChange {
    std::uint64_t tick = 0;  // on the song's timeline
    std::uint32_t microsPerQuarter = kDefaultTempoUs;
};

class TempoMap {
public:
    TempoMap() = default;
    // `changes` need not be sorted; a stable sort keeps the later of two changes at the same tick
    // in file order, so the last one wins.
    TempoMap(const Division& division, std::vector<TempoChange> changes);

    std::int64_t ticksToMicros(std::uint64_t tick) const;
    std::uint64_t microsToTicks(std::int64_t micros) const;
    std::int64_t ticksToMs(std::uint64_t tick) const { return ticksToMicros(tick) / 1000; }
    std::uint64_t msToTicks(std::int64_t ms) const { return microsToTicks(ms * 1000); }
    std::uint32_t tempoAt(std::uint64_t tick) const;

private:
    struct Segment {
        std::uint64_t tick;
        // Elapsed time at `tick` in units of microseconds / ticksPerQuarter: exact integers, no drift.
        std::int64_t scaledMicros;
        std::uint32_t microsPerQuarter;
    };
    const Segment& segmentAt(std::uint64_t tick) const;

    Division division_;
    std::vector<Segment> segments_{{0, 0, kDefaultTempoUs}};
};

// Where each track of a file sits on the song's timeline: format 2 plays its tracks one after
// another, the other formats play them together.
std::vector<std::uint64_t> trackStartTicks(const MidiFile& file);

// Collects the tempo changes of every track, placed on the song's timeline.
TempoMap buildTempoMap(const MidiFile& file);

// The song's length: the time of its last event, end of track included.
std::int64_t songLengthMs(const MidiFile& file, const TempoMap& tempo);
std::uint64_t songEndTick(const MidiFile& file);

}  // namespace vorlo::midi
