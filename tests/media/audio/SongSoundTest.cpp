// What a listener hears around the edges of a song: loud passages, the end, a seek, the next song.
#include <gtest/gtest.h>

#include "AudioTestSupport.h"
#include "media/audio/PeakLimiter.h"

namespace vorlo::audio {
namespace {

using test::kRate;
using test::renderPeak;
using test::TempSong;

constexpr int kOrgan = 16;  // Drawbar organ: it sounds for as long as its key (or a pedal) holds it

// Every channel at full volume, four-note chords on loud instruments and the whole drum kit on every eighth note:
// far more than a sample can hold at the usual gain.
midi::SmfWriter denseSong() {
    midi::SmfWriter writer(1, 480);
    writer.addTrack().tempo(0, 500000);
    const int programs[16] = {19, 61, 30, 48, 56, 62, 81, 29, 16, 0, 27, 87, 50, 57, 90, 38};
    for (int channel = 0; channel < 16; ++channel) {
        auto& track = writer.addTrack();
        track.controlChange(0, channel, 7, 127)
            .controlChange(0, channel, 11, 127)
            .programChange(0, channel, programs[channel]);
        for (int bar = 0; bar < 2; ++bar) {
            const std::uint64_t tick = static_cast<std::uint64_t>(bar) * 1920;
            if (channel == 9) {
                for (std::uint64_t beat = 0; beat < 8; ++beat)
                    for (int key : {35, 36, 38, 40, 42, 49, 57}) track.note(tick + beat * 240, 200, 9, key, 127);
                continue;
            }
            const int root = 36 + (channel * 5 + bar * 7) % 36;
            for (int step : {0, 4, 7, 12}) track.note(tick, 1900, channel, root + step, 127);
        }
    }
    return writer;
}

std::unique_ptr<MidiEngine> engineWith(std::optional<double> gain) {
    EngineOptions options = test::offlineOptions();
    options.synth.gain = gain;
    std::string error;
    auto engine = MidiEngine::create(options, error);
    EXPECT_TRUE(engine) << error;
    return engine;
}

TEST(SongSound, ADenseSongNeverReachesFullScaleAtTheDefaultGainNorAtTheHighest) {
    TempSong song(denseSong());
    for (const std::optional<double> gain : {std::optional<double>{}, std::optional<double>{10.0}}) {
        auto engine = engineWith(gain);
        std::string error;
        ASSERT_TRUE(engine->open(song.path(), error)) << error;
        engine->play(0);
        const float peak = renderPeak(*engine, 4500);
        EXPECT_LE(peak, PeakLimiter::ceiling()) << (gain ? "gain 10" : "default gain");
        // It is loud: the limiter held it at its ceiling rather than the gain being too low to matter.
        EXPECT_GT(peak, 0.7f) << (gain ? "gain 10" : "default gain");
    }
    // The gain changes while a song plays, and the limiter keeps up with it.
    auto engine = engineWith(0.2);
    std::string error;
    ASSERT_TRUE(engine->open(song.path(), error)) << error;
    engine->play(0);
    renderPeak(*engine, 1000);
    engine->setGain(8.0);
    EXPECT_DOUBLE_EQ(engine->gain(), 8.0);
    EXPECT_LE(renderPeak(*engine, 2000), PeakLimiter::ceiling());
}

// An organ chord held by the sustain pedal on one channel and the sostenuto pedal on another, both still down when
// the song ends.
midi::SmfWriter pedalHeldAtTheEnd() {
    midi::SmfWriter writer(0, 480);
    auto& track = writer.addTrack();
    track.tempo(0, 500000).programChange(0, 0, kOrgan).programChange(0, 1, kOrgan);
    track.controlChange(0, 0, 64, 127).note(10, 400, 0, 60, 110).note(10, 400, 0, 64, 110);
    track.note(10, 400, 1, 67, 110).controlChange(100, 1, 66, 127);
    track.endAt(960);  // ends at 1 s, pedals down
    return writer;
}

TEST(SongSound, PedalsHeldAtTheEndAreLiftedSoTheSongFallsSilentWithinItsRelease) {
    TempSong song(pedalHeldAtTheEnd());
    auto engine = test::offlineEngine();
    std::string error;
    ASSERT_TRUE(engine->open(song.path(), error)) << error;
    bool ended = false;
    engine->setEndCallback([&](std::uint64_t) { ended = true; });
    engine->play(0);
    EXPECT_GT(renderPeak(*engine, 900), 0.05f);  // the held chord sounds up to the end
    renderPeak(*engine, 200);
    ASSERT_TRUE(ended);
    // An organ's release is short; the reverb's echo may ring a little longer, but no voice is left.
    renderPeak(*engine, 1000);
    EXPECT_EQ(engine->activeVoices(), 0);
    renderPeak(*engine, 2000);
    EXPECT_LT(renderPeak(*engine, 500), 1e-3f);
}

midi::SmfWriter longOrganNote() {
    midi::SmfWriter writer(0, 480);
    writer.addTrack().tempo(0, 500000).programChange(0, 0, kOrgan).note(0, 9600, 0, 60, 120);  // 10 s
    return writer;
}

// The frames of the block after a seek or a stop: only the limiter's few held-back frames may still fade out.
// FluidSynth's reset leaves a faint residue of its reverb, below -60 dBFS (the organ played at about -17 dBFS); a
// note left to its release, or an echo left to ring, stays far above that.
constexpr float kSilence = 1e-3f;

void expectSilentNextBlock(MidiEngine& engine, const char* what) {
    constexpr std::size_t kBlock = 512;
    std::vector<float> left(kBlock), right(kBlock);
    engine.renderOffline(left.data(), right.data(), kBlock);
    const std::size_t held = PeakLimiter(kRate).latencyFrames();
    float rest = 0.0f;
    for (std::size_t i = held; i < kBlock; ++i) rest = std::max({rest, std::abs(left[i]), std::abs(right[i])});
    EXPECT_LT(rest, kSilence) << what;
    EXPECT_LT(renderPeak(engine, 500), kSilence) << what;  // and nothing comes back: no release, no echo
}

TEST(SongSound, ASeekOrAStopWhileAnOrganSoundsSilencesItWithinOneBlock) {
    TempSong song(longOrganNote());
    auto engine = test::offlineEngine();
    std::string error;
    ASSERT_TRUE(engine->open(song.path(), error)) << error;
    engine->play(0);
    ASSERT_GT(renderPeak(*engine, 1000), 0.05f);
    engine->seek(3000);
    expectSilentNextBlock(*engine, "seek");

    engine->play(0);
    ASSERT_GT(renderPeak(*engine, 1000), 0.05f);
    engine->stop();
    expectSilentNextBlock(*engine, "stop");
    // Played on after the stop, the song's instrument is back (the stop may have reset the synthesizer's channels).
    engine->play(500);
    renderPeak(*engine, 100);
    EXPECT_EQ(engine->channelState(0).program, kOrgan);
}

TEST(SongSound, TheNextSongStartsWithTheDefaultProgramAndControllers) {
    midi::SmfWriter first(0, 480);
    first.addTrack()
        .tempo(0, 500000)
        .programChange(0, 0, 19)
        .programChange(0, 3, 40)
        .controlChange(0, 0, 0, 8)
        .controlChange(0, 0, 7, 30)
        .controlChange(0, 0, 1, 100)
        .controlChange(0, 0, 11, 50)
        .controlChange(0, 0, 10, 0)
        .pitchBend(0, 0, 12000)
        .note(0, 240, 0, 60, 100);
    midi::SmfWriter second(0, 480);
    second.addTrack().tempo(0, 500000).note(240, 240, 0, 64, 100).note(240, 240, 3, 67, 100);
    TempSong a(first);
    TempSong b(second);

    auto engine = test::offlineEngine();
    std::string error;
    ASSERT_TRUE(engine->open(a.path(), error)) << error;
    engine->play(0);
    renderPeak(*engine, 700);
    ASSERT_EQ(engine->channelState(0).program, 19);

    ASSERT_TRUE(engine->open(b.path(), error)) << error;
    engine->play(0);
    renderPeak(*engine, 100);
    for (const int channel : {0, 3}) {
        const ChannelState state = engine->channelState(channel);
        EXPECT_EQ(state.program, 0) << channel;
        EXPECT_EQ(state.bank, 0) << channel;
        EXPECT_EQ(state.pitchBend, 8192) << channel;
        EXPECT_EQ(state.controllers[7], 100) << channel;   // volume
        EXPECT_EQ(state.controllers[1], 0) << channel;     // modulation
        EXPECT_EQ(state.controllers[11], 127) << channel;  // expression
        EXPECT_EQ(state.controllers[10], 64) << channel;   // pan
    }
}

}  // namespace
}  // namespace vorlo::audio
