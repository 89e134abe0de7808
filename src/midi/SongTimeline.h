#pragma once
// Every playable event of a song on one timeline, in the order a synthesizer must receive them.
#include <cstdint>
#include <span>
#include <vector>

#include "midi/MidiFile.h"
#include "midi/TempoMap.h"

namespace vorlo::midi {

struct TimedEvent {
    std::int64_t frame = 0;   // at the timeline's sample rate
    std::uint8_t status = 0;  // channel status, kStatusSysEx or kStatusEscape
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint32_t payloadOffset = 0;
    std::uint32_t payloadSize = 0;

    // Notes are not replayed when a seek chases the state of the song.
    bool isNoteEvent() const {
        const int kind = status & 0xF0;
        return kind == 0x80 || kind == 0x90 || kind == 0xA0;
    }
};

class SongTimeline {
public:
    SongTimeline(const MidiFile& file, int sampleRate);

    const std::vector<TimedEvent>& events() const { return events_; }
    std::span<const std::uint8_t> payloadOf(const TimedEvent& event) const {
        return {payload_.data() + event.payloadOffset, event.payloadSize};
    }
    std::int64_t endFrame() const { return endFrame_; }
    std::int64_t lengthMs() const { return lengthMs_; }
    int sampleRate() const { return sampleRate_; }
    std::int64_t msToFrames(std::int64_t ms) const;
    std::int64_t framesToMs(std::int64_t frames) const;

private:
    std::int64_t microsToFrames(std::int64_t micros) const;

    int sampleRate_;
    std::vector<TimedEvent> events_;
    std::vector<std::uint8_t> payload_;
    std::int64_t endFrame_ = 0;
    std::int64_t lengthMs_ = 0;
};

}  // namespace vorlo::midi
