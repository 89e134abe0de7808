// The media device's commands, positions and reports, the same for every kind of medium: MIDI,
// wave and CD audio rendered offline, video in real time.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QVideoWidget>

#include <gtest/gtest.h>

#include "MediaFixtures.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

using media::DeviceType;
using media::MIDIPlayer;
using media::Mode;
using media::NotifyValue;

// Offline rendering ends a play within one block of 5 ms.
constexpr double kFramesPerMs = 44.1;
constexpr double kBlockFrames = 5 * kFramesPerMs;

class AnyMedium : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        openMedium(player, dir, GetParam());
    }
    bool offline() const { return GetParam() != Kind::Video; }

    QTemporaryDir dir;
    MIDIPlayer player{offlineSettings(writeDiscImage(dir))};
    Reports reports{player};
};

bool videoWindowShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](QWidget* window) { return qobject_cast<QVideoWidget*>(window) && window->isVisible(); });
}

TEST_P(AnyMedium, PlaysToTheEndAndReportsSuccess) {
    EXPECT_EQ(player.length(), kMediumMs);
    EXPECT_EQ(player.trackCount(), GetParam() == Kind::Disc ? 2 : 1);
    EXPECT_EQ(player.mode(), Mode::Stopped);
    player.play();
    EXPECT_EQ(player.mode(), Mode::Playing);
    EXPECT_EQ(videoWindowShown(), GetParam() == Kind::Video);
    const RenderedAudio audio = runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
    EXPECT_EQ(player.mode(), Mode::Stopped);
    EXPECT_EQ(player.position(), kMediumMs);
    if (offline()) {
        EXPECT_GT(audio.peak(), 0.01);
        EXPECT_NEAR(static_cast<double>(audio.left.size()), kMediumMs * kFramesPerMs, kBlockFrames);
    }
    player.close();
    EXPECT_FALSE(videoWindowShown());
}

TEST_P(AnyMedium, StopAbortsAndTheDeviceStaysWhereItStopped) {
    player.play();
    runFor(player, 200);
    player.stop();
    EXPECT_EQ(player.mode(), Mode::Stopped);
    const std::int64_t stoppedAt = player.position();
    EXPECT_GT(stoppedAt, 0);
    EXPECT_LT(stoppedAt, kMediumMs);
    runFor(player, kMediumMs);
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Aborted});
    EXPECT_EQ(player.position(), stoppedAt);
    // Commands other than play report only when asked to.
    player.setNotify(true);
    player.stop();
    reports.settle();
    EXPECT_EQ(reports.values, (std::vector{NotifyValue::Aborted, NotifyValue::Successful}));
}

TEST_P(AnyMedium, ANewPlaySupersedesTheRunningOne) {
    player.play();
    runFor(player, 100);
    player.setStartPos(0);
    player.play();
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(2));
    reports.settle();
    EXPECT_EQ(reports.values, (std::vector{NotifyValue::Superseded, NotifyValue::Successful}));
}

TEST_P(AnyMedium, StartAndEndPositionsApplyToOnePlayOnly) {
    player.setStartPos(200);
    player.setEndPos(400);
    player.play();
    const RenderedAudio part = runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values.back(), NotifyValue::Successful);
    EXPECT_EQ(player.position(), 400);
    if (offline()) {
        EXPECT_NEAR(static_cast<double>(part.left.size()), 200 * kFramesPerMs, kBlockFrames);
    }

    // Forgotten: the next play goes on from where the last one ended, to the end.
    player.play();
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(2));
    EXPECT_EQ(player.position(), kMediumMs);
}

TEST_P(AnyMedium, SeekAbortsThePlayAndMovesTheStoppedDevice) {
    player.play();
    runFor(player, 100);
    player.seek(300);
    EXPECT_EQ(player.mode(), Mode::Stopped);
    EXPECT_EQ(player.position(), 300);
    player.play();
    const RenderedAudio rest = runToStop(player);
    if (offline()) {
        EXPECT_NEAR(static_cast<double>(rest.left.size()), 300 * kFramesPerMs, kBlockFrames);
    }
    ASSERT_TRUE(reports.waitFor(2));
    EXPECT_EQ(reports.values, (std::vector{NotifyValue::Aborted, NotifyValue::Successful}));
    player.rewind();
    EXPECT_EQ(player.position(), 0);
    player.seek(kMediumMs * 10);
    EXPECT_EQ(player.position(), kMediumMs);
}

