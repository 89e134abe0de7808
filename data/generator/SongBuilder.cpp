#include "SongBuilder.h"

#include <sstream>
#include <stdexcept>

namespace vorlo::data {

int keyOf(const std::string& name) {
    if (name == "R") return -1;
    static const int semitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G') throw std::invalid_argument("bad note " + name);
    int key = semitone[name[0] - 'A'];
    std::size_t at = 1;
    while (at < name.size() && (name[at] == '#' || name[at] == 'b')) key += name[at++] == '#' ? 1 : -1;
    const int octave = std::stoi(name.substr(at));
    return 12 * (octave + 1) + key;
}

std::vector<int> chordKeys(const std::string& symbol, int octave) {
    std::size_t at = 1;
    while (at < symbol.size() && (symbol[at] == '#' || symbol[at] == 'b')) ++at;
    const int root = keyOf(symbol.substr(0, at) + std::to_string(octave));
    const std::string quality = symbol.substr(at);
    const bool minor = !quality.empty() && quality[0] == 'm';
    std::vector<int> keys{root, root + (minor ? 3 : 4), root + 7};
    if (quality.find('7') != std::string::npos) keys.push_back(root + 10);
    return keys;
}

std::uint64_t Part::phrase(std::uint64_t tick, const std::string& notation, int velocity, double legato) {
    for (const std::string& token : words(notation)) {
        const std::size_t colon = token.find(':');
        const int key = keyOf(token.substr(0, colon));
        const auto length = static_cast<std::uint64_t>(std::stoi(token.substr(colon + 1))) * kTicksPerEighth;
        if (key >= 0) {
            // Down-beats a little louder than the notes between them: the tune breathes.
            const int accent = (tick % kTicksPerQuarter == 0) ? 6 : 0;
            track_.note(tick, static_cast<std::uint64_t>(static_cast<double>(length) * legato), channel_, key,
                        velocity + accent);
        }
        tick += length;
    }
    return tick;
}

std::uint64_t sing(midi::TrackWriter& track, std::uint64_t tick, const std::string& notation,
                   const std::vector<std::string>& syllables) {
    std::size_t next = 0;
    for (const std::string& token : words(notation)) {
        const std::size_t colon = token.find(':');
        if (keyOf(token.substr(0, colon)) >= 0 && next < syllables.size())
            track.text(tick, midi::MetaType::Lyric, syllables[next++]);
        tick += static_cast<std::uint64_t>(std::stoi(token.substr(colon + 1))) * kTicksPerEighth;
    }
    return tick;
}

void Part::chord(std::uint64_t tick, std::uint64_t length, const std::vector<int>& keys, int velocity) {
    for (const int key : keys) track_.note(tick, length, channel_, key, velocity);
}

void Part::hit(std::uint64_t tick, int key, int velocity, std::uint64_t length) {
    track_.note(tick, length, channel_, key, velocity);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

}  // namespace vorlo::data
