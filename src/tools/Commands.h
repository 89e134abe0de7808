#pragma once
// The subcommands of `vorlo`. Each returns the process exit code. info and length run in the program itself;
// render, play and summary run in the sound module (SoundCommands.h), which the program loads only for them.
#include <functional>
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
int runLyrics(const std::vector<std::string>& args);
// Loads the sound module from the program folder and runs `command` (render, play or summary) in it.
int runSoundCommand(const std::string& command, const std::vector<std::string>& args);

// The folder of the running program, whatever the current folder or the name it was started by.
std::string programFolder();
// The address of `symbol` in the module `moduleFile` beside the program in `folder` (or in ../lib/vorlo once
// installed), loaded for the rest of the run; null, with why added to `reasons`, when there is none.
void* moduleSymbol(const std::string& folder, const char* moduleFile, const char* symbol, std::string& reasons);

// Calls `visit(label, file, error)` for each file named on the command line, in order: a file as itself, a zip
// archive as its playable members, each extracted just before the call and removed after it (`file` empty and
// `error` set for a member or archive that cannot be read). Returns false when an archive was among `paths` and
// the archive module cannot be loaded; that has been told on stderr.
bool forEachFileOrMember(
    const std::vector<std::string>& paths,
    const std::function<void(const std::string& label, const std::string& file, const std::string& error)>& visit);

// "m:ss": minutes not zero-filled, seconds always two digits.
std::string minutesSeconds(long long ms);

}  // namespace vorlo::tools
