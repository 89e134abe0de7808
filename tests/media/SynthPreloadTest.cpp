// The player starts loading the synthesizer at its start; the first MIDI file opened takes it from there, and a
// soundfont that cannot be loaded fails that open with the reason, as a synthesizer loaded on the spot does.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "MediaFixtures.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

TEST(SynthPreload, TheFirstSongPlaysOnThePreloadedSynthesizer) {
    QTemporaryDir dir;
    media::MIDIPlayer player(offlineSettings());
    player.preloadSynth();
    const QString song = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(song, kMediumMs));
    player.setFileName(song);
    player.open();
    EXPECT_EQ(player.length(), kMediumMs);
    player.play();
    EXPECT_GT(runToStop(player).peak(), 0.01);
}

TEST(SynthPreload, ASoundFontThatCannotBeLoadedFailsTheOpenWithTheReason) {
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.sf2");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\x5a'));
    file.close();
    media::MediaSettings settings = offlineSettings();
    settings.soundFontPath = broken.toStdString();
    media::MIDIPlayer player(settings);
    player.preloadSynth();
    const QString song = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(song, kMediumMs));
    player.setFileName(song);
    for (int attempt = 0; attempt < 2; ++attempt) {  // the second open loads again, and fails again
        try {
            player.open();
            ADD_FAILURE() << "opened on a broken soundfont";
        } catch (const media::EMCIDeviceError& error) {
            const std::string expected =
                "The MIDI synthesizer cannot start: The soundfont " + broken.toStdString() + " cannot be loaded";
            EXPECT_EQ(std::string(error.what()).rfind(expected, 0), 0u) << error.what();
        }
        EXPECT_FALSE(player.isOpen());
    }
}

}  // namespace
}  // namespace vorlo::testing
