#include "core/playback/RandomGenerator.h"

namespace vorlo {

std::uint64_t RandomGenerator::seedFor(const QDateTime& localNow) {
    const qint64 localSeconds = localNow.toSecsSinceEpoch() + localNow.offsetFromUtc();
    return static_cast<std::uint64_t>(localSeconds) & 0xffffffffu;
}

}  // namespace vorlo
