// The media device's commands, positions and reports, on a MIDI song and a wave file rendered
// offline, and in real time on the silent clock that stands in for a missing sound card.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "MediaFixtures.h"
#include "platform/media/EMCIDeviceError.h"
#include "platform/media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

using media::DeviceType;
using media::Mode;
using media::MIDIPlayer;
using media::NotifyValue;

constexpr int kLengthMs = 600;
constexpr std::size_t kFramesPerMs = 44100 / 1000;
// The sequencer ends a play within one render block; the wave device at the exact frame.
constexpr std::size_t kBlock = 256;

enum class Kind { Midi, Wave };

QString writeMedium(const QTemporaryDir& dir, Kind kind) {
  if (kind == Kind::Midi) {
    const QString path = dir.filePath("song.mid");
    return writeMidiSong(path, kLengthMs) ? path : QString();
  }
  const QString path = dir.filePath("sound.wav");
  return writeWave(path, SF_FORMAT_PCM_16, 2, 44100, kLengthMs * 44100 / 1000, testTone) ? path : QString();
}

class PlayedMedium : public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    const QString path = writeMedium(dir, GetParam());
    ASSERT_FALSE(path.isEmpty());
    player.setFileName(path);
    player.open();
  }

  QTemporaryDir dir;
  MIDIPlayer player{offlineSettings()};
  Reports reports{player};
};

TEST_P(PlayedMedium, PlaysToTheEndAndReportsSuccess) {
  EXPECT_EQ(player.length(), kLengthMs);
  EXPECT_EQ(player.trackCount(), 1);
  EXPECT_EQ(player.mode(), Mode::Stopped);
  player.play();
  EXPECT_EQ(player.mode(), Mode::Playing);
  const RenderedAudio audio = renderToStop(player);
  ASSERT_TRUE(reports.waitFor(1));
  reports.settle();
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
  EXPECT_EQ(player.mode(), Mode::Stopped);
  EXPECT_EQ(player.position(), kLengthMs);
  EXPECT_GT(audio.peak(), 0.01);
  EXPECT_GE(audio.left.size(), kLengthMs * kFramesPerMs);
  EXPECT_LE(audio.left.size(), kLengthMs * kFramesPerMs + kBlock);
}

TEST_P(PlayedMedium, StopDuringPlayReportsAbortedOnly) {
  player.play();
  renderFrames(player, 200 * kFramesPerMs);
  player.stop();
  EXPECT_EQ(player.mode(), Mode::Stopped);
  const std::int64_t stoppedAt = player.position();
  EXPECT_NEAR(static_cast<double>(stoppedAt), 200.0, 10.0);
  // The device stays where it stopped and reports nothing more however long it runs.
  renderFrames(player, 800 * kFramesPerMs);
  reports.settle();
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Aborted});
  EXPECT_EQ(player.position(), stoppedAt);
}

TEST_P(PlayedMedium, ANewPlaySupersedesTheRunningOne) {
  player.play();
  renderFrames(player, 100 * kFramesPerMs);
  player.setStartPos(0);
  player.play();
  renderToStop(player);
  ASSERT_TRUE(reports.waitFor(2));
  reports.settle();
  EXPECT_EQ(reports.values, (std::vector{NotifyValue::Superseded, NotifyValue::Successful}));
}

TEST_P(PlayedMedium, StartAndEndPositionsApplyToOnePlayOnly) {
  player.setStartPos(200);
  player.setEndPos(400);
  player.play();
  EXPECT_NEAR(static_cast<double>(player.position()), 200.0, 1.0);
  const RenderedAudio part = renderToStop(player);
  ASSERT_TRUE(reports.waitFor(1));
  EXPECT_EQ(reports.values.back(), NotifyValue::Successful);
  EXPECT_EQ(player.position(), 400);
  EXPECT_GE(part.left.size(), 200 * kFramesPerMs);
  EXPECT_LE(part.left.size(), 200 * kFramesPerMs + kBlock);

  // Forgotten: the next play goes on from where the last one ended, to the end.
  player.play();
  renderToStop(player);
  ASSERT_TRUE(reports.waitFor(2));
  EXPECT_EQ(player.position(), kLengthMs);
}

