#pragma once
// The words of a song: text meta events (types 1 to 9), lyric events and karaoke (.kar) texts,
// each with its track and time, for the information window and a later lyrics display.
#include <cstdint>
#include <string>
#include <vector>

#include "midi/MidiFile.h"
#include "midi/TempoMap.h"

namespace vorlo::midi {

struct TextEvent {
    int track = 0;
    std::uint64_t tick = 0;  // on the song's timeline
    std::int64_t timeMs = 0;
    MetaType type = MetaType::Text;
    std::string text;
};

// One piece of sung text. Karaoke files mark a new paragraph with "\" and a new line with "/".
struct LyricSyllable {
    std::int64_t timeMs = 0;
    std::uint64_t tick = 0;
    std::string text;  // without the markers
    bool newParagraph = false;
    bool newLine = false;
};

// "@" headers of karaoke files: @K file type, @V version, @I information, @L language, @T title...
struct KaraokeHeader {
    char tag = 0;
    std::string text;
};

struct SongText {
    std::vector<TextEvent> texts;       // every text event of types 1 to 9, in time order
    std::vector<LyricSyllable> lyrics;  // lyric meta events (type 5)
    std::vector<KaraokeHeader> karaokeHeaders;
    std::vector<LyricSyllable> karaoke;  // the karaoke text events
    int karaokeTrack = -1;
};

const char* metaTypeName(MetaType type);

// `karaokeHint`: the file came as .kar, so its text events are read as karaoke even without
// an "@K" header.
SongText collectSongText(const MidiFile& file, const TempoMap& tempo, bool karaokeHint = false);

}  // namespace vorlo::midi
