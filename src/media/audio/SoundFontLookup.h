#pragma once
// Which soundfont the synthesizer loads: the one named in the settings, else $VORLO_SOUNDFONT,
// else the system's General MIDI soundfont.
#include <string>
#include <vector>

namespace vorlo::audio {

struct SoundFontChoice {
    std::string path;   // empty when none was found
    std::string error;  // why, for the user
};

// The usual places of a General MIDI soundfont on Linux, Debian's default first.
const std::vector<std::string>& systemSoundFontPaths();

SoundFontChoice findSoundFont(const std::string& configuredPath);

}  // namespace vorlo::audio
