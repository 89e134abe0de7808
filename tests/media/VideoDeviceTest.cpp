// Motion-JPEG clips made by the test play in real time through Qt Multimedia, in their own window.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QVideoWidget>

#include <gtest/gtest.h>

#include "AviWriter.h"
#include "MediaFixtures.h"
#include "platform/media/EMCIDeviceError.h"
#include "platform/media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

using media::Mode;
using media::MIDIPlayer;
using media::NotifyValue;

// 15 frames at 25 per second: 600 ms, with or without a PCM sound track.
AviClip clip(int audioSampleRate) {
  AviClip result;
  result.framesPerSecond = 25;
  result.frameCount = 15;
  result.audioSampleRate = audioSampleRate;
  return result;
}

bool videoWindowShown() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<QVideoWidget*>(widget) != nullptr && widget->isVisible()) return true;
  return false;
}

class VideoClip : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("clip.avi");
    ASSERT_TRUE(writeMjpegAvi(path, clip(GetParam())));
    player.setFileName(path);
    player.open();
  }

  // Lets the clip run until it is past `ms`.
  void playPast(std::int64_t ms) {
    QDeadlineTimer limit(10000);
    while (player.position() <= ms && player.mode() == Mode::Playing && !limit.hasExpired())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  QTemporaryDir dir;
  MIDIPlayer player{offlineSettings()};
  Reports reports{player};
};

TEST_P(VideoClip, PlaysToTheEndInItsOwnWindow) {
  EXPECT_EQ(player.length(), 600);
  EXPECT_FALSE(videoWindowShown());
  player.play();
  EXPECT_EQ(player.mode(), Mode::Playing);
  EXPECT_TRUE(videoWindowShown());
  ASSERT_TRUE(reports.waitFor(1));
  EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
  EXPECT_EQ(player.position(), 600);
  EXPECT_EQ(player.mode(), Mode::Stopped);
  player.close();
  EXPECT_FALSE(videoWindowShown());
}

TEST_P(VideoClip, StopAbortsAndANewPlaySupersedes) {
  player.play();
  playPast(100);
  player.stop();
  const std::int64_t stoppedAt = player.position();
  EXPECT_GT(stoppedAt, 100);
  EXPECT_LT(stoppedAt, 600);
  EXPECT_EQ(player.mode(), Mode::Stopped);

  player.play();
  playPast(stoppedAt);
  player.setStartPos(0);
  player.play();
  ASSERT_TRUE(reports.waitFor(3));
  reports.settle();
  EXPECT_EQ(reports.values, (std::vector{NotifyValue::Aborted, NotifyValue::Superseded, NotifyValue::Successful}));
}

TEST_P(VideoClip, HonoursStartAndEndPositionsAndSeeks) {
  player.seek(100);
  EXPECT_EQ(player.position(), 100);
  player.setStartPos(200);
  player.setEndPos(400);
  player.play();
  ASSERT_TRUE(reports.waitFor(1));
  EXPECT_EQ(reports.values.back(), NotifyValue::Successful);
  EXPECT_EQ(player.position(), 400);

  player.setStartPos(300);
  player.setWait(true);
  player.play();
  EXPECT_EQ(player.position(), 600);
  EXPECT_EQ(player.mode(), Mode::Stopped);
}

INSTANTIATE_TEST_SUITE_P(SilentAndWithSound, VideoClip, ::testing::Values(0, 8000),
                         [](const auto& param) { return param.param == 0 ? "Silent" : "WithSound"; });

TEST(VideoDevice, ADamagedClipFailsToOpenWithItsName) {
  QTemporaryDir dir;
  const QString path = dir.filePath("broken.avi");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray("RIFF\x40\0\0\0AVI LIST", 16) + QByteArray(200, '\x7f'));
  file.close();
  MIDIPlayer player(offlineSettings());
  player.setFileName(path);
  try {
    player.open();
    ADD_FAILURE() << "opened";
  } catch (const media::EMCIDeviceError& error) {
    EXPECT_NE(std::string(error.what()).find("broken.avi"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(player.isOpen());
}

}  // namespace
}  // namespace vorlo::testing
