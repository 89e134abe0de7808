#include <gtest/gtest.h>

#include <algorithm>

#include "midi/ResetMessages.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "ReadForTest.h"

namespace vorlo::midi {
namespace {

TEST(SmfReader, ReadsHeaderAndChannelEventsWithRunningStatus) {
    SmfWriter writer(1, 384);
    writer.addTrack().tempo(0, 600000);
    writer.addTrack()
        .programChange(0, 2, 19)
        .noteOn(0, 2, 60, 100)
        .noteOn(0, 2, 64, 90)  // written with running status
        .pitchBend(10, 2, 0x2001)
        .noteOff(384, 2, 60)
        .noteOff(384, 2, 64);
    const MidiFile file = read(writer.bytes());
    EXPECT_EQ(file.format, 1);
    EXPECT_EQ(file.declaredTrackCount, 2);
    EXPECT_EQ(file.division.ticksPerQuarter, 384);
    ASSERT_EQ(file.tracks.size(), 2u);
    const auto& events = file.tracks[1].events;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].status, 0xC2);
    EXPECT_EQ(events[0].data1, 19);
    EXPECT_EQ(events[2].status, 0x92);
    EXPECT_EQ(events[2].data1, 64);
    EXPECT_EQ(events[2].data2, 90);
    EXPECT_EQ(events[3].status, 0xE2);
    EXPECT_EQ(events[3].data1, 0x01);
    EXPECT_EQ(events[3].data2, 0x40);
    EXPECT_EQ(events[3].tick, 10u);
    EXPECT_EQ(events[5].tick, 384u);
    EXPECT_EQ(file.tracks[1].endTick, 384u);
    EXPECT_TRUE(file.repairs.empty());
}

// Other readers drop running status after a meta or SysEx event, as the format says: our writer
// must not rely on it there.
TEST(SmfWriter, WritesTheStatusAgainAfterMetaAndSysExEvents) {
    SmfWriter writer(0, 96);
    writer.addTrack().noteOn(0, 0, 60, 100).noteOn(0, 0, 62, 100).text(0, MetaType::Marker, "m").noteOn(0, 0, 64, 100);
    const std::vector<std::uint8_t> bytes = writer.bytes();
    const std::vector<std::uint8_t> expected{0x00, 0x90, 60, 100, 0x00, 62,   100, 0x00,
                                             0xFF, 0x06, 1,  'm', 0x00, 0x90, 64,  100};
    EXPECT_TRUE(std::search(bytes.begin(), bytes.end(), expected.begin(), expected.end()) != bytes.end());
}

TEST(SmfReader, KeepsEveryMetaEventWithItsData) {
    SmfWriter writer(0, 96);
    const std::uint8_t keySignature[2] = {0xFE, 1};
    const std::uint8_t vendor[3] = {0x00, 0x20, 0x29};
    writer.addTrack()
        .text(0, MetaType::TrackName, "Piano")
        .meta(0, static_cast<std::uint8_t>(MetaType::KeySignature), keySignature)
        .timeSignature(0, 3, 2)
        .meta(5, static_cast<std::uint8_t>(MetaType::SequencerSpecific), vendor)
        .text(7, MetaType::Marker, "Chorus");
    const MidiFile file = read(writer.bytes());
    const auto& events = file.tracks[0].events;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_TRUE(events[0].isMeta(MetaType::TrackName));
    EXPECT_EQ(file.textOf(events[0]), "Piano");
    EXPECT_TRUE(events[1].isMeta(MetaType::KeySignature));
    EXPECT_EQ(file.payloadOf(events[1])[0], 0xFE);
    EXPECT_TRUE(events[2].isMeta(MetaType::TimeSignature));
    EXPECT_EQ(file.payloadOf(events[2])[0], 3);
    EXPECT_TRUE(events[3].isMeta(MetaType::SequencerSpecific));
    EXPECT_EQ(file.payloadOf(events[3]).size(), 3u);
    EXPECT_EQ(file.textOf(events[4]), "Chorus");
    EXPECT_EQ(events[4].tick, 7u);
}

