// Finds the modules beside the program, and runs render and play in the sound module, loaded from the program
// folder only when they are asked for.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "SoundCommands.h"

namespace vorlo::tools {

std::string programFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return ".";
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

void* moduleSymbol(const std::string& folder, const char* moduleFile, const char* symbol, std::string& reasons) {
    // Beside the program in a build, in ../lib/vorlo once installed.
    for (const std::string& place : {folder, folder + "/../lib/vorlo"}) {
        const std::string file = place + "/" + moduleFile;
        // Stays loaded to the end: the synthesizer's threads and Qt live until the process exits.
        void* module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            const char* why = ::dlerror();
            reasons += std::string(reasons.empty() ? "" : "; ") + (why != nullptr ? why : file);
            continue;
        }
        if (void* found = ::dlsym(module, symbol)) return found;
        reasons += std::string(reasons.empty() ? "" : "; ") + file + " is not the module it is named after";
    }
    return nullptr;
}

int runSoundCommand(const std::string& command, const std::vector<std::string>& args) {
    const std::string folder = programFolder();
    std::string reasons;
    auto run =
        reinterpret_cast<SoundCommandFunction>(moduleSymbol(folder, kSoundModuleFile, kSoundCommandSymbol, reasons));
    if (run == nullptr) {
        std::fprintf(stderr, "vorlo: %s needs the sound module, which cannot be loaded: %s\n", command.c_str(),
                     reasons.c_str());
        return kExitNoAudio;
    }
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    return run(folder.c_str(), command.c_str(), static_cast<int>(argv.size()), argv.data());
}

}  // namespace vorlo::tools
