#include <gtest/gtest.h>

#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"
#include "midi/SongText.h"

namespace vorlo::midi {
namespace {

SongText textOf(const SmfWriter& writer, bool karaokeHint = false) {
    ReadResult result = readMidi(writer.bytes());
    const MidiFile& file = std::get<MidiFile>(result);
    return collectSongText(file, buildTempoMap(file), karaokeHint);
}

TEST(SongText, CollectsTextEventsOfAllTracksInTimeOrderWithTheirTime) {
    SmfWriter writer(1, 96);
    writer.addTrack()
        .text(0, MetaType::TrackName, "Song")
        .text(0, MetaType::Copyright, "(c) us")
        .text(192, MetaType::Marker, "B");
    writer.addTrack()
        .text(96, MetaType::Text, "hello")
        .text(96, MetaType::InstrumentName, "Flute")
        .text(100, MetaType::DeviceName, "Port B")
        .text(100, static_cast<MetaType>(0x0A), "type 10 is no text event");
    const SongText song = textOf(writer);
    ASSERT_EQ(song.texts.size(), 6u);
    EXPECT_EQ(song.texts[0].text, "Song");
    EXPECT_EQ(song.texts[1].type, MetaType::Copyright);
    EXPECT_EQ(song.texts[2].text, "hello");
    EXPECT_EQ(song.texts[2].track, 1);
    EXPECT_EQ(song.texts[2].timeMs, 500);
    EXPECT_EQ(song.texts[3].type, MetaType::InstrumentName);
    EXPECT_EQ(song.texts[4].type, MetaType::DeviceName);
    EXPECT_EQ(song.texts[5].text, "B");
    EXPECT_EQ(song.texts[5].timeMs, 1000);
    EXPECT_EQ(song.karaokeTrack, -1);
}

TEST(SongText, ReadsKaraokeHeadersAndLineMarkers) {
    SmfWriter writer(1, 96);
    writer.addTrack().text(0, MetaType::Text, "a comment, not karaoke");
    writer.addTrack()
        .text(0, MetaType::Text, "@KMIDI KARAOKE FILE")
        .text(0, MetaType::Text, "@TSea Song")
        .text(96, MetaType::Text, "\\Hel")
        .text(120, MetaType::Text, "lo")
        .text(192, MetaType::Text, "/world");
    writer.addTrack().text(48, MetaType::Lyric, "la");
    const SongText song = textOf(writer);
    EXPECT_EQ(song.karaokeTrack, 1);
    ASSERT_EQ(song.karaokeHeaders.size(), 2u);
    EXPECT_EQ(song.karaokeHeaders[1].tag, 'T');
    EXPECT_EQ(song.karaokeHeaders[1].text, "Sea Song");
    ASSERT_EQ(song.karaoke.size(), 3u);
    EXPECT_TRUE(song.karaoke[0].newParagraph);
    EXPECT_EQ(song.karaoke[0].text, "Hel");
    EXPECT_FALSE(song.karaoke[1].newLine);
    EXPECT_TRUE(song.karaoke[2].newLine);
    EXPECT_EQ(song.karaoke[2].text, "world");
    EXPECT_EQ(song.karaoke[2].timeMs, 1000);
    ASSERT_EQ(song.lyrics.size(), 1u);
    EXPECT_EQ(song.lyrics[0].timeMs, 250);
}

TEST(SongText, AKarFileWithoutHeaderUsesItsWordiestTrack) {
    SmfWriter writer(1, 96);
    writer.addTrack().text(0, MetaType::Text, "notes");
    writer.addTrack().text(10, MetaType::Text, "Twin").text(20, MetaType::Text, "kle");
    EXPECT_EQ(textOf(writer).karaokeTrack, -1);
    const SongText song = textOf(writer, true);
    EXPECT_EQ(song.karaokeTrack, 1);
    EXPECT_EQ(song.karaoke.size(), 2u);
}

}  // namespace
}  // namespace vorlo::midi
