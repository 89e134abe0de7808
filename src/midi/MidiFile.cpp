#include "midi/MidiFile.h"

namespace vorlo::midi {

std::uint64_t Division::smpteTicksPerSecondNum() const {
    // Code 29 is 30 drop-frame: the frames really pass at 30000/1001 per second.
    if (framesPerSecond == 29) return std::uint64_t{30000} * static_cast<std::uint64_t>(ticksPerFrame);
    return static_cast<std::uint64_t>(framesPerSecond) * static_cast<std::uint64_t>(ticksPerFrame);
}

std::uint64_t Division::smpteTicksPerSecondDen() const { return framesPerSecond == 29 ? 1001 : 1; }

std::string MidiFile::textOf(const MidiEvent& event) const {
    const auto bytes = payloadOf(event);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace vorlo::midi
