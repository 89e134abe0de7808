#include "media/MediaSettings.h"

#include <cstdlib>

namespace vorlo::media {

bool sameSynth(const MediaSettings& a, const MediaSettings& b) {
    return a.soundFontPath == b.soundFontPath && a.synthGain == b.synthGain && a.reverb == b.reverb &&
           a.chorus == b.chorus && a.audioDriverOrder == b.audioDriverOrder && a.audioDevice == b.audioDevice &&
           a.midiPort == b.midiPort;
}

std::string resolvedCdDevice(const MediaSettings& settings) {
    if (!settings.cdDevice.empty()) return settings.cdDevice;
    const char* fromEnvironment = std::getenv("VORLO_CD_DEVICE");
    return fromEnvironment != nullptr ? std::string(fromEnvironment) : std::string();
}

}  // namespace vorlo::media