// As the platform's media devices do: a start after the end is refused with an error and no report (a caller
// waiting for one must not wait for ever); a start beyond the medium plays nothing and ends at once.
TEST_P(AnyMedium, AStartAfterTheEndIsRefusedAndAStartBeyondTheMediumEndsAtOnce) {
    player.setStartPos(400);
    player.setEndPos(200);
    player.play();
    EXPECT_EQ(player.lastError(), media::DeviceErrorCode::OutOfRange);
    EXPECT_FALSE(player.lastErrorMessage().isEmpty());
    EXPECT_EQ(player.mode(), Mode::Stopped);
    runFor(player, 100);
    reports.settle();
    EXPECT_TRUE(reports.values.empty());

    player.setStartPos(kMediumMs * 10);
    player.play();
    EXPECT_EQ(player.lastError(), media::DeviceErrorCode::None);
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
    EXPECT_EQ(player.position(), kMediumMs);
}

TEST_P(AnyMedium, WaitBlocksUntilTheEndAndNotifyOffSilencesTheReport) {
    player.setStartPos(300);
    player.setWait(true);
    player.setNotify(false);
    player.play();
    EXPECT_EQ(player.mode(), Mode::Stopped);
    EXPECT_EQ(player.position(), kMediumMs);
    reports.settle();
    EXPECT_TRUE(reports.values.empty());
}

std::string kindName(const ::testing::TestParamInfo<Kind>& kind) {
    switch (kind.param) {
        case Kind::Midi: return "Midi";
        case Kind::Wave: return "Wave";
        case Kind::Video: return "Video";
        case Kind::Disc: return "Disc";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, AnyMedium, ::testing::Values(Kind::Midi, Kind::Wave, Kind::Video, Kind::Disc),
                         kindName);

// A video reports through the event loop it runs in, so only media rendered offline can end
// with their report still queued.
TEST(MediaQueuedReports, ACommandBeforeTheEndReportIsHandledLeavesOneReport) {
    for (Kind kind : {Kind::Midi, Kind::Wave, Kind::Disc}) {
        QTemporaryDir dir;
        MIDIPlayer player(offlineSettings(writeDiscImage(dir)));
        Reports reports(player);
        openMedium(player, dir, kind);
        player.play();
        runToStop(player);  // the end report is queued, not yet handled
        player.close();
        reports.settle();
        EXPECT_EQ(reports.values, std::vector{NotifyValue::Aborted});
    }
}

// Real time on the silent clock: a machine without a sound card.
TEST(MediaOnSilentClock, MediaPlayToTheEndInRealTime) {
    for (Kind kind : {Kind::Midi, Kind::Wave, Kind::Disc}) {
        QTemporaryDir dir;
        media::MediaSettings settings = offlineSettings(writeDiscImage(dir));
        settings.audioMode = media::AudioMode::SilentClock;
        MIDIPlayer player(settings);
        Reports reports(player);
        openMedium(player, dir, kind);
        player.setStartPos(300);
        player.play();
        ASSERT_TRUE(reports.waitFor(1));
        EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
        EXPECT_EQ(player.position(), kMediumMs);
        // A waiting play blocks on the clock.
        player.setStartPos(400);
        player.setWait(true);
        player.play();
        EXPECT_EQ(player.position(), kMediumMs);
    }
}

TEST(ClosedMediaDevice, CommandsThrowNoDeviceOpenWhileModeAndPositionsDoNot) {
    QTemporaryDir dir;
    MIDIPlayer player(offlineSettings());
    Reports reports(player);
    const auto expectNoDeviceOpen = [](const std::function<void()>& command) {
        try {
            command();
            ADD_FAILURE() << "no exception";
        } catch (const media::EMCIDeviceError& error) {
            EXPECT_STREQ(error.what(), "No MCI device open");
        }
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& command : std::vector<std::function<void()>>{
                 [&] { player.play(); }, [&] { player.stop(); }, [&] { player.seek(0); }, [&] { player.rewind(); },
                 [&] { player.eject(); }, [&] { player.length(); }, [&] { player.trackCount(); },
                 [&] { player.trackLength(1); }, [&] { player.timeFormat(); }})
            expectNoDeviceOpen(command);
        EXPECT_EQ(player.mode(), Mode::NotReady);
        EXPECT_EQ(player.position(), 0);
        EXPECT_EQ(player.trackPosition(1), 0);
        EXPECT_NO_THROW(player.closeDoor());
        EXPECT_EQ(player.lastError(), media::DeviceErrorCode::NotOpen);
        EXPECT_NO_THROW(player.setTimeFormat(media::TimeFormat::Milliseconds));
        EXPECT_NO_THROW(player.close());
        openMedium(player, dir, Kind::Wave);  // the second round: after a device was open and closed
        player.close();
    }
    reports.settle();
    EXPECT_TRUE(reports.values.empty());
}

