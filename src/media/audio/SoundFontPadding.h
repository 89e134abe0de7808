#pragma once
// Whether a soundfont's samples can be read one by one, as songs need them. The SoundFont 2 format asks for 46
// points of silence after every sample, and the synthesizer's on-demand loading relies on them: it reads each
// sample alone, and its interpolation then runs on into those points. Where a soundfont leaves them out (the small
// General MIDI soundfont TimGM6mb does), a sample read alone ends in a click of stray data, so such a soundfont is
// loaded whole instead.
#include <string>

namespace vorlo::audio {

// True for a SoundFont 2 file (version 2, 16-bit samples in its "smpl" chunk) whose every sample is followed by at
// least 46 points before the next one begins. False for anything else, a file that cannot be read included.
// Reads only the file's chunk headers and sample headers.
bool samplesArePadded(const std::string& path);

}  // namespace vorlo::audio
