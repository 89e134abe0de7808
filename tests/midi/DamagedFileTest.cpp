#include <gtest/gtest.h>

#include <random>

#include "midi/ResetMessages.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "midi/SongLength.h"
#include "midi/TempoMap.h"

namespace vorlo::midi {
namespace {

std::vector<std::uint8_t> twoTrackSong() {
    SmfWriter writer(1, 96);
    writer.addTrack().tempo(0, 1000000).text(0, MetaType::TrackName, "Broken");
    writer.addTrack().programChange(0, 0, 5).note(0, 96, 0, 60, 100).note(96, 96, 0, 62, 100).sysEx(100, kGmSystemOn);
    return writer.bytes();
}

// Offsets in twoTrackSong(): header 14 bytes; first track chunk header at 14.
constexpr std::uint32_t kFirstTrackLength = 21;

void setTrackLength(std::vector<std::uint8_t>& bytes, std::size_t chunkAt, std::uint32_t length) {
    for (int i = 0; i < 4; ++i)
        bytes[chunkAt + 4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
}

MidiFile readOk(const std::vector<std::uint8_t>& bytes) {
    ReadResult result = readMidi(bytes);
    if (auto* error = std::get_if<ReadError>(&result)) ADD_FAILURE() << error->text;
    return std::get_if<MidiFile>(&result) ? std::get<MidiFile>(std::move(result)) : MidiFile{};
}

TEST(DamagedFiles, TheTestSongIsWhatTheOffsetsAssume) {
    const std::vector<std::uint8_t> bytes = twoTrackSong();
    ASSERT_EQ(bytes[21], kFirstTrackLength);
    ASSERT_EQ(bytes[14 + 8 + kFirstTrackLength], 'M');
    const MidiFile file = readOk(bytes);
    EXPECT_TRUE(file.repairs.empty());
    EXPECT_EQ(songLengthMs(file, buildTempoMap(file)), 2000);
}

TEST(DamagedFiles, MissingEndOfTrackEndsTheTrackAtItsLastEvent) {
    SmfWriter writer(0, 96);
    writer.addTrack().note(0, 192, 0, 60, 100).withoutEndOfTrack();
    const MidiFile file = readOk(writer.bytes());
    EXPECT_EQ(file.tracks[0].events.size(), 2u);
    EXPECT_EQ(file.tracks[0].endTick, 192u);
    EXPECT_EQ(file.repairs.size(), 1u);
}

TEST(DamagedFiles, ATrackLengthThatIsTooLongOrTooShortIsOverruled) {
    for (const std::uint32_t wrong : {kFirstTrackLength - 5, kFirstTrackLength + 7, 0x7FFFFFFFu}) {
        std::vector<std::uint8_t> bytes = twoTrackSong();
        setTrackLength(bytes, 14, wrong);
        const MidiFile file = readOk(bytes);
        ASSERT_EQ(file.tracks.size(), 2u) << wrong;
        EXPECT_EQ(file.tracks[1].events.size(), 6u) << wrong;
        EXPECT_EQ(songLengthMs(file, buildTempoMap(file)), 2000) << wrong;
        EXPECT_FALSE(file.repairs.empty());
    }
}

TEST(DamagedFiles, JunkBetweenChunksIsSkipped) {
    std::vector<std::uint8_t> bytes = twoTrackSong();
    const std::vector<std::uint8_t> junk{0x00, 0x0D, 0x0A, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x04};
    bytes.insert(bytes.begin() + 14 + 8 + kFirstTrackLength, junk.begin(), junk.end());
    const MidiFile file = readOk(bytes);
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(file.tracks[1].events.size(), 6u);
}

// Two songs joined into one file (a second header after the first song's tracks, as careless concatenation makes):
// only the first song is read, and the reader says so. Read as one, every note would sound twice.
TEST(DamagedFiles, ASecondFileJoinedAfterTheFirstIsNotReadAsMoreTracks) {
    const std::vector<std::uint8_t> first = twoTrackSong();
    std::vector<std::uint8_t> joined = first;
    joined.insert(joined.end(), first.begin(), first.end());
    std::vector<std::uint8_t> wrongLength = joined;  // the first song's last track claims to run on into the second
    setTrackLength(wrongLength, 14 + 8 + kFirstTrackLength, 0x00010000);
    std::vector<std::uint8_t> withJunk = first;
    withJunk.insert(withJunk.end(), {0x00, 0x00, 0x0D, 0x0A});
    withJunk.insert(withJunk.end(), first.begin(), first.end());
    for (const auto& bytes : {joined, wrongLength, withJunk}) {
        const MidiFile file = readOk(bytes);
        ASSERT_EQ(file.tracks.size(), 2u);
        EXPECT_EQ(file.tracks[1].events.size(), 6u);
        EXPECT_EQ(songLengthMs(file, buildTempoMap(file)), 2000);
        bool told = false;
        for (const std::string& repair : file.repairs)
            told = told || repair.find("second MIDI file") != std::string::npos;
        EXPECT_TRUE(told);
    }
}

TEST(DamagedFiles, ATruncatedFileKeepsEverythingBeforeTheCut) {
    std::vector<std::uint8_t> bytes = twoTrackSong();
    // Cut inside the SysEx near the end of the second track: the events before it stay.
    bytes.resize(bytes.size() - 10);
    const MidiFile file = readOk(bytes);
    ASSERT_EQ(file.tracks.size(), 2u);
    EXPECT_EQ(file.tracks[1].events.size(), 4u);
    EXPECT_EQ(file.tracks[1].endTick, 96u);
    EXPECT_EQ(std::get<SongLength>(measureSong(bytes)).lengthMs, 1000);
}

TEST(DamagedFiles, UnreadableFilesGiveAClearError) {
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
        {{}, "not a MIDI file (no MThd header)"},
        {{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}, "not a MIDI file (no MThd header)"},
        {{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}, "the MIDI header is truncated"},
        {{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 0}, "invalid time division 0"},
        {{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 7, 0, 1, 0, 96}, "unknown MIDI file format 7"},
        {{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0xE5, 0}, "invalid SMPTE time division"},
        {{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96}, "the MIDI file has no tracks"},
    };
    for (const auto& [bytes, text] : cases) {
        ReadResult result = readMidi(bytes);
        ASSERT_TRUE(std::holds_alternative<ReadError>(result)) << text;
        EXPECT_EQ(std::get<ReadError>(result).text, text);
        auto measured = measureSong(bytes);
        ASSERT_TRUE(std::holds_alternative<ReadError>(measured)) << text;
        EXPECT_EQ(std::get<ReadError>(measured).text, text);
    }
    ReadResult missing = readMidiFile("/nonexistent/folder/song.mid");
    ASSERT_TRUE(std::holds_alternative<ReadError>(missing));
    EXPECT_EQ(std::get<ReadError>(missing).text, "No such file or directory");
}

// Under the sanitizer build every prefix and many mutations of a valid file are read from a
// buffer of exactly their size, so a read past the end is caught.
TEST(DamagedFiles, EveryPrefixAndRandomDamageIsReadSafely) {
    const std::vector<std::uint8_t> original = wrapInRmid(twoTrackSong());
    for (std::size_t length = 0; length <= original.size(); ++length) {
        const std::vector<std::uint8_t> prefix(original.begin(),
                                               original.begin() + static_cast<std::ptrdiff_t>(length));
        ReadResult result = readMidi(prefix);
        auto measured = measureSong(prefix);
        ASSERT_EQ(std::holds_alternative<MidiFile>(result), std::holds_alternative<SongLength>(measured));
        if (auto* file = std::get_if<MidiFile>(&result)) {
            EXPECT_EQ(songLengthMs(*file, buildTempoMap(*file)), std::get<SongLength>(measured).lengthMs);
        }
    }
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> damaged = original;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        ReadResult result = readMidi(damaged);
        auto measured = measureSong(damaged);
        ASSERT_EQ(std::holds_alternative<MidiFile>(result), std::holds_alternative<SongLength>(measured));
        if (auto* file = std::get_if<MidiFile>(&result)) {
            ASSERT_EQ(songLengthMs(*file, buildTempoMap(*file)), std::get<SongLength>(measured).lengthMs);
        }
    }
}

}  // namespace
}  // namespace vorlo::midi
