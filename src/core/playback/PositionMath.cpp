#include "core/playback/PositionMath.h"

namespace vorlo {

namespace {

CounterReading reading(std::int64_t ms) {
    if (ms < 0) ms = 0;
    return {static_cast<int>(ms / 60000), static_cast<int>((ms / 1000) % 60)};
}

}  // namespace

CounterReading counterAt(CounterMode mode, const EntrySpan& span, std::int64_t positionMs) {
    return reading(mode == CounterMode::Remaining ? span.endMs() - positionMs : span.ownTime(positionMs));
}

CounterReading counterAtThumb(CounterMode mode, int maximumSeconds, int positionSeconds) {
    const int shown = mode == CounterMode::Remaining ? maximumSeconds - positionSeconds : positionSeconds;
    return reading(static_cast<std::int64_t>(shown) * 1000);
}

std::int64_t stepForward(const EntrySpan& span, std::int64_t positionMs, int skipSeconds) {
    const std::int64_t next = positionMs + static_cast<std::int64_t>(skipSeconds) * 1000;
    if (span.cdAudio) return next < span.endMs() - 1 ? next : span.endMs() - 300;
    return next < span.lengthMs ? next : span.lengthMs;
}

std::int64_t stepBack(const EntrySpan& span, std::int64_t positionMs, int skipSeconds) {
    const std::int64_t previous = positionMs - static_cast<std::int64_t>(skipSeconds) * 1000;
    if (span.cdAudio) return span.startMs < previous ? previous : span.startMs;
    return previous > 0 ? previous : 0;
}

}  // namespace vorlo
