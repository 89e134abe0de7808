#pragma once
// Wave audio: every encoding libsndfile reads (PCM 8 to 32 bit, float, u-law, A-law, ADPCM),
// played through an audio output.
#include <memory>
#include <string>

#include "media/MediaBackend.h"
#include "media/MediaSettings.h"

namespace vorlo::media {

// Throws EMCIDeviceError when the file cannot be read as sound.
std::unique_ptr<MediaBackend> openWaveAudio(const std::string& path, const MediaSettings& settings,
                                            PlayEndHandler onEnd);

}  // namespace vorlo::media
