#include "midi/SongText.h"

#include <algorithm>

namespace vorlo::midi {
namespace {

bool isTextType(std::uint8_t type) { return type >= 0x01 && type <= 0x09; }

LyricSyllable syllableOf(const TextEvent& event) {
    LyricSyllable syllable{event.timeMs, event.tick, event.text, false, false};
    if (!syllable.text.empty() && (syllable.text.front() == '\\' || syllable.text.front() == '/')) {
        (syllable.text.front() == '\\' ? syllable.newParagraph : syllable.newLine) = true;
        syllable.text.erase(0, 1);
    }
    return syllable;
}

// The karaoke track: the one with the "@K" header; for a .kar file without one, the track with
// the most plain text events.
int findKaraokeTrack(const std::vector<TextEvent>& texts, std::size_t trackCount, bool karaokeHint) {
    for (const TextEvent& text : texts)
        if (text.type == MetaType::Text && text.text.rfind("@K", 0) == 0) return text.track;
    if (!karaokeHint) return -1;
    std::vector<int> counts(trackCount, 0);
    for (const TextEvent& text : texts)
        if (text.type == MetaType::Text) ++counts[static_cast<std::size_t>(text.track)];
    const auto best = std::max_element(counts.begin(), counts.end());
    return (best == counts.end() || *best == 0) ? -1 : static_cast<int>(best - counts.begin());
}

}  // namespace

const char* metaTypeName(MetaType type) {
    switch (type) {
        case MetaType::Text: return "Text";
        case MetaType::Copyright: return "Copyright";
        case MetaType::TrackName: return "Track name";
        case MetaType::InstrumentName: return "Instrument";
        case MetaType::Lyric: return "Lyric";
        case MetaType::Marker: return "Marker";
        case MetaType::CuePoint: return "Cue point";
        case MetaType::ProgramName: return "Program name";
        case MetaType::DeviceName: return "Device name";
        default: return "Meta";
    }
}

SongText collectSongText(const MidiFile& file, const TempoMap& tempo, bool karaokeHint) {
    SongText song;
    const std::vector<std::uint64_t> starts = trackStartTicks(file);
    for (std::size_t t = 0; t < file.tracks.size(); ++t) {
        for (const MidiEvent& event : file.tracks[t].events) {
            if (!event.isMeta() || !isTextType(event.data1)) continue;
            const std::uint64_t tick = std::min(kMaxTick, starts[t] + event.tick);
            song.texts.push_back({static_cast<int>(t), tick, tempo.ticksToMs(tick), static_cast<MetaType>(event.data1),
                                  file.textOf(event)});
        }
    }
    std::stable_sort(song.texts.begin(), song.texts.end(),
                     [](const TextEvent& a, const TextEvent& b) { return a.tick < b.tick; });

    for (const TextEvent& text : song.texts)
        if (text.type == MetaType::Lyric) song.lyrics.push_back(syllableOf(text));

    song.karaokeTrack = findKaraokeTrack(song.texts, file.tracks.size(), karaokeHint);
    if (song.karaokeTrack < 0) return song;
    for (const TextEvent& text : song.texts) {
        if (text.track != song.karaokeTrack || text.type != MetaType::Text) continue;
        if (!text.text.empty() && text.text.front() == '@') {
            song.karaokeHeaders.push_back({text.text.size() > 1 ? text.text[1] : '\0',
                                           text.text.substr(std::min<std::size_t>(2, text.text.size()))});
        } else {
            song.karaoke.push_back(syllableOf(text));
        }
    }
    return song;
}

}  // namespace vorlo::midi
