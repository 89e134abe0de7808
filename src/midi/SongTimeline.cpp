#include "midi/SongTimeline.h"

#include <algorithm>

namespace vorlo::midi {
namespace {

struct Pending {
    std::uint64_t tick;
    const MidiEvent* event;
};

}  // namespace

SongTimeline::SongTimeline(const MidiFile& file, int sampleRate) : sampleRate_(sampleRate > 0 ? sampleRate : 44100) {
    const TempoMap tempo = buildTempoMap(file);
    const std::vector<std::uint64_t> starts = trackStartTicks(file);
    std::size_t count = 0;
    for (const MidiTrack& track : file.tracks) count += track.events.size();
    std::vector<Pending> pending;
    pending.reserve(count);
    for (std::size_t t = 0; t < file.tracks.size(); ++t)
        for (const MidiEvent& event : file.tracks[t].events)
            if (!event.isMeta()) pending.push_back({std::min(kMaxTick, starts[t] + event.tick), &event});
    // Tracks were appended in order, so events at the same tick keep track order, then file order.
    std::stable_sort(pending.begin(), pending.end(),
                     [](const Pending& a, const Pending& b) { return a.tick < b.tick; });

    payload_ = file.payload;
    events_.reserve(pending.size());
    std::uint64_t lastTick = 0;
    std::int64_t lastFrame = 0;
    for (const Pending& item : pending) {
        // Many events share a tick; the conversion is done once per tick.
        if (item.tick != lastTick || events_.empty()) {
            lastTick = item.tick;
            lastFrame = microsToFrames(tempo.ticksToMicros(item.tick));
        }
        const MidiEvent& e = *item.event;
        events_.push_back({lastFrame, e.status, e.data1, e.data2, e.payloadOffset, e.payloadSize});
    }
    const std::int64_t endMicros = tempo.ticksToMicros(songEndTick(file));
    endFrame_ = microsToFrames(endMicros);
    lengthMs_ = endMicros / 1000;
}

std::int64_t SongTimeline::microsToFrames(std::int64_t micros) const {
    // Split so that hours of song at any rate stay inside 64 bits.
    return (micros / 1000000) * sampleRate_ + (micros % 1000000) * sampleRate_ / 1000000;
}

std::int64_t SongTimeline::msToFrames(std::int64_t ms) const { return microsToFrames(ms * 1000); }

std::int64_t SongTimeline::framesToMs(std::int64_t frames) const {
    return (frames / sampleRate_) * 1000 + (frames % sampleRate_) * 1000 / sampleRate_;
}

}  // namespace vorlo::midi
