#include "media/CdTime.h"

#include <algorithm>

namespace vorlo::media {
namespace {

constexpr std::int64_t kFramesPerSecond = 75;

std::int64_t byteAt(std::int64_t packed, int index) { return (packed >> (8 * index)) & 0xFF; }

}  // namespace

std::int64_t tmsfToMs(const MediaBackend& disc, std::int64_t tmsf) {
    const int track = std::clamp(static_cast<int>(byteAt(tmsf, 0)), 1, std::max(1, disc.trackCount()));
    const std::int64_t seconds = byteAt(tmsf, 1) * 60 + byteAt(tmsf, 2);
    return disc.trackPositionMs(track) + seconds * 1000 + byteAt(tmsf, 3) * 1000 / kFramesPerSecond;
}

std::int64_t msToTmsf(const MediaBackend& disc, std::int64_t ms) {
    int track = 1;
    for (int candidate = 2; candidate <= disc.trackCount(); ++candidate) {
        if (disc.trackPositionMs(candidate) <= ms) track = candidate;
    }
    const std::int64_t frames = std::max<std::int64_t>(0, ms - disc.trackPositionMs(track)) * kFramesPerSecond / 1000;
    const std::int64_t minutes = std::min<std::int64_t>(frames / (kFramesPerSecond * 60), 0xFF);
    return track | minutes << 8 | (frames / kFramesPerSecond % 60) << 16 | (frames % kFramesPerSecond) << 24;
}

std::int64_t msToMsf(std::int64_t ms) {
    const std::int64_t frames = std::max<std::int64_t>(0, ms) * kFramesPerSecond / 1000;
    const std::int64_t minutes = std::min<std::int64_t>(frames / (kFramesPerSecond * 60), 0xFF);
    return minutes | (frames / kFramesPerSecond % 60) << 8 | (frames % kFramesPerSecond) << 16;
}

}  // namespace vorlo::media
