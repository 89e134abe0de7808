#include "midi/Lyrics.h"

#include <algorithm>

namespace vorlo::midi {
namespace {

bool isBreak(char c) { return c == '\r' || c == '\n'; }

// The line breaks of a text: "\r\n" counts as one, as does a lone "\r" or "\n".
int countBreaks(std::string_view text) {
    int breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isBreak(text[i])) continue;
        ++breaks;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return breaks;
}

// Lays syllables out in lines: one line break before a text starts a line, two a paragraph.
class LineBuilder {
public:
    explicit LineBuilder(SongLyrics& lyrics) : lyrics_(lyrics) {}

    void lineBreaks(int count) { pending_ += count; }
    void text(std::int64_t timeMs, std::string text) {
        if (lyrics_.lines.empty() || pending_ > 0) {
            LyricLine line;
            line.paragraph = !lyrics_.lines.empty() && pending_ >= 2;
            lyrics_.lines.push_back(std::move(line));
        }
        pending_ = 0;
        lyrics_.lines.back().syllables.push_back({timeMs, std::move(text)});
    }

    // One syllable: its markers, then its text split at the line breaks it holds.
    void syllable(const LyricSyllable& syllable, const std::string& decoded) {
        lineBreaks((syllable.newParagraph ? 2 : 0) + (syllable.newLine ? 1 : 0));
        std::size_t at = 0;
        while (at < decoded.size()) {
            std::size_t stop = at;
            while (stop < decoded.size() && isBreak(decoded[stop]) == isBreak(decoded[at])) ++stop;
            const std::string_view run = std::string_view(decoded).substr(at, stop - at);
            if (isBreak(decoded[at]))
                lineBreaks(countBreaks(run));
            else
                text(syllable.timeMs, std::string(run));
            at = stop;
        }
    }

private:
    SongLyrics& lyrics_;
    int pending_ = 0;
};

}  // namespace

std::string LyricLine::text() const {
    std::string out;
    for (const TimedSyllable& syllable : syllables) out += syllable.text;
    return out;
}

SongLyrics songLyrics(const SongText& text, TextCharset charset) {
    SongLyrics lyrics;
    lyrics.karaoke = !text.karaoke.empty();
    const std::vector<LyricSyllable>& words = lyrics.karaoke ? text.karaoke : text.lyrics;
    if (charset == TextCharset::Automatic) {
        std::string all;
        for (const KaraokeHeader& header : text.karaokeHeaders) all += header.text;
        for (const LyricSyllable& word : words) all += word.text;
        charset = detectCharset(all);
    }
    lyrics.charset = charset;
    // The first title is the song's; the further ones (artist, arranger) come before the other information.
    for (const char tag : {'T', 'I'}) {
        for (const KaraokeHeader& header : text.karaokeHeaders) {
            if (header.tag != tag) continue;
            std::string decoded = songTextToUtf8(header.text, charset);
            if (decoded.empty()) continue;
            if (tag == 'T' && lyrics.title.empty())
                lyrics.title = std::move(decoded);
            else
                lyrics.information.push_back(std::move(decoded));
        }
    }
    LineBuilder lines(lyrics);
    for (const LyricSyllable& word : words) lines.syllable(word, songTextToUtf8(word.text, charset));
    return lyrics;
}

bool isKaraokeName(const std::string& path) {
    if (path.size() < 4) return false;
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return extension == ".kar";
}

std::variant<SongLyrics, ReadError> readLyrics(const std::string& path, TextCharset charset) {
    ReadResult result = readMidiFile(path);
    if (auto* error = std::get_if<ReadError>(&result)) return *error;
    const MidiFile& file = std::get<MidiFile>(result);
    return songLyrics(collectSongText(file, buildTempoMap(file), isKaraokeName(path)), charset);
}

LyricsPlace lyricsPlaceAt(const SongLyrics& lyrics, std::int64_t ms) {
    // The last line begun by `ms`.
    const auto after = std::upper_bound(lyrics.lines.begin(), lyrics.lines.end(), ms,
                                        [](std::int64_t at, const LyricLine& line) { return at < line.startMs(); });
    if (after == lyrics.lines.begin()) return {};
    const LyricLine& line = *(after - 1);
    const auto sung = std::upper_bound(line.syllables.begin(), line.syllables.end(), ms,
                                       [](std::int64_t at, const TimedSyllable& s) { return at < s.timeMs; });
    return {static_cast<int>(after - 1 - lyrics.lines.begin()), static_cast<int>(sung - line.syllables.begin())};
}

}  // namespace vorlo::midi