TEST_P(PlayedMedium, SeekAbortsThePlayAndMovesTheStoppedDevice) {
  player.play();
  renderFrames(player, 100 * kFramesPerMs);
  player.seek(300);
  EXPECT_EQ(player.mode(), Mode::Stopped);
  EXPECT_EQ(player.position(), 300);
  player.play();
  const RenderedAudio rest = renderToStop(player);
  EXPECT_GE(rest.left.size(), 300 * kFramesPerMs);
  EXPECT_LE(rest.left.size(), 300 * kFramesPerMs + kBlock);
  ASSERT_TRUE(reports.waitFor(2));
  EXPECT_EQ(reports.values, (std::vector{NotifyValue::Aborted, NotifyValue::Successful}));
  player.rewind();
  EXPECT_EQ(player.position(), 0);
  // Positions beyond the medium go to its end.
  player.seek(kLengthMs * 10);
  EXPECT_EQ(player.position(), kLengthMs);
}

TEST_P(PlayedMedium, WaitBlocksUntilTheEndAndNotifyOffSilencesTheReport) {
  player.setWait(true);
  player.setNotify(false);
  player.play();
  EXPECT_EQ(player.mode(), Mode::Stopped);
  EXPECT_EQ(player.position(), kLengthMs);
  reports.settle();
  EXPECT_TRUE(reports.values.empty());

  // Waiting with a report: the report still comes, queued.
  player.setStartPos(0);
  player.setWait(true);
  player.play();
  EXPECT_EQ(player.position(), kLengthMs);
  ASSERT_TRUE(reports.waitFor(1));
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
}

TEST_P(PlayedMedium, ACommandBeforeTheEndReportIsHandledLeavesOneReport) {
  player.play();
  renderToStop(player);  // the end report is queued, not yet handled
  player.close();
  reports.settle();
  ASSERT_EQ(reports.values.size(), 1u);
  EXPECT_EQ(reports.values.front(), NotifyValue::Aborted);
  EXPECT_EQ(player.mode(), Mode::NotReady);
}

TEST_P(PlayedMedium, OtherCommandsReportOnlyWhenAsked) {
  player.seek(100);
  player.setNotify(true);
  player.stop();
  reports.settle();
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
}

INSTANTIATE_TEST_SUITE_P(MidiAndWave, PlayedMedium, ::testing::Values(Kind::Midi, Kind::Wave),
                         [](const auto& param) { return param.param == Kind::Midi ? "Midi" : "Wave"; });

void expectNoDeviceOpen(const std::function<void()>& command) {
  try {
    command();
    ADD_FAILURE() << "no exception";
  } catch (const media::EMCIDeviceError& error) {
    EXPECT_STREQ(error.what(), "No MCI device open");
  }
}

TEST(ClosedDevice, CommandsThrowNoDeviceOpenWhileModeAndPositionsDoNot) {
  QTemporaryDir dir;
  MIDIPlayer player(offlineSettings());
  Reports reports(player);
  for (int round = 0; round < 2; ++round) {
    expectNoDeviceOpen([&] { player.play(); });
    expectNoDeviceOpen([&] { player.stop(); });
    expectNoDeviceOpen([&] { player.seek(0); });
    expectNoDeviceOpen([&] { player.rewind(); });
    expectNoDeviceOpen([&] { player.eject(); });
    expectNoDeviceOpen([&] { player.length(); });
    expectNoDeviceOpen([&] { player.trackCount(); });
    expectNoDeviceOpen([&] { player.trackLength(1); });
    expectNoDeviceOpen([&] { player.timeFormat(); });
    EXPECT_EQ(player.mode(), Mode::NotReady);
    EXPECT_EQ(player.position(), 0);
    EXPECT_EQ(player.trackPosition(1), 0);
    EXPECT_NO_THROW(player.closeDoor());
    EXPECT_EQ(player.lastError(), media::DeviceErrorCode::NotOpen);
    EXPECT_NO_THROW(player.setTimeFormat(media::TimeFormat::Milliseconds));
    EXPECT_NO_THROW(player.close());
    // Again after a device was open and closed.
    player.setFileName(writeMedium(dir, Kind::Wave));
    player.open();
    player.close();
  }
  reports.settle();
  EXPECT_TRUE(reports.values.empty());
}

