// Writes a corpus of varied MIDI files for the benchmarks: formats 0, 1 and 2, many divisions
// (a few SMPTE), tempo changes in any track, with and without running status, SysEx, texts,
// some files wrapped as RMID and a few without end-of-track events. Sizes run from about 1 KB to
// 150 KB, most of them in the tens of kilobytes as real song collections are.
//
// usage: make_corpus FOLDER [COUNT] [SEED]
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "midi/ResetMessages.h"
#include "midi/SmfWriter.h"

namespace {

using vorlo::midi::MetaType;
using vorlo::midi::SmfWriter;
using vorlo::midi::TrackWriter;

struct Shape {
    int format;
    bool smpte;
    bool rmid;
    bool runningStatus;
    bool endOfTrack;
};

void fillTrack(TrackWriter& track, std::mt19937& random, int channel, int notes, int ticksPerBeat, std::uint64_t& end) {
    std::uniform_int_distribution<int> key(36, 96), velocity(30, 127), steps(0, 3), lengthIn(1, 4), control(0, 9);
    std::uint64_t tick = 0;
    track.text(0, MetaType::TrackName, "Track " + std::to_string(channel));
    track.programChange(0, channel, static_cast<int>(random() % 128));
    for (int i = 0; i < notes; ++i) {
        const auto step = static_cast<std::uint64_t>(steps(random) * ticksPerBeat / 2);
        tick += step;
        const auto length = static_cast<std::uint64_t>(lengthIn(random) * ticksPerBeat / 4 + 1);
        track.note(tick, length, channel, key(random), velocity(random));
        switch (control(random)) {
            case 0: track.controlChange(tick, channel, 7, velocity(random)); break;
            case 1: track.pitchBend(tick + length / 2, channel, static_cast<int>(random() % 16384)); break;
            case 2: track.controlChange(tick, channel, 64, (i % 2) * 127); break;
            default: break;
        }
        end = std::max(end, tick + length);
    }
}

std::vector<std::uint8_t> makeSong(std::mt19937& random, const Shape& shape) {
    static const int kDivisions[] = {96, 120, 192, 240, 384, 480, 960};
    const int division = kDivisions[random() % 7];
    SmfWriter writer =
        shape.smpte ? SmfWriter::smpte(shape.format, random() % 2 ? 25 : 30, 40) : SmfWriter(shape.format, division);
    const int ticksPerBeat = shape.smpte ? 40 : division;
    const int trackCount = shape.format == 0 ? 1 : 1 + static_cast<int>(random() % 16);
    // Log-uniform size: many small files, some large ones.
    const double notesTotal =
        std::exp(std::uniform_real_distribution<double>(std::log(150.0), std::log(20000.0))(random));
    const int notesPerTrack = std::max(1, static_cast<int>(notesTotal / trackCount));
    std::vector<TrackWriter*> tracks;
    std::uint64_t end = 0;
    for (int t = 0; t < trackCount; ++t) {
        TrackWriter& track = writer.addTrack();
        if (!shape.runningStatus) track.withoutRunningStatus();
        if (!shape.endOfTrack) track.withoutEndOfTrack();
        fillTrack(track, random, shape.format == 0 ? 0 : t % 16, notesPerTrack, ticksPerBeat, end);
        tracks.push_back(&track);
    }
    tracks[0]->text(0, MetaType::Copyright, "bench").tempo(0, 300000 + static_cast<std::uint32_t>(random() % 700000));
    const int tempoChanges = static_cast<int>(random() % 20);
    for (int i = 0; i < tempoChanges; ++i) {
        TrackWriter& where = *tracks[random() % tracks.size()];  // tempo changes in any track
        where.tempo(end ? random() % end : 0, 250000 + static_cast<std::uint32_t>(random() % 1000000));
    }
    if (random() % 3 == 0) tracks[0]->sysEx(0, vorlo::midi::kGsReset);
    if (random() % 4 == 0) tracks.back()->text(end / 2, MetaType::Lyric, "la");
    std::vector<std::uint8_t> bytes = writer.bytes();
    return shape.rmid ? vorlo::midi::wrapInRmid(bytes) : bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: make_corpus FOLDER [COUNT] [SEED]\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int count = argc > 2 ? std::stoi(argv[2]) : 1200;
    std::mt19937 random(argc > 3 ? static_cast<unsigned>(std::stoul(argv[3])) : 20261208u);
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const unsigned pick = random() % 100;
        Shape shape{pick < 30   ? 0
                    : pick < 95 ? 1
                                : 2,
                    random() % 100 < 3, random() % 100 < 5, random() % 100 < 70, random() % 100 >= 2};
        const std::string name = "song" + std::to_string(i) + (shape.rmid ? ".rmi" : ".mid");
        if (!vorlo::midi::writeBytes((folder / name).string(), makeSong(random, shape))) {
            std::fprintf(stderr, "make_corpus: cannot write %s\n", (folder / name).string().c_str());
            return 1;
        }
    }
    std::printf("%d files in %s\n", count, folder.string().c_str());
    return 0;
}
