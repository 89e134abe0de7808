// Runs render and play in the sound module, loaded from the program folder only when they are asked for.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "SoundCommands.h"

namespace vorlo::tools {
namespace {

// The folder of the running program, whatever the current folder or the name it was started by.
std::string programFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return ".";
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int runSoundCommand(const std::string& command, const std::vector<std::string>& args) {
    const std::string folder = programFolder();
    std::string reasons;
    // Beside the program in a build, in ../lib/vorlo once installed.
    for (const std::string& place : {folder, folder + "/../lib/vorlo"}) {
        const std::string file = place + "/" + kSoundModuleFile;
        // Stays loaded to the end: the synthesizer's threads and Qt live until the process exits.
        void* module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* why = ::dlerror();
            reasons += std::string(reasons.empty() ? "" : "; ") + (why != nullptr ? why : file);
            continue;
        }
        auto run = reinterpret_cast<SoundCommandFunction>(::dlsym(module, kSoundCommandSymbol));
        if (run == nullptr) {
            reasons += std::string(reasons.empty() ? "" : "; ") + file + " is not the sound module";
            continue;
        }
        std::vector<const char*> argv;
        for (const std::string& arg : args) argv.push_back(arg.c_str());
        return run(folder.c_str(), command.c_str(), static_cast<int>(argv.size()), argv.data());
    }
    std::fprintf(stderr, "vorlo: %s needs the sound module, which cannot be loaded: %s\n", command.c_str(),
                 reasons.c_str());
    return kExitNoAudio;
}

}  // namespace vorlo::tools
