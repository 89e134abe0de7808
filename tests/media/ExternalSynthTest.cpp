// The media device with MIDI going to an external synthesizer: the reset file, the end report, a port that goes
// away or is not there, the reset command and switching while a song plays. The port is the recording stand-in of
// audio/RecordingPort.h: this machine has no ALSA sequencer to play to (see AlsaPortTest for the real one).
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include "MediaFixtures.h"
#include "audio/RecordingPort.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"
#include "media/MidiOut.h"
#include "midi/ResetMessages.h"
#include "midi/SmfWriter.h"

namespace vorlo::testing {
namespace {

using audio::test::Delivered;
using audio::test::hangingNotes;
using audio::test::PortLog;
using audio::test::RecordingPort;

constexpr const char* kPort = "129:0";

// Offline settings with MIDI on the recording port at 129:0; any other port does not exist, nor does this one once
// it went away.
media::MediaSettings portSettings(const std::shared_ptr<PortLog>& log) {
    media::MediaSettings settings = offlineSettings();
    settings.midiPort = kPort;
    settings.midiPortOpener = [log](const std::string& address,
                                    std::string& error) -> std::unique_ptr<audio::MidiPort> {
        bool gone = false;
        {
            std::lock_guard lock(log->mutex);
            gone = log->gone;
        }
        if (address != kPort || gone) {
            error = "The MIDI port " + address + " does not exist.";
            return nullptr;
        }
        return std::make_unique<RecordingPort>(log);
    };
    return settings;
}

void openSong(media::MIDIPlayer& player, const QString& path) {
    player.setDeviceType(media::DeviceType::AutoSelect);
    player.setFileName(path);
    player.open();
    player.setTimeFormat(media::TimeFormat::Milliseconds);
}

std::size_t firstNoteOn(const std::vector<Delivered>& delivered) {
    const auto note = std::find_if(delivered.begin(), delivered.end(), [](const Delivered& m) { return m.isNoteOn(); });
    return static_cast<std::size_t>(note - delivered.begin());
}

TEST(ExternalSynth, TheResetFileGoesOutBeforeTheSongWhichEndsWithOneReportAndNoNoteLeftOn) {
    QTemporaryDir dir;
    midi::SmfWriter reset(0, 96);
    reset.addTrack().sysEx(0, midi::kGmSystemOn).endAt(48);
    const QString resetPath = dir.filePath("reset.mid");
    ASSERT_TRUE(reset.writeTo(resetPath.toStdString()));
    const QString songPath = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(songPath, 400));

    auto log = std::make_shared<PortLog>();
    media::MIDIPlayer player(portSettings(log));
    Reports reports(player);
    // As the player plays its reset file: waiting, without a report.
    openSong(player, resetPath);
    player.setWait(true);
    player.setNotify(false);
    player.play();
    openSong(player, songPath);
    EXPECT_EQ(player.length(), 400);
    player.play();
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{media::NotifyValue::Successful});
    EXPECT_EQ(player.position(), 400);

    const std::vector<Delivered> delivered = log->snapshot();
    const std::vector<std::uint8_t> gmOn(midi::kGmSystemOn.begin(), midi::kGmSystemOn.end());
    const auto sysEx =
        std::find_if(delivered.begin(), delivered.end(), [&](const Delivered& m) { return m.bytes == gmOn; });
    ASSERT_NE(sysEx, delivered.end());
    ASSERT_LT(firstNoteOn(delivered), delivered.size());
    EXPECT_LT(static_cast<std::size_t>(sysEx - delivered.begin()), firstNoteOn(delivered));
    EXPECT_EQ(hangingNotes(delivered), "");
    EXPECT_TRUE(player.takeFailureMessage().isEmpty());
}

