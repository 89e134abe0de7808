// Wave files of every encoding come out of the wave device as the samples they hold.
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "MediaFixtures.h"
#include "platform/media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

double rmsError(const std::vector<float>& heard, int channel, int firstFrame, const WaveShape& shape) {
  double sum = 0.0;
  for (std::size_t i = 0; i < heard.size(); ++i) {
    const double difference = heard[i] - shape(firstFrame + static_cast<int>(i), channel);
    sum += difference * difference;
  }
  return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(1, heard.size())));
}

struct Encoding {
  const char* name;
  int subtype;
  double tolerance;  // root-mean-square error against the written tone
};

TEST(WaveAudio, EveryEncodingPlaysTheSamplesItHolds) {
  const Encoding encodings[] = {
      {"PCM 8 bit", SF_FORMAT_PCM_U8, 0.01},   {"PCM 16 bit", SF_FORMAT_PCM_16, 0.001},
      {"PCM 24 bit", SF_FORMAT_PCM_24, 0.001}, {"PCM 32 bit", SF_FORMAT_PCM_32, 0.001},
      {"float", SF_FORMAT_FLOAT, 0.0001},      {"u-law", SF_FORMAT_ULAW, 0.02},
      {"A-law", SF_FORMAT_ALAW, 0.02},         {"IMA ADPCM", SF_FORMAT_IMA_ADPCM, 0.05},
      {"MS ADPCM", SF_FORMAT_MS_ADPCM, 0.05},
  };
  for (const Encoding& encoding : encodings) {
    SCOPED_TRACE(encoding.name);
    QTemporaryDir dir;
    const QString path = dir.filePath("tone.wav");
    const int frames = 44100 / 4;
    ASSERT_TRUE(writeWave(path, encoding.subtype, 2, 44100, frames, testTone));
    media::MIDIPlayer player(offlineSettings());
    player.setFileName(path);
    player.open();
    // ADPCM fills its last block, so the file holds a little more than was written.
    const bool adpcm = encoding.subtype == SF_FORMAT_IMA_ADPCM || encoding.subtype == SF_FORMAT_MS_ADPCM;
    EXPECT_GE(player.length(), 250);
    EXPECT_LE(player.length(), adpcm ? 300 : 250);
    player.play();
    RenderedAudio audio = renderToStop(player);
    // ADPCM blocks may hold a few frames more than were written.
    ASSERT_GE(audio.left.size(), static_cast<std::size_t>(frames));
    audio.left.resize(static_cast<std::size_t>(frames));
    audio.right.resize(static_cast<std::size_t>(frames));
    EXPECT_LT(rmsError(audio.left, 0, 0, testTone), encoding.tolerance);
    EXPECT_LT(rmsError(audio.right, 1, 0, testTone), encoding.tolerance);
  }
}

TEST(WaveAudio, MonoIsHeardOnBothSidesFromTheStartPosition) {
  QTemporaryDir dir;
  const QString path = dir.filePath("mono.wav");
  ASSERT_TRUE(writeWave(path, SF_FORMAT_PCM_16, 1, 22050, 22050 / 2, testTone));
  media::MIDIPlayer player(offlineSettings());
  player.setFileName(path);
  player.open();
  EXPECT_EQ(player.length(), 500);
  player.setStartPos(100);
  player.play();
  const RenderedAudio audio = renderFrames(player, 1000);
  // 100 ms at 22050 Hz is frame 2205.
  EXPECT_LT(rmsError(audio.left, 0, 2205, testTone), 0.001);
  EXPECT_EQ(audio.left, audio.right);
}

}  // namespace
}  // namespace vorlo::testing
