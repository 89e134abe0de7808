#include <gtest/gtest.h>

#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "midi/SongLength.h"
#include "midi/TempoMap.h"
#include "ReadForTest.h"

namespace vorlo::midi {
namespace {

// Both ways of measuring must agree: the full reader and the fast scan of `vorlo length`.
std::int64_t lengthMs(const std::vector<std::uint8_t>& bytes) {
    const MidiFile file = read(bytes);
    const std::int64_t full = songLengthMs(file, buildTempoMap(file));
    auto fast = measureSong(bytes);
    EXPECT_TRUE(std::holds_alternative<SongLength>(fast));
    if (auto* measured = std::get_if<SongLength>(&fast)) {
        EXPECT_EQ(measured->lengthMs, full);
    }
    return full;
}

TEST(TempoMap, TempoChangesInALaterTrackCountForTheWholeSong) {
    SmfWriter writer(1, 480);
    writer.addTrack().tempo(0, 500000).text(0, MetaType::TrackName, "conductor");
    // The second tempo change sits in the last track, after the notes of the first one.
    writer.addTrack().note(0, 1920, 0, 60, 100);
    writer.addTrack().tempo(960, 250000).note(1440, 480, 9, 36, 100);
    const MidiFile file = read(writer.bytes());
    const TempoMap tempo = buildTempoMap(file);
    EXPECT_EQ(tempo.ticksToMs(960), 1000);
    EXPECT_EQ(tempo.ticksToMs(1440), 1250);
    EXPECT_EQ(tempo.msToTicks(1250), 1440u);
    EXPECT_EQ(tempo.msToTicks(500), 480u);
    EXPECT_EQ(lengthMs(writer.bytes()), 1500);
}

TEST(TempoMap, LengthIsTheLastEventEndOfTrackIncluded) {
    SmfWriter writer(1, 96);
    writer.addTrack().note(0, 96, 0, 60, 100);
    writer.addTrack().note(0, 48, 1, 60, 100).endAt(384);  // a silent bar at the end still counts
    EXPECT_EQ(lengthMs(writer.bytes()), 2000);
}

TEST(TempoMap, LastOfTwoTempoChangesAtTheSameTickWins) {
    SmfWriter writer(1, 100);
    writer.addTrack().tempo(0, 1000000);
    writer.addTrack().tempo(0, 2000000).endAt(100);
    EXPECT_EQ(lengthMs(writer.bytes()), 2000);
}

TEST(TempoMap, FormatTwoPlaysItsTracksOneAfterAnother) {
    SmfWriter writer(2, 96);
    writer.addTrack().note(0, 192, 0, 60, 100);                   // 2 beats at 120 bpm = 1000 ms
    writer.addTrack().tempo(0, 1000000).note(0, 96, 0, 62, 100);  // 1 beat at 60 bpm = 1000 ms
    writer.addTrack().note(0, 96, 0, 64, 100);                    // the tempo carries on: 1000 ms
    const MidiFile file = read(writer.bytes());
    EXPECT_EQ(trackStartTicks(file), (std::vector<std::uint64_t>{0, 192, 288}));
    EXPECT_EQ(lengthMs(writer.bytes()), 3000);
}

TEST(TempoMap, SmpteDivisionRunsAtFrameRateAndIgnoresTempo) {
    SmfWriter writer = SmfWriter::smpte(0, 25, 40);  // 1000 ticks per second
    writer.addTrack().tempo(0, 250000).note(0, 2500, 0, 60, 100);
    EXPECT_EQ(lengthMs(writer.bytes()), 2500);
    const MidiFile file = read(writer.bytes());
    EXPECT_TRUE(file.division.smpte);
    EXPECT_EQ(buildTempoMap(file).msToTicks(1200), 1200u);

    // 30 drop-frame runs at 30000/1001 frames per second: 30000 frames last 1001 s.
    SmfWriter dropFrame = SmfWriter::smpte(0, 29, 2);
    dropFrame.addTrack().endAt(60000);
    EXPECT_EQ(lengthMs(dropFrame.bytes()), 1001000);
}

TEST(TempoMap, RmidLengthEqualsTheWrappedFile) {
    SmfWriter writer(0, 96);
    writer.addTrack().tempo(0, 1000000).note(0, 96 * 3, 0, 60, 100);
    EXPECT_EQ(lengthMs(wrapInRmid(writer.bytes())), 3000);
}

TEST(TempoMap, ZeroTempoEventsAreIgnored) {
    SmfWriter writer(0, 96);
    writer.addTrack().tempo(0, 0).note(0, 96, 0, 60, 100);
    EXPECT_EQ(lengthMs(writer.bytes()), 500);
}

}  // namespace
}  // namespace vorlo::midi