class OpeningMedia : public ::testing::Test {
protected:
    std::string openError(const QString& path, DeviceType type = DeviceType::AutoSelect) {
        player.setDeviceType(type);
        player.setFileName(path);
        try {
            player.open();
        } catch (const media::EMCIDeviceError& error) {
            EXPECT_EQ(player.mode(), Mode::NotReady);
            return error.what();
        }
        return "(opened)";
    }
    QString fileWith(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    static bool says(const std::string& message, const std::string& part) {
        return message.find(part) != std::string::npos;
    }

    QTemporaryDir dir;
    MIDIPlayer player{offlineSettings(writeDiscImage(dir))};
};

TEST_F(OpeningMedia, FailuresCloseTheDeviceAndSayWhy) {
    openMedium(player, dir, Kind::Wave);
    EXPECT_PRED2(says, openError(dir.filePath("missing.mid")), "does not exist");
    EXPECT_PRED2(says, openError(dir.path()), "folder");
    EXPECT_PRED2(says, openError(fileWith("notes.txt", "text")), "\".txt\"");
    const std::string midi = openError(fileWith("junk.mid", QByteArray(300, 'x')));
    EXPECT_PRED2(says, midi, "junk.mid");
    EXPECT_PRED2(says, midi, "MIDI");
    const std::string wave = openError(fileWith("junk.wav", QByteArray("RIFF\x10\0\0\0WAVEjunkjunk", 20)));
    EXPECT_PRED2(says, wave, "junk.wav");
    EXPECT_PRED2(says, wave, "wave audio");
    EXPECT_PRED2(says, openError(fileWith("junk.avi", QByteArray("RIFF\x40\0\0\0AVI LIST", 16) + QByteArray(200, 'x'))),
                 "junk.avi");
    const QString garbageCue = fileWith("garbage.cue", "TRACK banana\nINDEX 99 zz:zz:zz\n");
    EXPECT_PRED2(says, openError(garbageCue, DeviceType::CDAudio), "garbage.cue");
    EXPECT_PRED2(says, openError(dir.filePath("missing.cue"), DeviceType::CDAudio), "missing.cue");
    EXPECT_PRED2(says, openError(dir.filePath("no-drive"), DeviceType::CDAudio), "No CD drive");
}

TEST_F(OpeningMedia, DeviceTypesFollowTheExtension) {
    const QString karaoke = dir.filePath("Song.KAR");
    ASSERT_TRUE(writeMidiSong(karaoke, 300));
    // Automatic selection knows no karaoke files: the player asks for the sequencer.
    EXPECT_PRED2(says, openError(karaoke), "\".kar\"");
    EXPECT_EQ(MIDIPlayer::deviceTypeForPath(karaoke), DeviceType::Sequencer);
    EXPECT_EQ(openError(karaoke, MIDIPlayer::deviceTypeForPath(karaoke)), "(opened)");
    EXPECT_EQ(player.length(), 300);
    ASSERT_TRUE(QFile::copy(karaoke, dir.filePath("LOUD.MID")));
    EXPECT_EQ(openError(dir.filePath("LOUD.MID")), "(opened)");
    EXPECT_EQ(MIDIPlayer::deviceTypeForPath(QStringLiteral("D:\\Track02.cda")), DeviceType::CDAudio);
    // A track's name stands for the disc in the drive the settings name.
    EXPECT_EQ(openError(QStringLiteral("D:\\Track02.cda"), DeviceType::CDAudio), "(opened)");
    EXPECT_EQ(player.trackCount(), 2);
    EXPECT_EQ(MIDIPlayer::deviceTypeForPath(QStringLiteral("clip.avi")), DeviceType::AutoSelect);
}

TEST_F(OpeningMedia, AMissingSoundfontIsAClearError) {
    media::MediaSettings settings = offlineSettings();
    settings.soundFontPath = dir.filePath("none.sf2").toStdString();
    MIDIPlayer withoutFont(settings);
    const QString song = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(song, 300));
    withoutFont.setFileName(song);
    try {
        withoutFont.open();
        ADD_FAILURE() << "opened";
    } catch (const media::EMCIDeviceError& error) {
        EXPECT_PRED2(says, error.what(), "none.sf2");
    }
}

}  // namespace
}  // namespace vorlo::testing
