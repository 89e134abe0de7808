#pragma once
// Which instruments (soundfont presets) a song asks for, worked out from its bank selects and program changes the
// way the synthesizer resolves them: the percussion channel (10) takes its kits from bank 128 and ignores bank
// selects; the others take the bank of their last bank select (controller 0). So the samples a song needs can be
// loaded before it plays, instead of on the audio thread when its program changes come.
#include <compare>
#include <vector>

#include "midi/MidiFile.h"

namespace vorlo::audio {

inline constexpr int kPercussionBank = 128;

struct PresetRef {
    int bank = 0;
    int program = 0;
    auto operator<=>(const PresetRef&) const = default;
};

// The presets `file` selects, each once and sorted, always with the two every channel starts with (the piano of
// bank 0, the standard kit of bank 128). Events of all tracks count in the order of their ticks.
std::vector<PresetRef> presetsOfSong(const midi::MidiFile& file);

}  // namespace vorlo::audio
