#pragma once
// Reads bytes that the test wrote and expects to be readable: a read error fails the running test.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "midi/SmfReader.h"

namespace vorlo::midi {

inline MidiFile read(const std::vector<std::uint8_t>& bytes) {
    ReadResult result = readMidi(bytes);
    if (auto* error = std::get_if<ReadError>(&result)) ADD_FAILURE() << error->text;
    return std::get_if<MidiFile>(&result) ? std::get<MidiFile>(std::move(result)) : MidiFile{};
}

}  // namespace vorlo::midi
