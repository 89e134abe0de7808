#pragma once
// Media made by the tests in a temporary folder, ways to run the media device through them, and a
// recorder of its reports.
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <vector>

#include "media/MIDIPlayer.h"

namespace vorlo::testing {

// A sample of channel `channel` at frame `frame`, in -1..1.
using WaveShape = std::function<double(int frame, int channel)>;
// A 440 Hz tone at half volume on the left, 660 Hz on the right.
double testTone(int frame, int channel);
// A wave file written by libsndfile; `subtype` is an SF_FORMAT_* encoding (SF_FORMAT_PCM_16, ...).
bool writeWave(const QString& path, int subtype, int channels, int sampleRate, int frames, const WaveShape& shape);
// A one-track MIDI song at 120 beats per minute with piano notes throughout; ends at `lengthMs`.
bool writeMidiSong(const QString& path, int lengthMs);
// A two-track CD image of 600 ms: track 1 is 240 ms of 441 Hz, track 2 360 ms of 882 Hz or, on
// a mixed disc, data.
QString writeDiscImage(const QTemporaryDir& dir, bool mixed = false);

// Every kind of medium, 600 ms long; the video has a sound track.
enum class Kind { Midi, Wave, Video, Disc };
// Opens a medium of `kind`, made in `dir`, on `player`, in milliseconds.
void openMedium(media::MIDIPlayer& player, const QTemporaryDir& dir, Kind kind);
inline constexpr int kMediumMs = 600;

// Settings for the tests: the small General MIDI soundfont, offline audio.
media::MediaSettings offlineSettings(const QString& cdImage = {});

struct RenderedAudio {
    std::vector<float> left;
    std::vector<float> right;
    double peak() const;
};

// Moves the device on by `ms`: rendered offline where it can be, else in real time (video).
RenderedAudio runFor(media::MIDIPlayer& player, int ms);
// Moves the device on until it stops playing (with a limit that keeps a fault from hanging).
RenderedAudio runToStop(media::MIDIPlayer& player);

class Reports {
public:
    explicit Reports(media::MIDIPlayer& player);
    // Lets queued reports arrive until there are `count` of them; false when they never came.
    bool waitFor(std::size_t count);
    // Lets every queued report arrive.
    void settle();
    std::vector<media::NotifyValue> values;
};

}  // namespace vorlo::testing
