#include "media/audio/SoundFontLookup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vorlo::audio {
namespace {

bool isReadableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

}  // namespace

const std::vector<std::string>& systemSoundFontPaths() {
    static const std::vector<std::string> paths{
        "/usr/share/sounds/sf2/default-GM.sf2",  // Debian's alternative, set by the installed GM soundfonts
        "/usr/share/sounds/sf3/default-GM.sf3",
        "/usr/share/soundfonts/default.sf2",  // Fedora, Arch
        "/usr/share/soundfonts/default.sf3",       "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/soundfonts/FluidR3_GM.sf2",    "/usr/share/sounds/sf3/MuseScore_General.sf3",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",      "/usr/share/soundfonts/freepats-general-midi.sf2",
        "/usr/local/share/soundfonts/default.sf2",
    };
    return paths;
}

SoundFontChoice findSoundFont(const std::string& configuredPath) {
    if (!configuredPath.empty()) {
        if (isReadableFile(configuredPath)) return {configuredPath, {}};
        return {{}, "The soundfont " + configuredPath + " cannot be read."};
    }
    if (const char* fromEnvironment = std::getenv("VORLO_SOUNDFONT");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        if (isReadableFile(fromEnvironment)) return {fromEnvironment, {}};
        return {{}, std::string("The soundfont ") + fromEnvironment + " (VORLO_SOUNDFONT) cannot be read."};
    }
    for (const std::string& path : systemSoundFontPaths())
        if (isReadableFile(path)) return {path, {}};
    return {{},
            "No soundfont found. Choose one in the settings, or install a General MIDI soundfont "
            "(for example the Debian package fluid-soundfont-gm)."};
}

double defaultGainFor(const std::string& soundFontPath) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(soundFontPath, error);
    std::string name = (error ? std::filesystem::path(soundFontPath) : real).filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    struct Level {
        const char* fileName;
        double gain;
    };
    // FluidR3 at 0.5 plays normal songs at about -23 LUFS with peaks near -10 dBFS, and only loud songs need the
    // limiter. TimGM6mb's samples are about 2.5 dB quieter (measured on the sample songs and packaged game music):
    // a gain of 0.65 plays the same songs as loud.
    static constexpr Level kLevels[] = {
        {"fluidr3_gm.sf2", 0.5},
        {"fluidr3_gm.sf3", 0.5},
        {"timgm6mb.sf2", 0.65},
    };
    for (const Level& level : kLevels)
        if (name == level.fileName) return level.gain;
    return 0.5;
}

}  // namespace vorlo::audio
