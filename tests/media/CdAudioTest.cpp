// Audio CDs, played from a two-track CUE/BIN image that the test writes: tracks and their
// positions on the disc, the time formats, playing one track as the player does, and the errors.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "MediaFixtures.h"
#include "platform/media/EMCIDeviceError.h"
#include "platform/media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

using media::DeviceType;
using media::Mode;
using media::MIDIPlayer;
using media::NotifyValue;
using media::TimeFormat;

constexpr int kSectorFrames = 588;
// Track 1: 30 sectors (400 ms) of 441 Hz; track 2: 45 sectors (600 ms) of 882 Hz.
constexpr int kTrackSectors[] = {30, 45};
constexpr double kTrackHz[] = {441.0, 882.0};

QString writeDiscImage(const QTemporaryDir& dir) {
  QByteArray bin;
  for (int track = 0; track < 2; ++track) {
    for (int frame = 0; frame < kTrackSectors[track] * kSectorFrames; ++frame) {
      const auto sample = static_cast<std::int16_t>(12000 * std::sin(2.0 * M_PI * kTrackHz[track] * frame / 44100.0));
      for (int channel = 0; channel < 2; ++channel) {
        bin.append(static_cast<char>(sample & 0xFF));
        bin.append(static_cast<char>((sample >> 8) & 0xFF));
      }
    }
  }
  QFile binFile(dir.filePath("disc.bin"));
  if (!binFile.open(QIODevice::WriteOnly) || binFile.write(bin) != bin.size()) return {};
  QFile cue(dir.filePath("disc.cue"));
  if (!cue.open(QIODevice::WriteOnly)) return {};
  cue.write("FILE \"disc.bin\" BINARY\r\n"
            "  TRACK 01 AUDIO\r\n"
            "    INDEX 01 00:00:00\r\n"
            "  TRACK 02 AUDIO\r\n"
            "    INDEX 01 00:00:30\r\n");
  return cue.fileName();
}

// Zero crossings per second: the frequency of a pure tone, twice over.
double crossingsPerSecond(const std::vector<float>& samples) {
  int crossings = 0;
  for (std::size_t i = 1; i < samples.size(); ++i)
    if ((samples[i - 1] < 0.0f) != (samples[i] < 0.0f)) ++crossings;
  return crossings * 44100.0 / static_cast<double>(samples.size());
}

class Disc : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    settings.cdDevice = writeDiscImage(dir).toStdString();
    ASSERT_FALSE(settings.cdDevice.empty());
  }
  void openDisc(MIDIPlayer& player) {
    player.setDeviceType(DeviceType::CDAudio);
    player.setFileName(QString());
    player.open();
  }

  QTemporaryDir dir;
  media::MediaSettings settings = offlineSettings();
};

TEST_F(Disc, TracksArePlacedOnTheWholeDiscInBothTimeFormats) {
  MIDIPlayer player(settings);
  openDisc(player);
  EXPECT_EQ(player.trackCount(), 2);
  // A CD device starts in track, minute, second, frame format.
  EXPECT_EQ(player.timeFormat(), TimeFormat::TMSF);
  EXPECT_EQ(player.trackPosition(2), 2);        // track 2 at 0:00:00
  EXPECT_EQ(player.trackLength(2), 45 << 16);   // 0:00 and 45 frames
  EXPECT_EQ(player.length(), 1 << 8);           // one second
  player.seek(2 | 15 << 24);                    // track 2, frame 15
  EXPECT_EQ(player.position(), 2 | 15 << 24);

  player.setTimeFormat(TimeFormat::Milliseconds);
  EXPECT_EQ(player.position(), 600);
  EXPECT_EQ(player.trackPosition(1), 0);
  EXPECT_EQ(player.trackPosition(2), 400);
  EXPECT_EQ(player.trackLength(1), 400);
  EXPECT_EQ(player.trackLength(2), 600);
  EXPECT_EQ(player.length(), 1000);
  EXPECT_EQ(player.trackLength(3), 0);
  EXPECT_EQ(player.lastError(), media::DeviceErrorCode::OutOfRange);
}

TEST_F(Disc, PlaysOneTrackFromItsPositionToItsEnd) {
  MIDIPlayer player(settings);
  Reports reports(player);
  openDisc(player);
  player.setTimeFormat(TimeFormat::Milliseconds);
  const std::int64_t start = player.trackPosition(2);
  player.seek(start);
  player.setStartPos(start);
  player.setEndPos(start + player.trackLength(2) - 1);
  player.play();
  const RenderedAudio audio = renderToStop(player);
  ASSERT_TRUE(reports.waitFor(1));
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
  EXPECT_EQ(player.position(), 999);
  ASSERT_GE(audio.left.size(), 599u * 44);
  EXPECT_NEAR(crossingsPerSecond(audio.left), 2 * kTrackHz[1], 20.0);
  EXPECT_EQ(audio.left, audio.right);

  // Stopped in track 1: the first track's tone, and an aborted report.
  player.setStartPos(0);
  player.play();
  const RenderedAudio first = renderFrames(player, 200 * 44);
  player.stop();
  EXPECT_NEAR(crossingsPerSecond(first.left), 2 * kTrackHz[0], 20.0);
  ASSERT_TRUE(reports.waitFor(2));
  EXPECT_EQ(reports.values.back(), NotifyValue::Aborted);
}

TEST_F(Disc, AnImageHasNoDoor) {
  MIDIPlayer player(settings);
  openDisc(player);
  EXPECT_FALSE(player.canEject());
  EXPECT_NO_THROW(player.eject());
  EXPECT_EQ(player.lastError(), media::DeviceErrorCode::CannotEject);
  EXPECT_EQ(player.mode(), Mode::Stopped);
}

TEST_F(Disc, PlaysInRealTimeOnTheSilentClock) {
  settings.audioMode = media::AudioMode::SilentClock;
  MIDIPlayer player(settings);
  Reports reports(player);
  openDisc(player);
  player.setTimeFormat(TimeFormat::Milliseconds);
  player.setStartPos(player.trackPosition(2) + 300);
  player.play();
  ASSERT_TRUE(reports.waitFor(1));
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
  EXPECT_EQ(player.position(), 1000);
}

TEST_F(Disc, MissingDrivesAndBrokenImagesFailToOpen) {
  const auto openError = [&](const std::string& device) -> std::string {
    settings.cdDevice = device;
    MIDIPlayer player(settings);
    try {
      openDisc(player);
    } catch (const media::EMCIDeviceError& error) {
      EXPECT_EQ(player.mode(), Mode::NotReady);
      return error.what();
    }
    return "(opened)";
  };
  EXPECT_NE(openError(dir.filePath("no-such-drive").toStdString()).find("No CD drive"), std::string::npos);
  EXPECT_NE(openError(dir.filePath("missing.cue").toStdString()).find("missing.cue"), std::string::npos);
  QFile garbage(dir.filePath("garbage.cue"));
  ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
  garbage.write("TRACK banana\nINDEX 99 zz:zz:zz\n");
  garbage.close();
  EXPECT_NE(openError(garbage.fileName().toStdString()).find("garbage.cue"), std::string::npos);
}

}  // namespace
}  // namespace vorlo::testing
