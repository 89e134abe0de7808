#include <gtest/gtest.h>

#include "ReadForTest.h"
#include "midi/Lyrics.h"
#include "midi/SmfWriter.h"

namespace vorlo::midi {
namespace {

SongLyrics lyricsOf(const SmfWriter& writer, TextCharset charset = TextCharset::Automatic, bool karaokeHint = false) {
    const MidiFile file = read(writer.bytes());
    return songLyrics(collectSongText(file, buildTempoMap(file), karaokeHint), charset);
}

std::vector<std::string> lineTexts(const SongLyrics& lyrics) {
    std::vector<std::string> texts;
    for (const LyricLine& line : lyrics.lines) texts.push_back((line.paragraph ? "\\" : "") + line.text());
    return texts;
}

// A karaoke file as karaoke programs write it: the headers and the words as text events of their own track.
SmfWriter karaokeSong() {
    SmfWriter writer(1, 96);
    // 120 beats a minute for two beats, then 60: a beat is 500 ms, then 1000 ms.
    writer.addTrack().tempo(0, 500000).tempo(192, 1000000);
    writer.addTrack()
        .text(0, MetaType::Text, "@KMIDI KARAOKE FILE")
        .text(0, MetaType::Text, "@V0100")
        .text(0, MetaType::Text, "@TSea Song")
        .text(0, MetaType::Text, "@TThe Authors")
        .text(0, MetaType::Text, "@IFree to share")
        .text(0, MetaType::Text, "@LENGL")
        .text(96, MetaType::Text, "\\Hel")
        .text(144, MetaType::Text, "lo ")
        .text(192, MetaType::Text, "sea")
        .text(288, MetaType::Text, "/Good")
        .text(336, MetaType::Text, "bye")
        .text(384, MetaType::Text, "\\Waves");
    return writer;
}

TEST(Lyrics, KaraokeTextGivesTitleInformationLinesAndParagraphsTimedByTheTempoMap) {
    const SongLyrics lyrics = lyricsOf(karaokeSong());
    EXPECT_TRUE(lyrics.karaoke);
    EXPECT_EQ(lyrics.title, "Sea Song");
    EXPECT_EQ(lyrics.information, (std::vector<std::string>{"The Authors", "Free to share"}));
    EXPECT_EQ(lineTexts(lyrics), (std::vector<std::string>{"Hello sea", "Goodbye", "\\Waves"}));
    // Tick 96 is 500 ms; 144 is 750; 192 is 1000 where the tempo halves; 288 is 2000, 336 2500, 384 3000.
    const std::vector<std::int64_t> expected{500, 750, 1000, 2000, 2500, 3000};
    std::vector<std::int64_t> times;
    for (const LyricLine& line : lyrics.lines)
        for (const TimedSyllable& syllable : line.syllables) times.push_back(syllable.timeMs);
    EXPECT_EQ(times, expected);
}

TEST(Lyrics, ThePlaceSungFollowsTheSyllablesAndStaysOnALineUntilTheNextBegins) {
    const SongLyrics lyrics = lyricsOf(karaokeSong());
    EXPECT_EQ(lyricsPlaceAt(lyrics, 0), (LyricsPlace{-1, 0}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 499), (LyricsPlace{-1, 0}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 500), (LyricsPlace{0, 1}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 750), (LyricsPlace{0, 2}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 1999), (LyricsPlace{0, 3}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 2000), (LyricsPlace{1, 1}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 2600), (LyricsPlace{1, 2}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 3000), (LyricsPlace{2, 1}));
    EXPECT_EQ(lyricsPlaceAt(lyrics, 999999), (LyricsPlace{2, 1}));
    EXPECT_EQ(lyricsPlaceAt(SongLyrics{}, 1000), (LyricsPlace{-1, 0}));
}

TEST(Lyrics, LyricEventsBreakLinesAtLineBreaksAndParagraphsAtEmptyLines) {
    SmfWriter writer(0, 96);
    writer.addTrack()
        .text(0, MetaType::Text, "not a lyric")
        .text(0, MetaType::Lyric, "One ")
        .text(48, MetaType::Lyric, "line\r")
        .text(96, MetaType::Lyric, "Two\r\n")
        .text(120, MetaType::Lyric, "\r")
        .text(144, MetaType::Lyric, "Three\nFour")
        .text(192, MetaType::Lyric, "")
        .text(240, MetaType::Lyric, "/Five")
        .text(288, MetaType::Lyric, "\\Six");
    const SongLyrics lyrics = lyricsOf(writer);
    EXPECT_FALSE(lyrics.karaoke);
    EXPECT_EQ(lineTexts(lyrics), (std::vector<std::string>{"One line", "Two", "\\Three", "Four", "Five", "\\Six"}));
    // The line split out of one event starts when that event does.
    EXPECT_EQ(lyrics.lines[3].startMs(), lyrics.lines[2].startMs());
}

TEST(Lyrics, ASongWithoutWordsHasNoLines) {
    SmfWriter writer(0, 96);
    writer.addTrack().text(0, MetaType::TrackName, "Instrumental").note(0, 96, 0, 60, 100);
    EXPECT_TRUE(lyricsOf(writer).empty());
    // A .kar name alone does not make a title or words out of nothing.
    EXPECT_TRUE(lyricsOf(writer, TextCharset::Automatic, true).empty());
}

TEST(Lyrics, EncodingsAreDecidedOnceForTheWholeSongOrAsChosen) {
    SmfWriter japanese(0, 96);
    // Shift-JIS: "sa", "ku" in hiragana, then a half-width katakana "a", which alone reads as Windows Latin-1.
    japanese.addTrack()
        .text(0, MetaType::Lyric, "\x82\xb3")
        .text(48, MetaType::Lyric, "\x82\xad")
        .text(96, MetaType::Lyric, "\xb1");
    EXPECT_EQ(songTextToUtf8("\xb1"), "\u00b1");
    const SongLyrics sakura = lyricsOf(japanese);
    EXPECT_EQ(sakura.charset, TextCharset::ShiftJis);
    EXPECT_EQ(lineTexts(sakura), (std::vector<std::string>{"\u3055\u304f\uff71"}));

    SmfWriter russian(0, 96);
    russian.addTrack().text(0, MetaType::Lyric, "\xcc\xe8\xf0");                                // "Mir" in Windows-1251
    EXPECT_EQ(lineTexts(lyricsOf(russian)), (std::vector<std::string>{"\u00cc\u00e8\u00f0"}));  // read as Western
    EXPECT_EQ(lineTexts(lyricsOf(russian, TextCharset::Windows1251)), (std::vector<std::string>{"\u041c\u0438\u0440"}));
    // Bytes the chosen encoding cannot read become replacement characters; the rest stays.
    EXPECT_EQ(lineTexts(lyricsOf(russian, TextCharset::Utf8)), (std::vector<std::string>{"\ufffd\ufffd\ufffd"}));
    EXPECT_EQ(songTextToUtf8("ok\x81", TextCharset::ShiftJis), "ok\ufffd");
}

TEST(Lyrics, KaraokeNamesAreToldInAnyCase) {
    EXPECT_TRUE(isKaraokeName("song.kar"));
    EXPECT_TRUE(isKaraokeName("/music/SONG.KAR"));
    EXPECT_FALSE(isKaraokeName("song.mid"));
    EXPECT_FALSE(isKaraokeName("kar"));
}

}  // namespace
}  // namespace vorlo::midi
