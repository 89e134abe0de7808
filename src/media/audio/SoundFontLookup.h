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

// The synthesizer's gain that suits a soundfont: soundfonts are recorded at different levels, and the same song
// would play several dB louder on one than on another. Known soundfonts are recognised by their file name (links
// followed); others get a level that suits most General MIDI soundfonts.
double defaultGainFor(const std::string& soundFontPath);

}  // namespace vorlo::audio
