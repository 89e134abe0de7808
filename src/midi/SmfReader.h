#pragma once
// Reads Standard MIDI Files (formats 0, 1, 2; also inside RIFF RMID) into a MidiFile.
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "midi/MidiFile.h"

namespace vorlo::midi {

struct ReadError {
    std::string text;
};

using ReadResult = std::variant<MidiFile, ReadError>;

ReadResult readMidi(std::span<const std::uint8_t> bytes);
ReadResult readMidiFile(const std::string& path);

// The MIDI data inside `bytes`: the RMID "data" chunk when wrapped, else everything.
std::span<const std::uint8_t> midiPayload(std::span<const std::uint8_t> bytes, bool* wasRmid = nullptr);

}  // namespace vorlo::midi
