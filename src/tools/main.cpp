// vorlo: the command-line companion of the player, built on the same MIDI code. It starts fast: the commands that
// need the synthesizer and Qt (render, play) are in a module loaded only for them.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Commands.h"
#include "Usage.h"

using namespace vorlo::tools;

namespace {

void printUsage(std::FILE* out) {
    std::fputs(kInfoUsage, out);
    for (const char* usage : {kLengthUsage, kLyricsUsage, kRenderUsage, kPlayUsage, kSummaryUsage, kPortsUsage})
        std::fprintf(out, "       %s", usage + 7);
    std::fputs(kArchivesHelp, out);
    std::fputs(kExitCodesHelp, out);
}

// `vorlo COMMAND --help`: the command's usage line, what it does and each of its options.
bool printCommandHelp(const std::string& command) {
    if (command == "info") {
        std::printf("%s%s", kInfoUsage, kInfoHelp);
    } else if (command == "length") {
        std::printf("%s%s%s", kLengthUsage, kLengthHelp, kArchivesHelp);
    } else if (command == "lyrics") {
        std::printf("%s%s", kLyricsUsage, kLyricsHelp);
    } else if (command == "render") {
        std::printf("%s%s%s%s", kRenderUsage, kRenderHelp, kSoundOptionsHelp, kRenderOptionsHelp);
    } else if (command == "ports") {
        std::printf("%s%s", kPortsUsage, kPortsHelp);
    } else if (command == "play") {
        std::printf("%s%s%s%s%s", kPlayUsage, kPlayHelp, kArchivesHelp, kSoundOptionsHelp, kPlayOptionsHelp);
    } else if (command == "summary") {
        std::printf("%s%s%s", kSummaryUsage, kSummaryHelp, kSummaryOptionsHelp);
    } else {
        return false;
    }
    std::fputs(kExitCodesHelp, stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return kExitUsage;
    }
    const std::string command = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    // Help comes before anything else, and without the sound module: `vorlo render --help` always answers.
    if (args.size() == 1 && (args.front() == "--help" || args.front() == "-h") && printCommandHelp(command))
        return kExitOk;
    // "--" ends the options, so that file names may begin with "-".
    if (!args.empty() && args.front() == "--" && (command == "info" || command == "length")) args.erase(args.begin());
    if (command == "info") return runInfo(args);
    if (command == "length") return runLength(args);
    if (command == "lyrics") return runLyrics(args);
    if (command == "render" || command == "play" || command == "summary" || command == "ports")
        return runSoundCommand(command, args);
    if (command == "--help" || command == "-h" || command == "help") {
        if (!args.empty() && printCommandHelp(args.front())) return kExitOk;
        printUsage(stdout);
        return kExitOk;
    }
    std::fprintf(stderr, "vorlo: unknown command '%s'\n", command.c_str());
    printUsage(stderr);
    return kExitUsage;
}
