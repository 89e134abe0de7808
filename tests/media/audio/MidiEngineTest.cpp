#include <gtest/gtest.h>

#include "AudioTestSupport.h"

namespace vorlo::audio {
namespace {

using test::kRate;
using test::renderPeak;
using test::TempSong;

// 480 ticks per quarter at 120 bpm: one tick is 1.0417 ms.
midi::SmfWriter sustainedChord() {
    midi::SmfWriter writer(1, 480);
    writer.addTrack().tempo(0, 500000);
    writer.addTrack().programChange(0, 0, 0).note(480, 1920, 0, 60, 110).note(480, 1920, 0, 67, 110);  // 0.5 s .. 2.5 s
    return writer;
}

TEST(MidiEngine, RendersSoundWhereNotesPlayAndSilenceAfterAStop) {
    auto engine = test::offlineEngine();
    TempSong song(sustainedChord());
    std::string error;
    ASSERT_TRUE(engine->open(song.path(), error)) << error;
    EXPECT_EQ(engine->lengthMs(), 2500);
    engine->play(0);
    EXPECT_LT(renderPeak(*engine, 450), 1e-6f);  // before the first note
    EXPECT_GT(renderPeak(*engine, 300), 0.01f);  // the chord sounds
    engine->stop();
    renderPeak(*engine, 10);
    EXPECT_EQ(engine->activeVoices(), 0);
    renderPeak(*engine, 1000);  // what is left of the reverb dies away
    EXPECT_LT(renderPeak(*engine, 200), 1e-4f);
    EXPECT_FALSE(engine->isPlaying());
}

TEST(MidiEngine, SeekToTheMiddleGivesTheSameInstrumentsAsPlayingThere) {
    midi::SmfWriter writer(1, 480);
    writer.addTrack().tempo(0, 500000).tempo(960, 400000);
    auto& strings = writer.addTrack();
    strings.controlChange(0, 1, 0, 8)
        .programChange(0, 1, 48)
        .controlChange(100, 1, 7, 77)
        .controlChange(200, 1, 10, 20);
    strings.controlChange(300, 1, 101, 0).controlChange(300, 1, 100, 0).controlChange(300, 1, 6, 7);  // bend range 7
    strings.pitchBend(400, 1, 3000).note(500, 4000, 1, 64, 90).controlChange(1500, 1, 64, 127);
    strings.programChange(3000, 1, 49).pitchBend(3000, 1, 8192);  // after the seek target
    auto& drums = writer.addTrack();
    drums.note(0, 100, 9, 36, 100).controlChange(700, 9, 7, 50).controlChange(700, 9, 11, 90);
    drums.controlChange(800, 2, 99, 1).controlChange(800, 2, 98, 8).controlChange(800, 2, 6, 40);  // an NRPN
    drums.programChange(900, 2, 73).channelPressure(1000, 2, 60).pitchBend(1100, 2, 100);
    TempSong song(writer);
    const std::int64_t targetMs = 1500;  // tick 1650: between events

    std::string error;
    auto played = test::offlineEngine();
    ASSERT_TRUE(played->open(song.path(), error)) << error;
    bool ended = false;
    played->setEndCallback([&](std::uint64_t) { ended = true; });
    played->play(0, targetMs);
    renderPeak(*played, 2000);
    ASSERT_TRUE(ended);

    auto sought = test::offlineEngine();
    ASSERT_TRUE(sought->open(song.path(), error)) << error;
    // A different song's state first: the seek must not keep any of it.
    sought->sendShortMessage(0x0530C1);
    sought->sendShortMessage(0x0040B2);
    sought->seek(targetMs);
    EXPECT_EQ(sought->positionMs(), targetMs);

    for (int channel = 0; channel < 16; ++channel) {
        const ChannelState a = played->channelState(channel);
        const ChannelState b = sought->channelState(channel);
        EXPECT_EQ(a.program, b.program) << "channel " << channel;
        EXPECT_EQ(a.bank, b.bank) << "channel " << channel;
        EXPECT_EQ(a.pitchBend, b.pitchBend) << "channel " << channel;
        for (int controller = 0; controller < 128; ++controller) {
            if (controller == 64 || controller == 66) continue;  // the end of the first play lifted the pedals
            EXPECT_EQ(a.controllers[static_cast<std::size_t>(controller)],
                      b.controllers[static_cast<std::size_t>(controller)])
                << "channel " << channel << " controller " << controller;
        }
    }
    const ChannelState strings1 = sought->channelState(1);
    EXPECT_EQ(strings1.program, 48);
    EXPECT_EQ(strings1.bank, 8);
    EXPECT_EQ(strings1.pitchBend, 3000);
    EXPECT_EQ(strings1.controllers[64], 127);
    EXPECT_EQ(sought->channelState(2).program, 73);

    // Played on from the seek, the song sounds: the held string note is not restarted, the
    // following events still come.
    sought->play(targetMs);
    renderPeak(*sought, 1500);
    EXPECT_EQ(sought->channelState(1).program, 49);
}

TEST(MidiEngine, ReportsTheEndAtTheMusicalEndWithinOneBlock) {
    midi::SmfWriter writer(0, 480);
    writer.addTrack().tempo(0, 600000).note(0, 480, 0, 72, 120).note(480, 700, 0, 76, 120);  // ends at 1180 ticks
    TempSong song(writer);
    auto engine = test::offlineEngine();
    std::string error;
    ASSERT_TRUE(engine->open(song.path(), error)) << error;
    const std::int64_t length = engine->lengthMs();
    EXPECT_EQ(length, 1475);
    std::int64_t renderedAtEnd = -1;
    std::uint64_t reportedId = 0;
    std::int64_t rendered = 0;
    engine->setEndCallback([&](std::uint64_t id) {
        reportedId = id;
        renderedAtEnd = rendered;
    });
    const std::uint64_t id = engine->play(0);
    constexpr std::size_t kBlock = 512;
    std::vector<float> left(kBlock), right(kBlock);
    while (rendered < 3 * kRate) {
        engine->renderOffline(left.data(), right.data(), kBlock);
        rendered += static_cast<std::int64_t>(kBlock);
    }
    EXPECT_EQ(reportedId, id);
    // The report comes while the block that holds the end renders (`rendered` counts the blocks
    // before it), not when the last note's release has faded seconds later.
    const std::int64_t endFrame = length * kRate / 1000;
    EXPECT_LE(renderedAtEnd, endFrame);
    EXPECT_GT(renderedAtEnd + static_cast<std::int64_t>(kBlock), endFrame);
    EXPECT_EQ(engine->positionMs(), length);
}

TEST(MidiEngine, AFileThatCannotBeReadClosesTheSongWithItsReason) {
    auto engine = test::offlineEngine();
    TempSong good(sustainedChord());
    std::string error;
    ASSERT_TRUE(engine->open(good.path(), error));
    EXPECT_FALSE(engine->open("/nowhere/missing.mid", error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(engine->isOpen());
    EXPECT_EQ(engine->play(0), 0u);
    EXPECT_EQ(engine->lengthMs(), 0);
}

}  // namespace
}  // namespace vorlo::audio
