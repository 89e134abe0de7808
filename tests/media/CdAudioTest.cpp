// What only a CD has: tracks placed on the whole disc, the track/minute/second/frame format, and
// a door that a disc image does not have.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "MediaFixtures.h"
#include "media/CdAudioDevice.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

using media::MIDIPlayer;
using media::TimeFormat;

// Zero crossings per second: twice the frequency of a pure tone.
double crossingsPerSecond(const std::vector<float>& samples) {
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if ((samples[i - 1] < 0.0f) != (samples[i] < 0.0f)) ++crossings;
    return crossings * 44100.0 / static_cast<double>(samples.size());
}

TEST(CdAudioDevice, TracksArePlacedOnTheWholeDiscInBothTimeFormats) {
    QTemporaryDir dir;
    MIDIPlayer player(offlineSettings(writeDiscImage(dir)));
    player.setDeviceType(media::DeviceType::CDAudio);
    player.open();
    EXPECT_EQ(player.timeFormat(), TimeFormat::TMSF);
    EXPECT_EQ(player.trackPosition(2), 2);       // track 2 at 0:00:00
    EXPECT_EQ(player.trackLength(2), 27 << 16);  // 0:00 and 27 frames
    EXPECT_EQ(player.length(), 45 << 16);
    player.seek(2 | 15 << 24);  // track 2, frame 15
    EXPECT_EQ(player.position(), 2 | 15 << 24);

    player.setTimeFormat(TimeFormat::Milliseconds);
    EXPECT_EQ(player.position(), 440);
    EXPECT_EQ(player.trackPosition(2), 240);
    EXPECT_EQ(player.trackLength(1), 240);
    EXPECT_EQ(player.trackLength(2), 360);
    EXPECT_EQ(player.trackLength(3), 0);
    EXPECT_EQ(player.lastError(), media::DeviceErrorCode::OutOfRange);
    EXPECT_FALSE(player.canEject());
    player.eject();
    EXPECT_EQ(player.lastError(), media::DeviceErrorCode::CannotEject);
    EXPECT_EQ(player.mode(), media::Mode::Stopped);
}

TEST(CdAudioDevice, EachTrackPlaysItsOwnSound) {
    QTemporaryDir dir;
    MIDIPlayer player(offlineSettings(writeDiscImage(dir)));
    openMedium(player, dir, Kind::Disc);
    const double hertz[] = {441.0, 882.0};
    for (int track = 1; track <= 2; ++track) {
        // As the player plays a track: from its position to one millisecond before its end.
        const std::int64_t start = player.trackPosition(track);
        player.setStartPos(start);
        player.setEndPos(start + player.trackLength(track) - 1);
        player.play();
        const RenderedAudio audio = runToStop(player);
        EXPECT_EQ(player.position(), start + player.trackLength(track) - 1);
        EXPECT_NEAR(crossingsPerSecond(audio.left), 2 * hertz[track - 1], 20.0);
        EXPECT_EQ(audio.left, audio.right);
    }
}

// Stands in for the door of a drive, which this machine does not have.
struct RecordingDoor final : media::DriveDoor {
    bool open(const std::string& device) override { return record("open " + device); }
    bool close(const std::string& device) override { return record("close " + device); }
    bool record(const std::string& call) {
        calls.push_back(call);
        return true;
    }
    std::vector<std::string> calls;
};

TEST(CdAudioDevice, EjectingDuringPlayAbortsItAndTheDoorOpensAndCloses) {
    QTemporaryDir dir;
    media::MediaSettings settings = offlineSettings(writeDiscImage(dir));
    auto door = std::make_shared<RecordingDoor>();
    settings.driveDoor = door;
    MIDIPlayer player(settings);
    Reports reports(player);
    openMedium(player, dir, Kind::Disc);
    ASSERT_TRUE(player.canEject());
    player.play();
    runFor(player, 100);
    player.eject();
    EXPECT_EQ(player.mode(), media::Mode::Open);
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{media::NotifyValue::Aborted});
    player.closeDoor();
    EXPECT_EQ(player.mode(), media::Mode::Stopped);
    EXPECT_EQ(door->calls, (std::vector<std::string>{"open " + settings.cdDevice, "close " + settings.cdDevice}));
}

TEST(CdAudioDevice, ADataTrackPlaysAsSilence) {
    QTemporaryDir dir;
    MIDIPlayer player(offlineSettings(writeDiscImage(dir, true)));
    openMedium(player, dir, Kind::Disc);
    EXPECT_EQ(player.trackCount(), 2);
    player.play();
    const RenderedAudio audio = runToStop(player);
    ASSERT_GE(audio.left.size(), 26460u);
    EXPECT_NEAR(crossingsPerSecond({audio.left.begin(), audio.left.begin() + 10584}), 882.0, 20.0);
    for (std::size_t i = 10584; i < 26460; ++i) ASSERT_EQ(audio.left[i], 0.0f) << i;
}

// The summary reads a disc's table on its own thread while the player may open a CD: neither sees the other's
// failure, and a sound disc never fails because a broken one is being read at the same time.
TEST(CdAudioDevice, DiscsReadOnTwoThreadsAtOnceKeepTheirOwnResultsAndErrors) {
    QTemporaryDir dir;
    const std::string good = writeDiscImage(dir).toStdString();
    QFile garbage(dir.filePath("garbage.cue"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("FILE \"missing.bin\" BINARY\r\n  TRACK banana\r\n    INDEX 99 zz:zz:zz\r\n");
    garbage.close();
    const std::string broken = garbage.fileName().toStdString();
    const auto errorOf = [](const std::string& cue) -> std::string {
        try {
            media::CdAudioDevice::readTrackLengthsMs(cue);
        } catch (const media::EMCIDeviceError& error) {
            return error.what();
        }
        return {};
    };
    const std::string alone = errorOf(broken);
    ASSERT_NE(alone.find("garbage.cue"), std::string::npos) << alone;

    constexpr int kRounds = 150;
    int goodFailures = 0;
    int otherMessages = 0;
    std::thread sound([&] {
        for (int round = 0; round < kRounds; ++round) {
            try {
                if (media::CdAudioDevice::readTrackLengthsMs(good) != std::vector<std::int64_t>{240, 360})
                    ++goodFailures;
            } catch (const media::EMCIDeviceError&) {
                ++goodFailures;
            }
        }
    });
    for (int round = 0; round < kRounds; ++round)
        if (errorOf(broken) != alone) ++otherMessages;
    sound.join();
    EXPECT_EQ(goodFailures, 0);
    EXPECT_EQ(otherMessages, 0);
}

}  // namespace
}  // namespace vorlo::testing
