#pragma once
// Writes Standard MIDI Files: used by our data generator, the benchmarks and the tests.
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "midi/MidiFile.h"

namespace vorlo::midi {

class TrackWriter {
public:
    // Events may be added in any order; they are written sorted by tick, in insertion order within a tick.
    TrackWriter& noteOn(std::uint64_t tick, int channel, int key, int velocity);
    TrackWriter& noteOff(std::uint64_t tick, int channel, int key);
    TrackWriter& note(std::uint64_t tick, std::uint64_t length, int channel, int key, int velocity);
    TrackWriter& controlChange(std::uint64_t tick, int channel, int controller, int value);
    TrackWriter& programChange(std::uint64_t tick, int channel, int program);
    TrackWriter& pitchBend(std::uint64_t tick, int channel, int value);  // 0..16383, centre 8192
    TrackWriter& channelPressure(std::uint64_t tick, int channel, int value);
    TrackWriter& tempo(std::uint64_t tick, std::uint32_t microsPerQuarter);
    TrackWriter& timeSignature(std::uint64_t tick, int numerator, int denominatorPower);
    TrackWriter& text(std::uint64_t tick, MetaType type, const std::string& text);
    TrackWriter& meta(std::uint64_t tick, std::uint8_t type, std::span<const std::uint8_t> data);
    // A complete message F0 ... F7; written as an F0 event.
    TrackWriter& sysEx(std::uint64_t tick, std::span<const std::uint8_t> message);
    // Any event bytes after the delta-time, written as they are (for split SysEx and damaged files).
    TrackWriter& raw(std::uint64_t tick, std::vector<std::uint8_t> bytes);
    // The end of track goes at this tick, or at the last event when it is earlier.
    TrackWriter& endAt(std::uint64_t tick);
    TrackWriter& withoutEndOfTrack();
    TrackWriter& withoutRunningStatus();

    std::vector<std::uint8_t> eventBytes() const;  // the chunk's contents, without its header

private:
    struct Pending {
        std::uint64_t tick;
        std::vector<std::uint8_t> bytes;
        bool channelMessage;
    };
    TrackWriter& add(std::uint64_t tick, std::vector<std::uint8_t> bytes, bool channelMessage);

    std::vector<Pending> events_;
    std::uint64_t endTick_ = 0;
    bool writeEnd_ = true;
    bool runningStatus_ = true;
};

class SmfWriter {
public:
    SmfWriter(int format, int ticksPerQuarter);
    // SMPTE time: frames per second 24, 25, 29 (30 drop-frame) or 30.
    static SmfWriter smpte(int format, int framesPerSecond, int ticksPerFrame);

    TrackWriter& addTrack();
    std::vector<std::uint8_t> bytes() const;
    bool writeTo(const std::string& path) const;

private:
    int format_;
    std::uint16_t division_;
    std::deque<TrackWriter> tracks_;  // a deque: references from addTrack() stay valid
};

void appendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);

// Wraps a Standard MIDI File into a RIFF "RMID" file (.rmi).
std::vector<std::uint8_t> wrapInRmid(std::span<const std::uint8_t> smf);

bool writeBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace vorlo::midi
