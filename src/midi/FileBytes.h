#pragma once
// Reads a whole file into memory with one buffer, as fast as the system allows.
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace vorlo::midi {

// Looks at the first bytes of a file (at most `FileLimits::headBytes`) and its size; returns an empty string to go
// on reading, else the reason the file is refused.
using HeadCheck = std::string (*)(std::span<const std::uint8_t> head, std::uint64_t fileSize);

struct FileLimits {
    std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max();  // larger files are refused unread
    std::size_t headBytes = 0;                                           // read first and given to `check`
    HeadCheck check = nullptr;
};

// Opens `path` for reading only when it is a regular file: the open never blocks (a FIFO or a device named like a
// song is refused, not waited on) and the descriptor itself is checked, so a file swapped after a look is caught.
// Returns the descriptor (blocking again, close-on-exec) and its size, or -1 with `error` set.
int openRegularFile(const std::string& path, std::uint64_t& size, std::string& error);

// Fills `out` (reusing its capacity) and returns an empty string, or returns the error text. With limits, the
// head is read and checked before anything else and a file over the cap is refused before any allocation.
std::string loadFileBytes(const std::string& path, std::vector<std::uint8_t>& out, const FileLimits& limits = {});

}  // namespace vorlo::midi
