#pragma once
// Writes small Motion-JPEG AVI files (RIFF AVI with an idx1 index), optionally with a PCM sound
// track, so the video device can be tested on files the tests make themselves.
#include <QString>

namespace vorlo::testing {

struct AviClip {
  int width = 64;
  int height = 48;
  int framesPerSecond = 10;
  int frameCount = 6;
  // 0: no sound track; otherwise 16-bit mono PCM at this rate, a quiet tone.
  int audioSampleRate = 0;
};

bool writeMjpegAvi(const QString& path, const AviClip& clip);

}  // namespace vorlo::testing
