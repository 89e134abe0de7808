#include "Songs.h"

#include "SongBuilder.h"

namespace vorlo::data {
namespace {

constexpr int kDrums = 9;
constexpr int kKick = 36;
constexpr int kSideStick = 37;
constexpr int kSnare = 38;
constexpr int kClosedHat = 42;
constexpr int kRide = 51;
constexpr int kCrash = 49;
constexpr const char* kCopyright = "(C) 2026 the MIDI Vorlo authors; free to share";

std::uint32_t tempoOf(int beatsPerMinute) { return static_cast<std::uint32_t>(60000000 / beatsPerMinute); }

void setUpChannel(midi::TrackWriter& track, const char* name, int channel, int program, int volume, int pan,
                  int reverb = 50) {
    track.text(0, midi::MetaType::TrackName, name);
    track.controlChange(0, channel, 0, 0);
    track.programChange(0, channel, program);
    track.controlChange(0, channel, 7, volume);
    track.controlChange(0, channel, 10, pan);
    track.controlChange(0, channel, 91, reverb);
}

}  // namespace

// 4/4 in C major at 96 beats per minute, slowing down for the last verse: a flute over nylon
// guitar, strings and a walking bass, with the sea at both ends.
midi::SmfWriter aWalkToSeashore() {
    constexpr std::uint64_t kBar = 4 * kTicksPerQuarter;
    const std::vector<std::string> intro = words("C C");
    const std::vector<std::string> verse = words("C Am F G C Am F C");
    const std::vector<std::string> bridge = words("F G Em Am F G Am G");
    const std::vector<std::string> ending = words("C C");
    std::vector<std::string> chords = intro;
    for (const auto* section : {&verse, &bridge, &verse, &ending})
        chords.insert(chords.end(), section->begin(), section->end());
    const std::uint64_t lastVerse = (2 + 8 + 8) * kBar;
    const std::uint64_t end = chords.size() * kBar;

    midi::SmfWriter song(1, kTicksPerQuarter);
    midi::TrackWriter& conductor = song.addTrack();
    conductor.text(0, midi::MetaType::TrackName, "A Walk to Seashore")
        .text(0, midi::MetaType::Copyright, kCopyright)
        .text(0, midi::MetaType::Text, "A sample song of MIDI Vorlo: a stroll down to the waves and back.")
        .timeSignature(0, 4, 2)
        .tempo(0, tempoOf(96))
        .text(2 * kBar, midi::MetaType::Marker, "Verse")
        .text(10 * kBar, midi::MetaType::Marker, "Bridge")
        .text(lastVerse, midi::MetaType::Marker, "Last verse")
        .tempo(lastVerse, tempoOf(88))
        .tempo(end - 2 * kBar, tempoOf(76))
        .endAt(end);

    Part flute(song.addTrack(), 0);
    setUpChannel(flute.track(), "Flute", 0, 73, 100, 70);
    const char* const verseTune =
        "E5:3 D5:1 C5:2 E5:2  A5:4 G5:2 E5:2  F5:3 E5:1 D5:2 C5:2  D5:6 R:2 "
        "E5:3 D5:1 C5:2 G5:2  A5:3 B5:1 C6:2 A5:2  G5:2 F5:2 E5:2 D5:2  C5:6 R:2";
    const char* const bridgeTune =
        "A5:2 C6:2 A5:2 F5:2  G5:3 A5:1 G5:2 D5:2  E5:2 G5:2 B5:2 G5:2  A5:6 R:2 "
        "F5:2 A5:2 C6:2 A5:2  B5:2 D6:2 B5:2 G5:2  C6:3 B5:1 A5:2 E5:2  D5:4 G5:2 R:2";
    // The first verse has words, a line ending at each line break and a paragraph after the second line.
    sing(flute.track(), 2 * kBar, verseTune,
         {"Down ", "the ", "lane ",  "to ",     "the ",  "blue ", "sea\r", "waves ", "are ",
          "call",  "ing ", "me\r\r", "Shells ", "in ",   "my ",   "pock",  "ets,\r", "sun ",
          "on ",   "my ",  "face, ", "then ",   "home ", "a",     "gain\r"});
    std::uint64_t at = flute.phrase(2 * kBar, verseTune, 84);
    at = flute.phrase(at, bridgeTune, 88);
    at = flute.phrase(at, verseTune, 80);
    flute.phrase(at, "E5:8 G5:6 R:2", 72, 1.0);

    Part guitar(song.addTrack(), 1);
    setUpChannel(guitar.track(), "Nylon Guitar", 1, 24, 80, 40);
    Part bass(song.addTrack(), 2);
    setUpChannel(bass.track(), "Acoustic Bass", 2, 32, 105, 64, 20);
    Part strings(song.addTrack(), 3);
    setUpChannel(strings.track(), "Strings", 3, 48, 62, 84, 70);
    for (std::size_t bar = 0; bar < chords.size(); ++bar) {
        const std::uint64_t start = bar * kBar;
        const std::vector<int> low = chordKeys(chords[bar], 3);
        const std::vector<int> mid = chordKeys(chords[bar], 4);
        strings.chord(start, kBar - 20, mid, bar + 2 >= chords.size() ? 58 : 50);
        const int pattern[8] = {low[0], low[2], mid[0], mid[1], mid[2], mid[1], mid[0], low[2]};
        for (int eighth = 0; eighth < 8; ++eighth)
            guitar.hit(start + static_cast<std::uint64_t>(eighth) * kTicksPerEighth, pattern[eighth],
                       eighth % 2 ? 52 : 62, kTicksPerQuarter);
        const int root = low[0] - 12;
        bass.track().note(start, kTicksPerQuarter * 3 / 2 - 30, 2, root, 96);
        bass.track().note(start + kTicksPerQuarter * 3 / 2, kTicksPerEighth - 20, 2, root, 80);
        bass.track().note(start + 2 * kTicksPerQuarter, kTicksPerQuarter - 30, 2, root + 7, 88);
        bass.track().note(start + 3 * kTicksPerQuarter, kTicksPerQuarter - 30, 2, root + 12, 84);
    }

    Part drums(song.addTrack(), kDrums);
    drums.track().text(0, midi::MetaType::TrackName, "Drums");
    drums.track().controlChange(0, kDrums, 7, 88);
    for (std::uint64_t bar = 2; bar + 2 < chords.size(); ++bar) {
        const std::uint64_t start = bar * kBar;
        drums.hit(start, kKick, 90);
        drums.hit(start + 2 * kTicksPerQuarter, kKick, 76);
        drums.hit(start + kTicksPerQuarter, kSideStick, 70);
        drums.hit(start + 3 * kTicksPerQuarter, kSideStick, 74);
        for (int eighth = 0; eighth < 8; ++eighth)
            drums.hit(start + static_cast<std::uint64_t>(eighth) * kTicksPerEighth,
                      bar >= 10 && bar < 18 ? kRide : kClosedHat, eighth % 2 ? 38 : 56);
    }
    drums.hit(end - 2 * kBar, kCrash, 80, kBar);

    Part sea(song.addTrack(), 4);
    setUpChannel(sea.track(), "Seashore", 4, 122, 90, 64, 80);
    sea.hit(0, 60, 70, 2 * kBar);
    sea.hit(end - 2 * kBar, 60, 80, 2 * kBar);
    return song;
}

// 3/4 in D minor, a waltz at 160 beats per minute that hurries at the end: the accordion waiter
// dances around tables while the tuba reaper follows, and a bell tolls.
midi::SmfWriter theWaiterAndTheReaper() {
    constexpr std::uint64_t kBar = 3 * kTicksPerQuarter;
    const std::vector<std::string> intro = words("Dm Dm A7 Dm");
    const std::vector<std::string> verse = words("Dm Dm A7 A7 A7 A7 Dm Dm Gm Gm Dm Dm A7 A7 Dm Dm");
    const std::vector<std::string> middle = words("F F C7 C7 C7 C7 F A7");
    const std::vector<std::string> ending = words("Dm Dm");
    std::vector<std::string> chords = intro;
    for (const auto* section : {&verse, &middle, &verse, &ending})
        chords.insert(chords.end(), section->begin(), section->end());
    const std::uint64_t lastVerse = (4 + 16 + 8) * kBar;
    const std::uint64_t end = chords.size() * kBar;

    midi::SmfWriter song(1, kTicksPerQuarter);
    midi::TrackWriter& conductor = song.addTrack();
    conductor.text(0, midi::MetaType::TrackName, "The Waiter and The Reaper")
        .text(0, midi::MetaType::Copyright, kCopyright)
        .text(0, midi::MetaType::Text, "A sample song of MIDI Vorlo: a waltz for a waiter who will not stop serving.")
        .timeSignature(0, 3, 2)
        .tempo(0, tempoOf(160))
        .text(4 * kBar, midi::MetaType::Marker, "The waiter")
        .text(20 * kBar, midi::MetaType::Marker, "The reaper")
        .text(lastVerse, midi::MetaType::Marker, "The chase")
        .tempo(lastVerse, tempoOf(184))
        .tempo(end - 2 * kBar, tempoOf(96))
        .endAt(end);

    Part accordion(song.addTrack(), 0);
    setUpChannel(accordion.track(), "Accordion", 0, 21, 96, 50);
    const char* const verseTune =
        "D5:2 F5:2 A5:2  A5:4 G5:1 F5:1  E5:2 G5:2 C#6:2  A5:6 "
        "G5:2 E5:2 C#5:2  E5:4 F5:1 E5:1  D5:2 F5:2 A5:2  D6:6 "
        "Bb5:2 A5:2 G5:2  D6:4 Bb5:2  A5:2 F5:2 D5:2  A5:6 "
        "G5:2 F5:2 E5:2  C#5:2 E5:2 A5:2  D5:6  R:6";
    const char* const middleTune =
        "C5:2 F5:2 A5:2  C6:4 A5:2  Bb5:2 G5:2 E5:2  C5:6 "
        "Bb4:2 C5:2 E5:2  G5:4 Bb5:2  A5:2 G5:2 F5:2  E5:2 C#5:2 A4:2";
    std::uint64_t at = accordion.phrase(4 * kBar, verseTune, 86, 0.85);
    at = accordion.phrase(at, middleTune, 78, 0.95);
    at = accordion.phrase(at, verseTune, 92, 0.8);
    accordion.phrase(at, "D5:2 A4:2 F4:2  D4:6", 90, 1.0);

    Part tuba(song.addTrack(), 1);
    setUpChannel(tuba.track(), "Tuba", 1, 58, 100, 70, 30);
    Part pizzicato(song.addTrack(), 2);
    setUpChannel(pizzicato.track(), "Pizzicato", 2, 45, 84, 90);
    Part drums(song.addTrack(), kDrums);
    drums.track().text(0, midi::MetaType::TrackName, "Drums");
    for (std::size_t bar = 0; bar < chords.size(); ++bar) {
        const std::uint64_t start = bar * kBar;
        const std::vector<int> low = chordKeys(chords[bar], 2);
        const std::vector<int> mid = chordKeys(chords[bar], 4);
        tuba.track().note(start, kTicksPerQuarter - 40, 1, bar % 2 ? low[2] : low[0], 100);
        for (int beat = 1; beat < 3; ++beat)
            pizzicato.chord(start + static_cast<std::uint64_t>(beat) * kTicksPerQuarter, kTicksPerEighth, mid,
                            beat == 1 ? 66 : 58);
        if (bar >= 4 && bar + 2 < chords.size()) {
            drums.hit(start, kKick, 88);
            drums.hit(start + kTicksPerQuarter, kClosedHat, 50);
            drums.hit(start + 2 * kTicksPerQuarter, bar % 4 == 3 ? kSnare : kClosedHat, bar % 4 == 3 ? 70 : 46);
        }
    }
    drums.hit(end - 2 * kBar, kCrash, 84, kBar);

    Part bell(song.addTrack(), 3);
    setUpChannel(bell.track(), "Tubular Bells", 3, 14, 84, 30, 90);
    for (const std::uint64_t toll : {std::uint64_t{0}, 2 * kBar, 20 * kBar, end - 2 * kBar, end - kBar})
        bell.hit(toll, 50, 92, kBar);
    return song;
}

}  // namespace vorlo::data
