#pragma once
// The words of a song laid out for singing along: lines of timed syllables, paragraphs, and a karaoke file's title
// and information, decoded to UTF-8.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "midi/SmfReader.h"
#include "midi/SongText.h"
#include "midi/TextEncoding.h"

namespace vorlo::midi {

struct TimedSyllable {
    std::int64_t timeMs = 0;
    std::string text;  // UTF-8, without line markers
};

struct LyricLine {
    bool paragraph = false;  // the first line of a paragraph (after the song's first line)
    std::vector<TimedSyllable> syllables;

    std::int64_t startMs() const { return syllables.empty() ? 0 : syllables.front().timeMs; }
    std::string text() const;
};

struct SongLyrics {
    bool karaoke = false;                  // from the karaoke text of a .kar file, not from lyric events
    std::string title;                     // the first "@T" header of a karaoke file
    std::vector<std::string> information;  // the further "@T" headers, then the "@I" ones
    std::vector<LyricLine> lines;
    TextCharset charset = TextCharset::Automatic;  // what the texts were read as (never Automatic once read)

    bool empty() const { return lines.empty(); }
};

// The lyrics of a song: the karaoke text when the file has one (a "\" starts a paragraph, a "/" a line), else its
// lyric events, where a line break (CR or LF) in a syllable ends the line and two of them (or an empty line) end
// the paragraph. Texts are read in `charset`; Automatic decides once for all of the song's words, so one odd
// syllable does not read differently from the rest.
SongLyrics songLyrics(const SongText& text, TextCharset charset);

// Whether a file name says karaoke (".kar", in any case): its text events are then read as karaoke even without
// an "@K" header.
bool isKaraokeName(const std::string& path);

// The lyrics of the song in the file at `path`, or why it could not be read.
std::variant<SongLyrics, ReadError> readLyrics(const std::string& path, TextCharset charset);

// Where the singing stands at `ms`: the line sung and how many of its syllables have begun (at least one); line -1
// before the first syllable. A line stays the one sung until the next line begins.
struct LyricsPlace {
    int line = -1;
    int sung = 0;

    bool operator==(const LyricsPlace&) const = default;
};
LyricsPlace lyricsPlaceAt(const SongLyrics& lyrics, std::int64_t ms);

}  // namespace vorlo::midi
