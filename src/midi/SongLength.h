#pragma once
// The length of a song straight from the file's bytes, without building its event lists:
// `vorlo length` and the playlist summary measure thousands of files with it.
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "midi/SmfReader.h"

namespace vorlo::midi {

struct SongLength {
    std::int64_t lengthMs = 0;
    int format = 0;
    int trackCount = 0;
};

std::variant<SongLength, ReadError> measureSong(std::span<const std::uint8_t> bytes);

}  // namespace vorlo::midi
