#include "midi/TempoMap.h"

#include <algorithm>

namespace vorlo::midi {

TempoMap::TempoMap(const Division& division, std::vector<TempoChange> changes) : division_(division) {
    if (division_.smpte) return;  // SMPTE time ignores tempo events
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    for (const TempoChange& change : changes) {
        if (change.microsPerQuarter == 0) continue;  // a zero tempo would stop time; such events are ignored
        Segment& last = segments_.back();
        if (change.tick == last.tick) {
            last.microsPerQuarter = change.microsPerQuarter;
            continue;
        }
        const std::int64_t elapsed = static_cast<std::int64_t>(change.tick - last.tick) * last.microsPerQuarter;
        segments_.push_back({change.tick, last.scaledMicros + elapsed, change.microsPerQuarter});
    }
}

const TempoMap::Segment& TempoMap::segmentAt(std::uint64_t tick) const {
    auto it = std::upper_bound(segments_.begin(), segments_.end(), tick,
                               [](std::uint64_t t, const Segment& s) { return t < s.tick; });
    return *(it - 1);
}

std::int64_t TempoMap::ticksToMicros(std::uint64_t tick) const {
    tick = std::min(tick, kMaxTick);
    if (division_.smpte) {
        // micros = tick * 1e6 * den / num; split to stay inside 64 bits.
        const std::uint64_t num = division_.smpteTicksPerSecondNum();
        const std::uint64_t den = division_.smpteTicksPerSecondDen();
        const std::uint64_t scaled = tick * den;
        return static_cast<std::int64_t>((scaled / num) * 1000000 + (scaled % num) * 1000000 / num);
    }
    const Segment& s = segmentAt(tick);
    const std::int64_t scaled = s.scaledMicros + static_cast<std::int64_t>(tick - s.tick) * s.microsPerQuarter;
    return scaled / division_.ticksPerQuarter;
}

std::uint64_t TempoMap::microsToTicks(std::int64_t micros) const {
    if (micros <= 0) return 0;
    const auto m = static_cast<std::uint64_t>(micros);
    if (division_.smpte) {
        const std::uint64_t num = division_.smpteTicksPerSecondNum();
        const std::uint64_t den = division_.smpteTicksPerSecondDen() * 1000000;
        return std::min(kMaxTick, (m / den) * num + (m % den) * num / den);
    }
    const std::int64_t scaled =
        static_cast<std::int64_t>(std::min<std::uint64_t>(m, std::uint64_t{1} << 40)) * division_.ticksPerQuarter;
    auto it = std::upper_bound(segments_.begin(), segments_.end(), scaled,
                               [](std::int64_t t, const Segment& s) { return t < s.scaledMicros; });
    const Segment& s = *(it - 1);
    return std::min(kMaxTick, s.tick + static_cast<std::uint64_t>((scaled - s.scaledMicros) / s.microsPerQuarter));
}

std::uint32_t TempoMap::tempoAt(std::uint64_t tick) const {
    return division_.smpte ? 0 : segmentAt(tick).microsPerQuarter;
}

std::vector<std::uint64_t> trackStartTicks(const MidiFile& file) {
    std::vector<std::uint64_t> starts(file.tracks.size(), 0);
    if (file.format != 2) return starts;
    std::uint64_t at = 0;
    for (std::size_t i = 0; i < file.tracks.size(); ++i) {
        starts[i] = at;
        at = std::min(kMaxTick, at + file.tracks[i].endTick);
    }
    return starts;
}

TempoMap buildTempoMap(const MidiFile& file) {
    const std::vector<std::uint64_t> starts = trackStartTicks(file);
    std::vector<TempoChange> changes;
    for (std::size_t i = 0; i < file.tracks.size(); ++i) {
        for (const MidiEvent& event : file.tracks[i].events) {
            if (!event.isMeta(MetaType::Tempo) || event.payloadSize < 3) continue;
            const auto bytes = file.payloadOf(event);
            const std::uint32_t tempo = (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
            changes.push_back({std::min(kMaxTick, starts[i] + event.tick), tempo});
        }
    }
    return TempoMap(file.division, std::move(changes));
}

std::uint64_t songEndTick(const MidiFile& file) {
    const std::vector<std::uint64_t> starts = trackStartTicks(file);
    std::uint64_t end = 0;
    for (std::size_t i = 0; i < file.tracks.size(); ++i)
        end = std::max(end, std::min(kMaxTick, starts[i] + file.tracks[i].endTick));
    return end;
}

std::int64_t songLengthMs(const MidiFile& file, const TempoMap& tempo) { return tempo.ticksToMs(songEndTick(file)); }

}  // namespace vorlo::midi
