#pragma once
// The subcommands of `vorlo`. Each returns the process exit code. info and length run in the program itself;
// render and play run in the sound module (SoundCommands.h), which the program loads only for them.
#include <string>
#include <vector>

namespace vorlo::tools {

enum ExitCode : int {
    kExitOk = 0,
    kExitFileFailed = 1,  // at least one file could not be read, rendered or played
    kExitUsage = 2,
    kExitNoAudio = 3,  // no synthesizer could be set up (for example no soundfont), or the sound module is missing
    kExitInterrupted = 130,
};

int runInfo(const std::vector<std::string>& args);
int runLength(const std::vector<std::string>& args);
// Loads the sound module from the program folder and runs `command` (render or play) in it.
int runSoundCommand(const std::string& command, const std::vector<std::string>& args);

// "m:ss": minutes not zero-filled, seconds always two digits.
std::string minutesSeconds(long long ms);

}  // namespace vorlo::tools
