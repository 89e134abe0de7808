#pragma once
// Media made by the tests in a temporary folder, and a recorder of the media device's reports.
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include "platform/media/MIDIPlayer.h"

namespace vorlo::testing {

// A sample of channel `channel` at frame `frame`, in -1..1.
using WaveShape = std::function<double(int frame, int channel)>;

// Writes a wave file with libsndfile; `format` is an SF_FORMAT_* subtype (SF_FORMAT_PCM_16, ...).
bool writeWave(const QString& path, int subtype, int channels, int sampleRate, int frames, const WaveShape& shape);
// A 440 Hz tone at half volume on the left, 660 Hz on the right.
double testTone(int frame, int channel);

// A one-track MIDI song at 120 beats per minute with piano notes throughout; ends at `lengthMs`.
bool writeMidiSong(const QString& path, int lengthMs);

// The soundfont the tests load: the small General MIDI one when installed.
std::string testSoundFont();
media::MediaSettings offlineSettings();

struct RenderedAudio {
  std::vector<float> left;
  std::vector<float> right;
  double peak() const;
};

// Renders offline in blocks of `blockFrames` until `frames` frames are done.
RenderedAudio renderFrames(media::MIDIPlayer& player, std::size_t frames, std::size_t blockFrames = 256);
// Renders offline until the device stops playing (with a limit that keeps a fault from hanging).
RenderedAudio renderToStop(media::MIDIPlayer& player);

class Reports {
 public:
  explicit Reports(media::MIDIPlayer& player);
  // Lets queued reports arrive until there are `count` of them; false when they never came.
  bool waitFor(std::size_t count, int limitMs = 15000);
  // Lets every queued report arrive.
  void settle();
  std::vector<media::NotifyValue> values;
};

}  // namespace vorlo::testing