TEST(SmfReader, JoinsSysExContinuationPacketsAndKeepsEscapes) {
    SmfWriter writer(0, 96);
    writer.addTrack()
        .sysEx(0, kGsReset)
        // A GM System On split into an F0 packet and an F7 continuation packet.
        .raw(10, {0xF0, 0x03, 0x7E, 0x7F, 0x09})
        .raw(12, {0xF7, 0x02, 0x01, 0xF7})
        // An escape: a raw message that is not part of any SysEx.
        .raw(20, {0xF7, 0x02, 0xC0, 0x05});
    const MidiFile file = read(writer.bytes());
    const auto& events = file.tracks[0].events;
    ASSERT_EQ(events.size(), 3u);
    const auto gs = file.payloadOf(events[0]);
    EXPECT_EQ(std::vector<std::uint8_t>(gs.begin(), gs.end()),
              std::vector<std::uint8_t>(kGsReset.begin(), kGsReset.end()));
    EXPECT_EQ(events[1].status, kStatusSysEx);
    EXPECT_EQ(events[1].tick, 12u);
    const auto gm = file.payloadOf(events[1]);
    EXPECT_EQ(std::vector<std::uint8_t>(gm.begin(), gm.end()),
              std::vector<std::uint8_t>(kGmSystemOn.begin(), kGmSystemOn.end()));
    EXPECT_EQ(events[2].status, kStatusEscape);
    EXPECT_EQ(file.payloadOf(events[2])[0], 0xC0);
}

TEST(SmfReader, ClosesASplitSysExWhoseLastPacketNeverComes) {
    SmfWriter writer(0, 96);
    writer.addTrack().raw(0, {0xF0, 0x03, 0x7E, 0x7F, 0x09}).noteOn(5, 0, 60, 100);
    const MidiFile file = read(writer.bytes());
    const auto& events = file.tracks[0].events;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].status, kStatusSysEx);
    const auto bytes = file.payloadOf(events[0]);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
              (std::vector<std::uint8_t>{0xF0, 0x7E, 0x7F, 0x09, 0xF7}));
    EXPECT_EQ(events[1].status, 0x90);
}

TEST(SmfReader, UnwrapsRiffRmidWalkingPaddedChunks) {
    SmfWriter writer(0, 96);
    writer.addTrack().text(0, MetaType::TrackName, "odd").note(0, 96, 0, 60, 100);
    const std::vector<std::uint8_t> smf = writer.bytes();
    ASSERT_EQ(smf.size() % 2, 1u) << "the test needs an odd-sized data chunk";
    std::vector<std::uint8_t> rmid = wrapInRmid(smf);
    EXPECT_EQ(rmid.size() % 2, 0u);
    // A LIST chunk of odd length (so followed by a pad byte) before the data chunk.
    const std::vector<std::uint8_t> list{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    rmid.insert(rmid.begin() + 12, list.begin(), list.end());
    const MidiFile file = read(rmid);
    EXPECT_TRUE(file.rmidContainer);
    ASSERT_EQ(file.tracks.size(), 1u);
    EXPECT_EQ(file.textOf(file.tracks[0].events[0]), "odd");
    EXPECT_EQ(file.tracks[0].endTick, 96u);
    EXPECT_TRUE(file.repairs.empty());
}

TEST(SmfReader, FindsTheHeaderBehindJunkAndSkipsUnknownChunks) {
    SmfWriter writer(1, 96);
    writer.addTrack().tempo(0, 400000);
    writer.addTrack().note(0, 96, 0, 60, 100);
    std::vector<std::uint8_t> bytes = writer.bytes();
    // An alien chunk between the header and the first track, and 128 bytes of junk in front.
    const std::vector<std::uint8_t> alien{'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2};
    bytes.insert(bytes.begin() + 14, alien.begin(), alien.end());
    bytes.insert(bytes.begin(), 128, 0x00);
    const MidiFile file = read(bytes);
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(file.tracks[1].events.size(), 2u);
    EXPECT_EQ(file.repairs.size(), 1u);  // only the junk in front is worth telling
}

}  // namespace
}  // namespace vorlo::midi
