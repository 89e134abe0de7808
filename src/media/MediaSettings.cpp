#include "media/MediaSettings.h"

#include <cstdlib>

namespace vorlo::media {

std::string resolvedCdDevice(const MediaSettings& settings) {
    if (!settings.cdDevice.empty()) return settings.cdDevice;
    const char* fromEnvironment = std::getenv("VORLO_CD_DEVICE");
    return fromEnvironment != nullptr ? std::string(fromEnvironment) : std::string();
}

}  // namespace vorlo::media
