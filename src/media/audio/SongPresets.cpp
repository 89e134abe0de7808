#include "media/audio/SongPresets.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

namespace vorlo::audio {
namespace {

constexpr int kPercussionChannel = 9;

struct PresetEvent {
    std::uint64_t tick;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
};

}  // namespace

std::vector<PresetRef> presetsOfSong(const midi::MidiFile& file) {
    // Only bank selects and program changes matter; they are few, so sorting them is cheap even for a long song.
    std::vector<PresetEvent> events;
    for (const midi::MidiTrack& track : file.tracks)
        for (const midi::MidiEvent& event : track.events) {
            const bool bankSelect = event.kind() == 0xB0 && event.data1 == 0;
            if (bankSelect || event.kind() == 0xC0)
                events.push_back({event.tick, event.status, event.data1, event.data2});
        }
    std::stable_sort(events.begin(), events.end(),
                     [](const PresetEvent& a, const PresetEvent& b) { return a.tick < b.tick; });

    std::set<PresetRef> presets{{0, 0}, {kPercussionBank, 0}};
    std::array<int, 16> bank{};
    for (const PresetEvent& event : events) {
        const int channel = event.status & 0x0F;
        if ((event.status & 0xF0) == 0xB0) {
            bank[static_cast<std::size_t>(channel)] = event.data2 & 0x7F;
        } else if (channel == kPercussionChannel) {
            presets.insert({kPercussionBank, event.data1 & 0x7F});
        } else {
            presets.insert({bank[static_cast<std::size_t>(channel)], event.data1 & 0x7F});
        }
    }
    return {presets.begin(), presets.end()};
}

}  // namespace vorlo::audio
