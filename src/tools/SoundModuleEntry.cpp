// The entry point of the sound module. No exception leaves it: a failure is told on stderr and in the exit code.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Commands.h"
#include "SoundCommands.h"

extern "C" __attribute__((visibility("default"))) int vorlo_sound_command(const char* programFolder,
                                                                          const char* command, int argc,
                                                                          const char* const* argv) {
    using namespace vorlo::tools;
    const std::vector<std::string> args(argv, argv + argc);
    try {
        const std::string name = command;
        if (name == "render") return runRender(args);
        if (name == "play") return runPlay(args, programFolder);
        if (name == "ports") return runPorts(args);
        if (name == "summary") return runSummary(args, programFolder);
        std::fprintf(stderr, "vorlo: the sound module has no command '%s'\n", command);
        return kExitUsage;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorlo: %s\n", error.what());
    }
    return kExitFileFailed;
}