std::string openError(MIDIPlayer& player, const QString& path, DeviceType type = DeviceType::AutoSelect) {
  player.setDeviceType(type);
  player.setFileName(path);
  try {
    player.open();
  } catch (const media::EMCIDeviceError& error) {
    EXPECT_FALSE(player.isOpen());
    return error.what();
  }
  return "(opened)";
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(OpeningMedia, FailuresCloseTheDeviceAndSayWhy) {
  QTemporaryDir dir;
  MIDIPlayer player(offlineSettings());
  const QString good = writeMedium(dir, Kind::Wave);
  player.setFileName(good);
  player.open();

  EXPECT_NE(openError(player, dir.filePath("missing.mid")).find("does not exist"), std::string::npos);
  EXPECT_NE(openError(player, dir.path()).find("folder"), std::string::npos);
  writeBytes(dir.filePath("notes.txt"), "text");
  EXPECT_NE(openError(player, dir.filePath("notes.txt")).find("\".txt\""), std::string::npos);
  writeBytes(dir.filePath("junk.mid"), QByteArray(300, 'x'));
  const std::string junkMidi = openError(player, dir.filePath("junk.mid"));
  EXPECT_NE(junkMidi.find("junk.mid"), std::string::npos) << junkMidi;
  EXPECT_NE(junkMidi.find("MIDI"), std::string::npos) << junkMidi;
  writeBytes(dir.filePath("junk.wav"), "RIFF\x10\0\0\0WAVEjunkjunk");
  const std::string junkWave = openError(player, dir.filePath("junk.wav"));
  EXPECT_NE(junkWave.find("junk.wav"), std::string::npos) << junkWave;
  EXPECT_NE(junkWave.find("wave audio"), std::string::npos) << junkWave;
  EXPECT_EQ(player.mode(), Mode::NotReady);
}

TEST(OpeningMedia, DeviceTypesFollowTheExtension) {
  QTemporaryDir dir;
  MIDIPlayer player(offlineSettings());
  const QString karaoke = dir.filePath("Song.KAR");
  ASSERT_TRUE(writeMidiSong(karaoke, 300));
  // Automatic selection knows no karaoke files; the player asks for the sequencer.
  EXPECT_NE(openError(player, karaoke).find("\".kar\""), std::string::npos);
  EXPECT_EQ(MIDIPlayer::deviceTypeForPath(karaoke), DeviceType::Sequencer);
  EXPECT_EQ(openError(player, karaoke, MIDIPlayer::deviceTypeForPath(karaoke)), "(opened)");
  EXPECT_EQ(player.length(), 300);

  const QString upper = dir.filePath("LOUD.MID");
  ASSERT_TRUE(QFile::copy(karaoke, upper));
  EXPECT_EQ(openError(player, upper), "(opened)");
  const QString rmid = dir.filePath("wrapped.rmi");
  ASSERT_TRUE(QFile::copy(karaoke, rmid));
  EXPECT_EQ(openError(player, rmid), "(opened)");
  EXPECT_EQ(MIDIPlayer::deviceTypeForPath(QStringLiteral("D:\\Track07.cda")), DeviceType::CDAudio);
  EXPECT_EQ(MIDIPlayer::deviceTypeForPath(QStringLiteral("clip.avi")), DeviceType::AutoSelect);
}

TEST(OpeningMedia, AMissingSoundfontIsAClearError) {
  QTemporaryDir dir;
  media::MediaSettings settings = offlineSettings();
  settings.soundFontPath = dir.filePath("none.sf2").toStdString();
  MIDIPlayer player(settings);
  const QString song = dir.filePath("song.mid");
  ASSERT_TRUE(writeMidiSong(song, 300));
  const std::string error = openError(player, song);
  EXPECT_NE(error.find("none.sf2"), std::string::npos) << error;
}

// Real time on the silent clock: what happens on a machine without a sound card.
TEST(SilentClock, MediaPlayToTheEndInRealTime) {
  for (Kind kind : {Kind::Midi, Kind::Wave}) {
    QTemporaryDir dir;
    media::MediaSettings settings = offlineSettings();
    settings.audioMode = media::AudioMode::SilentClock;
    MIDIPlayer player(settings);
    Reports reports(player);
    player.setFileName(writeMedium(dir, kind));
    player.open();
    player.setStartPos(300);
    player.play();
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
    EXPECT_EQ(player.position(), kLengthMs);

    // A waiting play blocks on the clock, not on an event loop.
    player.setStartPos(400);
    player.setWait(true);
    player.setNotify(false);
    player.play();
    EXPECT_EQ(player.position(), kLengthMs);
    EXPECT_EQ(player.mode(), Mode::Stopped);
    reports.settle();
    EXPECT_EQ(reports.values.size(), 1u);
  }
}

}  // namespace
}  // namespace vorlo::testing
