// The MIDI output of a reset reaches the synthesizer the sequencer plays on.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "MediaFixtures.h"
#include "media/MIDIPlayer.h"
#include "media/MidiOut.h"

namespace vorlo::testing {
namespace {

TEST(MidiOut, AResetSilencesAndResetsTheSequencersSynthesizer) {
    QTemporaryDir dir;
    media::MIDIPlayer player(offlineSettings());
    openMedium(player, dir, Kind::Midi);
    player.play();
    runFor(player, 100);
    player.stop();
    player.close();

    media::MidiOut out(player.synthHost());
    ASSERT_TRUE(out.open());
    std::string error;
    audio::MidiEngine* engine = player.synthHost().engine(error);
    ASSERT_NE(engine, nullptr);
    out.shortMessage(0x7F00E3);  // pitch bend up on channel 4
    out.shortMessage(0x6401B3);  // modulation 100 on channel 4
    out.shortMessage(0x7F3C93);  // a note that would ring on
    std::vector<float> left(512), right(512);
    engine->renderOffline(left.data(), right.data(), left.size());
    ASSERT_GT(engine->activeVoices(), 0);
    ASSERT_EQ(engine->channelState(3).controllers[1], 100);

    for (std::uint32_t message : media::midiResetMessages()) EXPECT_TRUE(out.shortMessage(message));
    EXPECT_TRUE(out.close());
    EXPECT_FALSE(out.shortMessage(0x7F3C93));
    // The synthesizer carries out messages at its next block.
    for (int block = 0; block < 2; ++block) engine->renderOffline(left.data(), right.data(), left.size());
    EXPECT_EQ(engine->activeVoices(), 0);
    float loudest = 0.0f;
    for (float sample : left) loudest = std::max(loudest, std::fabs(sample));
    EXPECT_LT(loudest, 0.001f);
    EXPECT_EQ(engine->channelState(3).controllers[1], 0);
    EXPECT_EQ(engine->channelState(3).pitchBend, 8192);

    // The device opens again on the same synthesizer.
    EXPECT_NO_THROW(player.open());
}

TEST(MidiOut, FailsToOpenWithoutASoundfont) {
    QTemporaryDir dir;
    media::MediaSettings settings = offlineSettings();
    settings.soundFontPath = dir.filePath("none.sf2").toStdString();
    media::SynthHost host(settings);
    media::MidiOut out(host);
    EXPECT_FALSE(out.open());
    EXPECT_FALSE(out.error().empty());
    EXPECT_FALSE(out.close());
}

}  // namespace
}  // namespace vorlo::testing
