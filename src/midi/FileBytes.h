#pragma once
// Reads a whole file into memory with one buffer, as fast as the system allows.
#include <cstdint>
#include <string>
#include <vector>

namespace vorlo::midi {

// Fills `out` (reusing its capacity) and returns an empty string, or returns the error text.
std::string loadFileBytes(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace vorlo::midi
