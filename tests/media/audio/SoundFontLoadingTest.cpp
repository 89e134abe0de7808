// The soundfont's samples load as songs need them, on the engine's preparation thread: what is heard must be what a
// synthesizer with every sample in memory plays, from the first note on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "AudioTestSupport.h"
#include "media/audio/SoundFontPadding.h"
#include "media/audio/SoundFontSynth.h"

namespace vorlo::audio {
namespace {

using test::TempSong;

// Notes at the very start on three instruments and a kit, and an instrument first met late in the song.
midi::SmfWriter bandSong() {
    midi::SmfWriter writer(1, 480);
    writer.addTrack().tempo(0, 500000);
    writer.addTrack()
        .programChange(0, 0, 48)
        .note(0, 960, 0, 60, 110)
        .programChange(960, 0, 73)
        .note(960, 480, 0, 72, 100);
    writer.addTrack().controlChange(0, 1, 0, 8).programChange(0, 1, 61).note(0, 600, 1, 55, 100);
    writer.addTrack().note(0, 120, 9, 36, 120).note(240, 120, 9, 38, 120);
    return writer;
}

// The system's General MIDI soundfont (fluid-soundfont-gm): 148 MB, its samples padded as the format asks.
const char* const kLargeSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

std::unique_ptr<MidiEngine> engineLoading(bool onDemand) {
    EngineOptions options = test::offlineOptions();
    options.synth.soundFontPath = kLargeSoundFont;
    options.synth.loadSamplesOnDemand = onDemand;
    std::string error;
    auto engine = MidiEngine::create(options, error);
    EXPECT_TRUE(engine) << error;
    return engine;
}

std::vector<float> render(MidiEngine& engine, int ms) {
    std::vector<float> out;
    std::vector<float> left(256), right(256);
    for (int frames = ms * test::kRate / 1000; frames > 0; frames -= 256) {
        engine.renderOffline(left.data(), right.data(), 256);
        for (std::size_t i = 0; i < 256; ++i) {
            out.push_back(left[i]);
            out.push_back(right[i]);
        }
    }
    return out;
}

float peakOf(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    float peak = 0.0f;
    for (std::size_t i = from; i < to && i < samples.size(); ++i) peak = std::max(peak, std::abs(samples[i]));
    return peak;
}

TEST(SoundFontLoading, ASongPlayedAtOnceSoundsAsWithEverySampleInMemoryFromItsFirstNote) {
    TempSong song(bandSong());
    auto lazy = engineLoading(true);
    auto full = engineLoading(false);
    ASSERT_TRUE(lazy->loadsSamplesOnDemand());
    ASSERT_FALSE(full->loadsSamplesOnDemand());
    std::string error;
    ASSERT_TRUE(lazy->open(song.path(), error)) << error;
    ASSERT_TRUE(full->open(song.path(), error)) << error;
    // Played straight after the open, while its instruments may still be loading.
    lazy->play(0);
    full->play(0);
    const std::vector<float> heard = render(*lazy, 2500);
    const std::vector<float> expected = render(*full, 2500);
    ASSERT_EQ(heard.size(), expected.size());
    const std::size_t tenMs = 2 * test::kRate / 100;
    EXPECT_GT(peakOf(heard, 0, tenMs), 0.01f);  // the first notes sound in the first 10 ms
    float largestDifference = 0.0f;
    for (std::size_t i = 0; i < heard.size(); ++i)
        largestDifference = std::max(largestDifference, std::abs(heard[i] - expected[i]));
    // The synthesizer's own on-demand samples differ from whole ones by rounding at most (well below -60 dB).
    EXPECT_LT(largestDifference, 1e-4f);
}

TEST(SoundFontLoading, ASongKeepsItsInstrumentsLoadedUntilTheNextSongReplacesThem) {
    TempSong band(bandSong());
    midi::SmfWriter soloWriter(0, 480);
    soloWriter.addTrack().programChange(0, 3, 40).note(0, 480, 3, 67, 100).programChange(0, 9, 1);
    TempSong solo(soloWriter);
    auto engine = test::offlineEngine();
    std::string error;

    ASSERT_TRUE(engine->open(band.path(), error)) << error;
    render(*engine, 10);  // an offline pull waits for the instruments
    EXPECT_TRUE(engine->isPrepared());
    // Bank 8 is not in the soundfont: program 61 of bank 0 stands in, as on a program change. The flute comes at
    // one second, and is in memory before the song starts.
    const std::vector<PresetRef> bandPresets{{0, 0}, {0, 48}, {0, 61}, {0, 73}, {kPercussionBank, 0}};
    EXPECT_EQ(engine->keptPresets(), bandPresets);

    ASSERT_TRUE(engine->open(solo.path(), error)) << error;
    render(*engine, 10);
    // The soundfont has no kit 1: the standard kit stands in.
    const std::vector<PresetRef> soloPresets{{0, 0}, {0, 40}, {kPercussionBank, 0}};
    EXPECT_EQ(engine->keptPresets(), soloPresets);
}

TEST(SoundFontLoading, ASoundFontCutShortIsAClearError) {
    std::ifstream whole(test::kSoundFont, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(whole), std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 1000u);
    const std::string cut =
        (std::filesystem::temp_directory_path() / ("vorlo-cut-" + std::to_string(::getpid()) + ".sf2")).string();
    std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
    EngineOptions options = test::offlineOptions();
    options.synth.soundFontPath = cut;
    std::string error;
    EXPECT_FALSE(MidiEngine::create(options, error));
    EXPECT_EQ(error.rfind("The soundfont " + cut + " cannot be loaded", 0), 0u) << error;
    std::filesystem::remove(cut);
}

// A soundfont whose samples lack the silence after them would click at their ends when read one by one: it is
// loaded whole.
TEST(SoundFontLoading, OnlyASoundFontWithSilenceAfterEverySampleIsReadOnDemand) {
    EXPECT_TRUE(samplesArePadded(kLargeSoundFont));
    EXPECT_FALSE(samplesArePadded(test::kSoundFont));  // its samples follow each other without a gap
    test::TempSong notASoundFont(midi::SmfWriter(0, 96));
    EXPECT_FALSE(samplesArePadded(notASoundFont.path()));
    EXPECT_FALSE(samplesArePadded("/nowhere/none.sf2"));

    SynthSettings settings;
    settings.soundFontPath = test::kSoundFont;
    std::string error;
    auto small = SoundFontSynth::create(settings, error);
    ASSERT_TRUE(small) << error;
    EXPECT_FALSE(small->loadsSamplesOnDemand());
    // Its instruments are all in memory already; a song still gets ready.
    EXPECT_TRUE(small->keepLoaded({{0, 48}}));
}

}  // namespace
}  // namespace vorlo::audio
