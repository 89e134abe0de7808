// `vorlo info` and `vorlo length`.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Usage.h"
#include "midi/FileBytes.h"
#include "midi/Lyrics.h"
#include "midi/SmfReader.h"
#include "midi/SongLength.h"
#include "midi/SongText.h"
#include "midi/TempoMap.h"
#include "midi/TextEncoding.h"

namespace vorlo::tools {
namespace {

std::string describeDivision(const midi::Division& division) {
    if (!division.smpte) return std::to_string(division.ticksPerQuarter) + " ticks per quarter note";
    const std::string fps =
        division.framesPerSecond == 29 ? "29.97 (30 drop-frame)" : std::to_string(division.framesPerSecond);
    return "SMPTE " + fps + " frames per second, " + std::to_string(division.ticksPerFrame) + " ticks per frame";
}

// Text may hold any bytes in any encoding: it is printed as UTF-8, and control characters, which would break the
// one-line-per-event layout, become spaces.
std::string printable(const std::string& text) {
    std::string out = midi::songTextToUtf8(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return out;
}

void printInfo(const std::string& path, const midi::MidiFile& file) {
    const midi::TempoMap tempo = midi::buildTempoMap(file);
    const long long lengthMs = midi::songLengthMs(file, tempo);
    std::printf("File:\t%s\n", path.c_str());
    if (file.rmidContainer) std::printf("Container:\tRIFF RMID\n");
    std::printf("Format:\t%d\n", file.format);
    std::printf("Tracks:\t%zu\n", file.tracks.size());
    std::printf("Division:\t%s\n", describeDivision(file.division).c_str());
    std::printf("Length:\t%lld ms (%s)\n", lengthMs, minutesSeconds(lengthMs).c_str());
    const midi::SongText song = midi::collectSongText(file, tempo, midi::isKaraokeName(path));
    if (!song.texts.empty()) std::printf("Text events:\n");
    for (const midi::TextEvent& text : song.texts)
        std::printf("  track %d\t%s\t%s\t%s\n", text.track, minutesSeconds(text.timeMs).c_str(),
                    midi::metaTypeName(text.type), printable(text.text).c_str());
    if (song.karaokeTrack >= 0)
        std::printf("Karaoke:\ttrack %d, %zu syllables\n", song.karaokeTrack, song.karaoke.size());
    for (const std::string& repair : file.repairs) std::printf("Repaired:\t%s\n", repair.c_str());
}

}  // namespace

std::string minutesSeconds(long long ms) {
    const long long seconds = ms / 1000;
    const long long rest = seconds % 60;
    return std::to_string(seconds / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

int runInfo(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs(kInfoUsage, stderr);
        return kExitUsage;
    }
    int exitCode = kExitOk;
    bool first = true;
    for (const std::string& path : args) {
        midi::ReadResult result = midi::readMidiFile(path);
        if (auto* error = std::get_if<midi::ReadError>(&result)) {
            std::fprintf(stderr, "vorlo: %s: %s\n", path.c_str(), error->text.c_str());
            exitCode = kExitFileFailed;
            continue;
        }
        if (!first) std::printf("\n");
        first = false;
        printInfo(path, std::get<midi::MidiFile>(result));
    }
    return exitCode;
}

int runLength(const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fputs(kLengthUsage, stderr);
        return kExitUsage;
    }
    int exitCode = kExitOk;
    std::vector<std::uint8_t> bytes;
    std::string out;
    // An archive counts as its playable members, each read from its extracted copy.
    const bool loaded =
        forEachFileOrMember(args, [&](const std::string& label, const std::string& file, std::string error) {
            if (error.empty()) error = midi::loadMidiFileBytes(file, bytes);
            if (error.empty()) {
                auto measured = midi::measureSong(bytes);
                if (auto* song = std::get_if<midi::SongLength>(&measured)) {
                    out += std::to_string(song->lengthMs);
                    out += '\t';
                    out += label;
                    out += '\n';
                } else {
                    error = std::get<midi::ReadError>(measured).text;
                }
            }
            if (!error.empty()) {
                // An error line: no number in front, so a script that reads the first field can tell.
                out += "error\t" + label + "\t" + error + "\n";
                exitCode = kExitFileFailed;
            }
            if (out.size() > 1 << 16) {
                std::fwrite(out.data(), 1, out.size(), stdout);
                out.clear();
            }
        });
    if (!loaded) exitCode = kExitFileFailed;
    std::fwrite(out.data(), 1, out.size(), stdout);
    return exitCode;
}

}  // namespace vorlo::tools
