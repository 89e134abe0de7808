#include "midi/SongLength.h"

#include <algorithm>
#include <vector>

#include "midi/RiffRmid.h"
#include "midi/SmfParser.h"
#include "midi/TempoMap.h"

namespace vorlo::midi {
namespace {

// Keeps only what the length needs: tempo changes and where each track ends.
class LengthCollector {
public:
    void header(int format, int, Division division) {
        format_ = format;
        division_ = division;
    }
    void beginTrack(std::size_t) { ++trackCount_; }
    void channel(std::uint64_t, std::uint8_t, std::uint8_t, std::uint8_t) {}
    void sysEx(std::uint64_t, std::uint8_t, const std::uint8_t*, std::size_t, bool) {}
    void closeSysEx() {}
    void meta(std::uint64_t tick, std::uint8_t type, const std::uint8_t* data, std::size_t size) {
        if (type != static_cast<std::uint8_t>(MetaType::Tempo) || size < 3) return;
        const std::uint32_t tempo = (std::uint32_t{data[0]} << 16) | (std::uint32_t{data[1]} << 8) | data[2];
        changes_.push_back({std::min(kMaxTick, trackStart_ + tick), tempo});
    }
    void endTrack(std::uint64_t endTick) {
        const std::uint64_t end = std::min(kMaxTick, trackStart_ + endTick);
        songEnd_ = std::max(songEnd_, end);
        if (format_ == 2) trackStart_ = end;  // format 2 plays its tracks one after another
    }
    void repair(const std::string&) {}

    SongLength result() {
        const TempoMap tempo(division_, std::move(changes_));
        return {tempo.ticksToMs(songEnd_), format_, trackCount_};
    }

private:
    int format_ = 0;
    int trackCount_ = 0;
    Division division_;
    std::vector<TempoChange> changes_;
    std::uint64_t trackStart_ = 0;
    std::uint64_t songEnd_ = 0;
};

}  // namespace

std::variant<SongLength, ReadError> measureSong(std::span<const std::uint8_t> bytes) {
    LengthCollector collector;
    if (auto error = detail::walkSmf(midiPayload(bytes), collector)) return ReadError{std::move(error->text)};
    return collector.result();
}

}  // namespace vorlo::midi
