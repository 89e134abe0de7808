#include "MediaFixtures.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "midi/smf_writer.h"

namespace vorlo::testing {

double testTone(int frame, int channel) {
  const double frequency = channel == 0 ? 440.0 : 660.0;
  return 0.5 * std::sin(2.0 * M_PI * frequency * frame / 44100.0);
}

bool writeWave(const QString& path, int subtype, int channels, int sampleRate, int frames, const WaveShape& shape) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subtype;
  SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  std::vector<double> samples(static_cast<std::size_t>(frames * channels));
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) samples[static_cast<std::size_t>(i * channels + c)] = shape(i, c);
  const sf_count_t written = sf_writef_double(file, samples.data(), frames);
  sf_close(file);
  return written == frames;
}

bool writeMidiSong(const QString& path, int lengthMs) {
  // 480 ticks per quarter at 500000 us per quarter: one tick is 1.0417 ms, 24 ticks are 25 ms.
  midi::SmfWriter writer(0, 480);
  midi::TrackWriter& track = writer.addTrack();
  track.tempo(0, 500000).programChange(0, 0, 0);
  const std::uint64_t endTick = static_cast<std::uint64_t>(lengthMs) * 480 / 500;
  for (std::uint64_t tick = 0; tick + 96 <= endTick; tick += 96) track.note(tick, 96, 0, 60 + static_cast<int>(tick / 96 % 12), 100);
  track.endAt(endTick);
  return writer.writeTo(QFile::encodeName(path).toStdString());
}

std::string testSoundFont() {
  const char* small = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  return QFile::exists(QString::fromLatin1(small)) ? std::string(small) : std::string();
}

media::MediaSettings offlineSettings() {
  media::MediaSettings settings;
  settings.soundFontPath = testSoundFont();
  settings.audioMode = media::AudioMode::Offline;
  return settings;
}

double RenderedAudio::peak() const {
  double most = 0.0;
  for (float sample : left) most = std::max(most, static_cast<double>(std::fabs(sample)));
  for (float sample : right) most = std::max(most, static_cast<double>(std::fabs(sample)));
  return most;
}

RenderedAudio renderFrames(media::MIDIPlayer& player, std::size_t frames, std::size_t blockFrames) {
  RenderedAudio audio;
  std::vector<float> left(blockFrames), right(blockFrames);
  for (std::size_t done = 0; done < frames; done += blockFrames) {
    const std::size_t now = std::min(blockFrames, frames - done);
    if (!player.renderOffline(left.data(), right.data(), now)) break;
    audio.left.insert(audio.left.end(), left.begin(), left.begin() + static_cast<std::ptrdiff_t>(now));
    audio.right.insert(audio.right.end(), right.begin(), right.begin() + static_cast<std::ptrdiff_t>(now));
  }
  return audio;
}

RenderedAudio renderToStop(media::MIDIPlayer& player) {
  RenderedAudio audio;
  // Ten minutes of audio at most: a device that never stops fails the test instead of hanging it.
  for (int block = 0; block < 10 * 60 * 44100 / 256 && player.mode() == media::Mode::Playing; ++block) {
    RenderedAudio part = renderFrames(player, 256);
    audio.left.insert(audio.left.end(), part.left.begin(), part.left.end());
    audio.right.insert(audio.right.end(), part.right.begin(), part.right.end());
  }
  return audio;
}

Reports::Reports(media::MIDIPlayer& player) {
  QObject::connect(&player, &media::MIDIPlayer::OnNotify, [this](media::NotifyValue value) { values.push_back(value); });
}

bool Reports::waitFor(std::size_t count, int limitMs) {
  QDeadlineTimer deadline(limitMs);
  while (values.size() < count && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return values.size() >= count;
}

void Reports::settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace vorlo::testing
