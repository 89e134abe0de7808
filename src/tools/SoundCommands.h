#pragma once
// The commands of the sound module (vorlo-sound.so): everything that needs the synthesizer, the sound servers'
// libraries or Qt. The `vorlo` program loads the module only when one of them is asked for, so info and length
// start without any of those.
#include <optional>
#include <string>
#include <vector>

namespace vorlo::tools {

inline constexpr const char* kSoundModuleFile = "vorlo-sound.so";
// The module's entry: runs `command` ("render" or "play") with `argc` arguments after it and returns the exit
// code. `programFolder` is where the program and the other modules are.
using SoundCommandFunction = int (*)(const char* programFolder, const char* command, int argc, const char* const* argv);
inline constexpr const char* kSoundCommandSymbol = "vorlo_sound_command";

int runRender(const std::vector<std::string>& args);
int runPlay(const std::vector<std::string>& args, const std::string& programFolder);
// Lists the ALSA sequencer's output ports; without a sequencer says why and fails with kExitNoAudio.
int runPorts(const std::vector<std::string>& args);
int runSummary(const std::vector<std::string>& args, const std::string& programFolder);

// A gain from the command line: a number from 0 to 10, else nothing.
std::optional<double> parseGain(const std::string& text);
inline constexpr const char* kBadGain = "the gain must be a number from 0 to 10";

// The items of a comma-separated list, empty ones left out.
std::vector<std::string> splitList(const std::string& text);

}  // namespace vorlo::tools
