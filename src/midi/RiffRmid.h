#pragma once
// RIFF "RMID" files (.rmi) wrap a Standard MIDI File in their "data" chunk.
#include <cstdint>
#include <optional>
#include <span>

namespace vorlo::midi {

bool isRiffRmid(std::span<const std::uint8_t> bytes);

// The bytes of the wrapped MIDI file, or nothing when the RIFF file holds no "data" chunk.
std::optional<std::span<const std::uint8_t>> unwrapRmid(std::span<const std::uint8_t> bytes);

}  // namespace vorlo::midi
