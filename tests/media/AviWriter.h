#pragma once
// Writes small Motion-JPEG AVI files (RIFF AVI with an idx1 index), optionally with a PCM sound
// track, so the video device can be tested on clips the tests make themselves.
#include <QString>

namespace vorlo::testing {

struct AviClip {
    int width = 64;
    int height = 48;
    int framesPerSecond = 25;
    int frameCount = 15;
    int audioSampleRate = 0;  // 0: no sound track; else 16-bit mono PCM at this rate
};

bool writeMjpegAvi(const QString& path, const AviClip& clip);

}  // namespace vorlo::testing
