#pragma once
// The in-memory form of a Standard MIDI File: header values, the events of every track and the
// payload bytes of SysEx and meta events.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorlo::midi {

// Ticks are kept in 64 bits and clamped here, so that tick * tempo (24 bits) never overflows
// a signed 64-bit product, whatever delta-times a damaged file carries.
inline constexpr std::uint64_t kMaxTick = std::uint64_t{1} << 36;

inline constexpr std::uint32_t kDefaultTempoUs = 500000;  // 120 quarter notes per minute

struct Division {
    bool smpte = false;
    int ticksPerQuarter = 96;  // metrical time
    int framesPerSecond = 0;   // SMPTE: 24, 25, 29 (30 drop-frame, i.e. 29.97) or 30
    int ticksPerFrame = 0;     // SMPTE

    // SMPTE time runs at a fixed rate: ticks per second as a fraction (numerator / denominator).
    std::uint64_t smpteTicksPerSecondNum() const;
    std::uint64_t smpteTicksPerSecondDen() const;
};

enum class MetaType : std::uint8_t {
    SequenceNumber = 0x00,
    Text = 0x01,
    Copyright = 0x02,
    TrackName = 0x03,
    InstrumentName = 0x04,
    Lyric = 0x05,
    Marker = 0x06,
    CuePoint = 0x07,
    ProgramName = 0x08,
    DeviceName = 0x09,
    ChannelPrefix = 0x20,
    Port = 0x21,
    EndOfTrack = 0x2F,
    Tempo = 0x51,
    SmpteOffset = 0x54,
    TimeSignature = 0x58,
    KeySignature = 0x59,
    SequencerSpecific = 0x7F,
};

inline constexpr std::uint8_t kStatusSysEx = 0xF0;
inline constexpr std::uint8_t kStatusEscape = 0xF7;  // a raw packet that is not part of a SysEx
inline constexpr std::uint8_t kStatusMeta = 0xFF;

struct MidiEvent {
    std::uint64_t tick = 0;           // absolute, within its track
    std::uint8_t status = 0;          // 0x80-0xEF channel message, 0xF0 complete SysEx, 0xF7 escape, 0xFF meta
    std::uint8_t data1 = 0;           // channel: first data byte; meta: the meta type
    std::uint8_t data2 = 0;           // channel: second data byte
    std::uint32_t payloadOffset = 0;  // SysEx (F0 ... F7 as sent to a synth), escape and meta data
    std::uint32_t payloadSize = 0;

    bool isChannel() const { return status >= 0x80 && status < 0xF0; }
    bool isMeta() const { return status == kStatusMeta; }
    bool isMeta(MetaType type) const { return status == kStatusMeta && data1 == static_cast<std::uint8_t>(type); }
    int channel() const { return status & 0x0F; }
    int kind() const { return status & 0xF0; }
};

struct MidiTrack {
    std::vector<MidiEvent> events;
    std::uint64_t endTick = 0;  // tick of the end of track (or of the last event when it is missing)
};

struct MidiFile {
    int format = 0;
    int declaredTrackCount = 0;  // as the header says; `tracks` holds what the file really contains
    Division division;
    bool rmidContainer = false;
    std::vector<MidiTrack> tracks;
    std::vector<std::uint8_t> payload;
    std::vector<std::string> repairs;  // what the reader had to work around, for `vorlo info`

    std::span<const std::uint8_t> payloadOf(const MidiEvent& event) const {
        return {payload.data() + event.payloadOffset, event.payloadSize};
    }
    std::string textOf(const MidiEvent& event) const;
};

}  // namespace vorlo::midi