TEST(ExternalSynth, APortThatGoesAwayWhilePlayingFailsThePlayWithAMessageNamingIt) {
    QTemporaryDir dir;
    const QString songPath = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(songPath, 2000));
    auto log = std::make_shared<PortLog>();
    media::MIDIPlayer player(portSettings(log));
    Reports reports(player);
    openSong(player, songPath);
    player.play();
    runFor(player, 300);
    {
        std::lock_guard lock(log->mutex);
        log->gone = true;
    }
    runFor(player, 100);
    ASSERT_TRUE(reports.waitFor(1));
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{media::NotifyValue::Failure});
    EXPECT_EQ(player.mode(), media::Mode::Stopped);
    const QString why = player.takeFailureMessage();
    EXPECT_TRUE(why.contains("Test Synth, Port 1 (129:0)")) << why.toStdString();
    EXPECT_TRUE(player.takeFailureMessage().isEmpty());  // told once

    // The next song finds the port still gone: a clear error at open, not a play that never ends.
    EXPECT_THROW(openSong(player, songPath), media::EMCIDeviceError);
    EXPECT_FALSE(player.isOpen());
    // Once it is back, songs play on it again.
    {
        std::lock_guard lock(log->mutex);
        log->gone = false;
    }
    openSong(player, songPath);
    player.play();
    runFor(player, 100);
    EXPECT_EQ(player.mode(), media::Mode::Playing);
}

TEST(ExternalSynth, APortThatIsNotThereFailsTheOpenWithItsAddress) {
    QTemporaryDir dir;
    const QString songPath = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(songPath, 300));
    auto log = std::make_shared<PortLog>();
    media::MediaSettings settings = portSettings(log);
    settings.midiPort = "130:0";
    media::MIDIPlayer player(settings);
    try {
        openSong(player, songPath);
        FAIL() << "opened on a port that does not exist";
    } catch (const media::EMCIDeviceError& error) {
        EXPECT_NE(std::string(error.what()).find("130:0"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(player.isOpen());

    // The sequencer's own ports, where the machine has none (as here) or the port is not one of its.
    settings.midiPortOpener = nullptr;
    settings.midiPort = "250:7";
    media::MIDIPlayer alsa(settings);
    try {
        openSong(alsa, songPath);
        FAIL() << "opened on a port that does not exist";
    } catch (const media::EMCIDeviceError& error) {
        EXPECT_NE(std::string(error.what()).find("250:7"), std::string::npos) << error.what();
    }
}

TEST(ExternalSynth, TheResetCommandGoesToThePort) {
    auto log = std::make_shared<PortLog>();
    media::MIDIPlayer player(portSettings(log));
    media::MidiOut out(player.synthHost());
    ASSERT_TRUE(out.open()) << out.error();
    for (std::uint32_t message : media::midiResetMessages()) EXPECT_TRUE(out.shortMessage(message));
    EXPECT_TRUE(out.close());
    const std::vector<Delivered> delivered = log->snapshot();
    ASSERT_EQ(delivered.size(), media::midiResetMessages().size());
    EXPECT_EQ(delivered.front().bytes, (std::vector<std::uint8_t>{0xB0, 120, 0}));
    EXPECT_EQ(delivered.back().bytes, std::vector<std::uint8_t>{0xFF});
    EXPECT_TRUE(delivered.back().direct);
}

TEST(ExternalSynth, SwitchingToThePortAndBackPlaysOnFromTheSamePlaceWithOneReport) {
    QTemporaryDir dir;
    const QString songPath = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(songPath, 1500));
    auto log = std::make_shared<PortLog>();
    const media::MediaSettings builtIn = offlineSettings();
    media::MIDIPlayer player(builtIn);
    Reports reports(player);
    openSong(player, songPath);
    player.play();
    runFor(player, 400);

    player.applySynthSettings(portSettings(log));
    EXPECT_EQ(player.mode(), media::Mode::Playing);
    EXPECT_NEAR(static_cast<double>(player.position()), 400.0, 15.0);
    runFor(player, 400);
    EXPECT_NEAR(static_cast<double>(player.position()), 800.0, 15.0);
    ASSERT_LT(firstNoteOn(log->snapshot()), log->snapshot().size()) << "nothing played on the port";

    // Back to the built-in synthesizer: the port is left with nothing sounding.
    player.applySynthSettings(builtIn);
    EXPECT_EQ(hangingNotes(log->snapshot()), "");
    const std::size_t onPort = log->snapshot().size();
    EXPECT_EQ(player.mode(), media::Mode::Playing);
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{media::NotifyValue::Successful});
    EXPECT_EQ(log->snapshot().size(), onPort);
}

}  // namespace
}  // namespace vorlo::testing
