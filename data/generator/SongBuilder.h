#pragma once
// A small notation for writing our sample songs: "E5:3 D5:1 R:2" is E5 for three eighths, D5 for
// one eighth, then an eighth-note... rest of two eighths. Chords are written "C", "Am", "G7", "F#m".
#include <cstdint>
#include <string>
#include <vector>

#include "midi/SmfWriter.h"

namespace vorlo::data {

inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kTicksPerEighth = kTicksPerQuarter / 2;

// MIDI key of a note name such as "C4" (middle C, 60), "F#3" or "Bb5"; -1 for a rest "R".
int keyOf(const std::string& name);

// The keys of a chord symbol with its root at `octave` (C4 = 60).
std::vector<int> chordKeys(const std::string& symbol, int octave);

class Part {
public:
    Part(midi::TrackWriter& track, int channel) : track_(track), channel_(channel) {}

    // Writes the phrase from `tick` on; returns the tick after it. Notes sound for `legato` of
    // their written length.
    std::uint64_t phrase(std::uint64_t tick, const std::string& notation, int velocity, double legato = 0.92);
    void chord(std::uint64_t tick, std::uint64_t length, const std::vector<int>& keys, int velocity);
    void hit(std::uint64_t tick, int key, int velocity, std::uint64_t length = kTicksPerEighth / 2);

    midi::TrackWriter& track() { return track_; }
    int channel() const { return channel_; }

private:
    midi::TrackWriter& track_;
    int channel_;
};

// Writes lyric events for a phrase written as `notation` from `tick` on: each note's syllable at its start, in
// order; rests take none. Returns the tick after the phrase.
std::uint64_t sing(midi::TrackWriter& track, std::uint64_t tick, const std::string& notation,
                   const std::vector<std::string>& syllables);

// Splits "C Am F G" into its symbols.
std::vector<std::string> words(const std::string& text);

}  // namespace vorlo::data
