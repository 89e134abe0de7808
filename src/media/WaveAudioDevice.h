#pragma once
// Wave audio: every encoding libsndfile reads (PCM 8 to 32 bit, float, u-law, A-law, ADPCM),
// played through an audio output.
#include <cstdint>
#include <memory>
#include <string>

#include "media/MediaBackend.h"
#include "media/MediaSettings.h"

namespace vorlo::media {

// Throws EMCIDeviceError when the file cannot be read as sound.
std::unique_ptr<MediaBackend> openWaveAudio(const std::string& path, const MediaSettings& settings,
                                            PlayEndHandler onEnd);

// The length in milliseconds that the device opened on `path` reports, read from the file's header alone
// (no audio output is opened). Throws EMCIDeviceError when the device could not open the file. Any thread.
std::int64_t waveLengthMs(const std::string& path);

}  // namespace vorlo::media
