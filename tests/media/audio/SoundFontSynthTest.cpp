#include <gtest/gtest.h>

#include <cstdlib>

#include "AudioTestSupport.h"
#include "media/audio/SoundFontLookup.h"
#include "media/audio/SoundFontSynth.h"
#include "midi/ResetMessages.h"

namespace vorlo::audio {
namespace {

std::unique_ptr<SoundFontSynth> makeSynth() {
    SynthSettings settings;
    settings.soundFontPath = test::kSoundFont;
    std::string error;
    auto synth = SoundFontSynth::create(settings, error);
    EXPECT_TRUE(synth) << error;
    return synth;
}

void dirty(SoundFontSynth& synth) {
    synth.channelMessage(0xB1, 0, 8);
    synth.channelMessage(0xC1, 24, 0);
    synth.channelMessage(0xB1, 7, 30);
    synth.channelMessage(0xE1, 0, 0x50);
}

TEST(SoundFontSynth, GmGsAndXgResetMessagesAllTakeEffect) {
    auto synth = makeSynth();
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> resets{
        {"GM System On", {midi::kGmSystemOn.begin(), midi::kGmSystemOn.end()}},
        {"GS Reset", {midi::kGsReset.begin(), midi::kGsReset.end()}},
        {"XG System On", {midi::kXgSystemOn.begin(), midi::kXgSystemOn.end()}},
    };
    for (const auto& [name, message] : resets) {
        dirty(*synth);
        ASSERT_EQ(synth->channelState(1).program, 24);
        synth->systemExclusive(message);
        const ChannelState state = synth->channelState(1);
        EXPECT_EQ(state.program, 0) << name;
        EXPECT_EQ(state.bank, 0) << name;
        EXPECT_EQ(state.controllers[7], 100) << name;
        EXPECT_EQ(state.pitchBend, 8192) << name;
    }
}

TEST(SoundFontSynth, ShortMessagesSoundOffResetControllersAndSystemReset) {
    auto synth = makeSynth();
    dirty(*synth);
    synth->channelMessage(0x91, 60, 100);
    std::vector<float> left(512), right(512);
    synth->render(left.data(), right.data(), left.size());
    EXPECT_GT(synth->activeVoices(), 0);
    for (std::uint32_t channel = 0; channel < 16; ++channel) synth->shortMessage(0x78B0 + channel);  // all sound off
    synth->render(left.data(), right.data(), left.size());
    EXPECT_EQ(synth->activeVoices(), 0);
    for (std::uint32_t channel = 0; channel < 16; ++channel)
        synth->shortMessage(0x79B0 + channel);  // reset controllers
    EXPECT_EQ(synth->channelState(1).pitchBend, 8192);
    EXPECT_EQ(synth->channelState(1).program, 24);  // controllers only
    synth->shortMessage(0xFF);
    EXPECT_EQ(synth->channelState(1).program, 0);
}

// Soundfonts are recorded at different levels: each gets the gain that plays songs at the same loudness, found by
// its real name behind a link such as the system's default-GM.sf2; a gain that is set overrides it, also later.
TEST(SoundFontSynth, TheDefaultGainSuitsTheSoundFontFoundBehindLinks) {
    EXPECT_GT(defaultGainFor(test::kSoundFont), defaultGainFor("/usr/share/sounds/sf2/FluidR3_GM.sf2"));
    const std::filesystem::path link =
        std::filesystem::temp_directory_path() / ("vorlo-default-" + std::to_string(::getpid()) + ".sf2");
    std::filesystem::create_symlink(test::kSoundFont, link);
    EXPECT_EQ(defaultGainFor(link.string()), defaultGainFor(test::kSoundFont));

    SynthSettings settings;
    settings.soundFontPath = link.string();
    std::string error;
    auto synth = SoundFontSynth::create(settings, error);
    std::filesystem::remove(link);
    ASSERT_TRUE(synth) << error;
    EXPECT_NEAR(synth->gain(), defaultGainFor(test::kSoundFont), 1e-6);
    settings.soundFontPath = test::kSoundFont;
    settings.gain = 2.0;
    synth = SoundFontSynth::create(settings, error);
    ASSERT_TRUE(synth) << error;
    EXPECT_NEAR(synth->gain(), 2.0, 1e-6);
    synth->setGain(25.0);  // beyond what the synthesizer takes
    EXPECT_NEAR(synth->gain(), 10.0, 1e-6);
}

TEST(SoundFontSynth, AMissingSoundFontIsAClearError) {
    SynthSettings settings;
    settings.soundFontPath = "/nowhere/none.sf2";
    std::string error;
    EXPECT_FALSE(SoundFontSynth::create(settings, error));
    EXPECT_EQ(error, "The soundfont /nowhere/none.sf2 cannot be read.");

    ::setenv("VORLO_SOUNDFONT", "/nowhere/either.sf2", 1);
    EXPECT_EQ(findSoundFont("").error, "The soundfont /nowhere/either.sf2 (VORLO_SOUNDFONT) cannot be read.");
    ::setenv("VORLO_SOUNDFONT", test::kSoundFont, 1);
    EXPECT_EQ(findSoundFont("").path, test::kSoundFont);
    ::unsetenv("VORLO_SOUNDFONT");
    EXPECT_EQ(findSoundFont(test::kSoundFont).path, test::kSoundFont);
}

TEST(SoundFontSynth, AFileThatIsNoSoundFontIsAClearError) {
    test::TempSong notASoundFont(midi::SmfWriter(0, 96));
    SynthSettings settings;
    settings.soundFontPath = notASoundFont.path();
    std::string error;
    EXPECT_FALSE(SoundFontSynth::create(settings, error));
    EXPECT_EQ(error.rfind("The soundfont " + notASoundFont.path() + " cannot be loaded", 0), 0u) << error;
}

}  // namespace
}  // namespace vorlo::audio
