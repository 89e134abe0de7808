// vorlo: the command-line companion of the player, built on the same MIDI code. It starts fast: the commands that
// need the synthesizer and Qt (render, play) are in a module loaded only for them.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

const char* const kUsage =
    "usage: vorlo info FILE...\n"
    "       vorlo length FILE...\n"
    "       vorlo render [--soundfont SF2] [--rate HZ] [--gain G] [--no-reverb] [--no-chorus] FILE OUT.wav\n"
    "       vorlo play [--soundfont SF2] [--drivers LIST] [--cd DEVICE|CUE] [--from MS] [--to MS] FILE...\n"
    "       vorlo summary [--cd DEVICE|CUE] LIST.mpl\n"
    "length and play take a FILE ending in .zip as its playable members, in archive order\n"
    "exit codes: 0 done, 1 a file failed, 2 usage, 3 no synthesizer, 130 interrupted\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vorlo::tools;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    // "--" ends the options, so that file names may begin with "-".
    if (!args.empty() && args.front() == "--" && (command == "info" || command == "length")) args.erase(args.begin());
    if (command == "info") return runInfo(args);
    if (command == "length") return runLength(args);
    if (command == "render" || command == "play" || command == "summary") return runSoundCommand(command, args);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    std::fprintf(stderr, "vorlo: unknown command '%s'\n%s", command.c_str(), kUsage);
    return kExitUsage;
}
