#pragma once
// Conversions between milliseconds on a disc and the packed CD time formats: TMSF positions
// (track in the lowest byte, then minute, second, frame) and MSF lengths (minute lowest).
// A CD frame is 1/75 second.
#include <cstdint>

#include "media/MediaBackend.h"

namespace vorlo::media {

std::int64_t tmsfToMs(const MediaBackend& disc, std::int64_t tmsf);
std::int64_t msToTmsf(const MediaBackend& disc, std::int64_t ms);
std::int64_t msToMsf(std::int64_t ms);

}  // namespace vorlo::media
