#pragma once
// Reads Standard MIDI Files (formats 0, 1, 2; also inside RIFF RMID) into a MidiFile.
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "midi/MidiFile.h"

namespace vorlo::midi {

struct ReadError {
    std::string text;
};

using ReadResult = std::variant<MidiFile, ReadError>;

// A MIDI file's events take about eight times its size in memory: larger files are refused unread.
inline constexpr std::uint64_t kMaxMidiFileBytes = std::uint64_t{256} << 20;
// The MIDI header (or the RIFF header of an RMID file) must begin within this many bytes.
inline constexpr std::size_t kMidiHeadBytes = 4096;

ReadResult readMidi(std::span<const std::uint8_t> bytes);
// Reads the file at `path` (only a regular file, never waiting on a FIFO) after a look at its head.
ReadResult readMidiFile(const std::string& path);
// The bytes of the MIDI file at `path`, checked and capped as readMidiFile does; an empty string or the error.
std::string loadMidiFileBytes(const std::string& path, std::vector<std::uint8_t>& out);

// The MIDI data inside `bytes`: the RMID "data" chunk when wrapped, else everything.
std::span<const std::uint8_t> midiPayload(std::span<const std::uint8_t> bytes, bool* wasRmid = nullptr);

}  // namespace vorlo::midi
