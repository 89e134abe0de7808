// A song on an external synthesizer whose port goes away: the player stops and says which port, once. The port is
// the recording stand-in of the media tests (this machine has no ALSA sequencer).
#include "CoreRig.h"
#include "MediaFixtures.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"
#include "audio/RecordingPort.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

TEST(ExternalSynthFailure, APortThatGoesAwayStopsTheSongAndTellsTheUserWhichPort) {
    QTemporaryDir dir;
    const QStringList songs{dir.filePath("a.mid"), dir.filePath("b.mid")};
    for (const QString& song : songs) ASSERT_TRUE(test::writeSong(song, 2000));
    auto log = std::make_shared<audio::test::PortLog>();
    media::MediaSettings settings = vorlo::testing::offlineSettings();
    settings.midiPort = "129:0";
    settings.midiPortOpener = [log](const std::string&, std::string&) -> std::unique_ptr<audio::MidiPort> {
        return std::make_unique<audio::test::RecordingPort>(log);
    };
    test::ScriptedMessageBoxes boxes;
    test::CoreRig rig(settings);
    rig.modes.autoPlay = true;
    rig.fill(songs);
    rig.engine().entriesArrived();
    ASSERT_EQ(rig.device().mode(), media::Mode::Playing);
    vorlo::testing::runFor(rig.device(), 300);
    {
        std::lock_guard lock(log->mutex);
        log->gone = true;
    }
    boxes.expect("Error - MIDI Output",
                 "The external MIDI synthesizer Test Synth, Port 1 (129:0) is gone (its program ended).",
                 BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    vorlo::testing::runFor(rig.device(), 50);
    test::CoreRig::settle();
    EXPECT_EQ(boxes.pending(), 0u);
    // Stopped on the same song, not moved on to the next as at a song's end, and Play offered again.
    EXPECT_EQ(rig.state().openFile, songs[0]);
    EXPECT_EQ(rig.device().mode(), media::Mode::Stopped);
    EXPECT_TRUE(rig.view().play);
    test::CoreRig::settle();
    EXPECT_EQ(boxes.shown().size(), 1u);
}

// An unplugged synthesizer is no fault of the songs: they stay in the list, and play once it is back.
TEST(ExternalSynthFailure, APortThatIsNotThereKeepsTheEntriesAndSaysWhy) {
    QTemporaryDir dir;
    const QStringList songs{dir.filePath("a.mid"), dir.filePath("b.mid"), dir.filePath("c.mid")};
    for (const QString& song : songs) ASSERT_TRUE(test::writeSong(song, 300));
    auto log = std::make_shared<audio::test::PortLog>();
    bool plugged = false;
    media::MediaSettings settings = vorlo::testing::offlineSettings();
    settings.midiPort = "129:0";
    settings.midiPortOpener = [log, &plugged](const std::string& address,
                                              std::string& error) -> std::unique_ptr<audio::MidiPort> {
        if (!plugged) {
            error = "The MIDI port " + address + " does not exist.";
            return nullptr;
        }
        return std::make_unique<audio::test::RecordingPort>(log);
    };
    test::ScriptedMessageBoxes boxes;
    test::CoreRig rig(settings);
    rig.modes.autoPlay = true;
    boxes.expect("Error - MIDI Output", "The MIDI port 129:0 does not exist.", BoxIcon::Error, BoxButtons::Ok,
                 BoxButton::Ok);
    rig.core().lists().LoadPathsIntoList(songs, LoadOrigin::User);
    test::CoreRig::settle();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(rig.playlist().count(), 3);
    EXPECT_FALSE(rig.device().isOpen());
    // The list is as it was loaded: closing it later asks nothing about saving it.
    EXPECT_FALSE(rig.playlist().ListChanged());

    // Plugged in again, the song the user chooses plays.
    plugged = true;
    rig.engine().playEntry(1, PlayRequest::UserChoice);
    EXPECT_EQ(rig.state().openFile, songs[1]);
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(rig.playlist().count(), 3);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

// The same for the built-in synthesizer when its soundfont cannot be read: the songs are not to blame.
TEST(ExternalSynthFailure, ABuiltInSynthesizerThatCannotStartKeepsTheEntries) {
    QTemporaryDir dir;
    const QStringList songs{dir.filePath("a.mid"), dir.filePath("b.mid")};
    for (const QString& song : songs) ASSERT_TRUE(test::writeSong(song, 300));
    media::MediaSettings settings = vorlo::testing::offlineSettings();
    settings.soundFontPath = dir.filePath("gone.sf2").toStdString();
    test::ScriptedMessageBoxes boxes;
    test::CoreRig rig(settings);
    rig.modes.autoPlay = true;
    boxes.expect("Error - MIDI Output",
                 "The MIDI synthesizer cannot start: The soundfont " + dir.filePath("gone.sf2") + " cannot be read.",
                 BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    rig.core().lists().LoadPathsIntoList(songs, LoadOrigin::User);
    test::CoreRig::settle();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(rig.playlist().count(), 2);
    EXPECT_FALSE(rig.playlist().ListChanged());
    EXPECT_FALSE(rig.device().isOpen());
}

}  // namespace
