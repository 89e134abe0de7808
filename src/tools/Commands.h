#pragma once
// The subcommands of `vorlo`. Each returns the process exit code.
#include <string>
#include <vector>

namespace vorlo::tools {

enum ExitCode : int {
    kExitOk = 0,
    kExitFileFailed = 1,  // at least one file could not be read, rendered or played
    kExitUsage = 2,
    kExitNoAudio = 3,  // no synthesizer could be set up (for example no soundfont)
    kExitInterrupted = 130,
};

int runInfo(const std::vector<std::string>& args);
int runLength(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runPlay(const std::vector<std::string>& args);

// The items of a comma-separated list, empty ones left out.
std::vector<std::string> splitList(const std::string& text);

// "m:ss": minutes not zero-filled, seconds always two digits.
std::string minutesSeconds(long long ms);

}  // namespace vorlo::tools
