// Figures for zip mode: how long opening an archive of many members takes until its playable members are
// listed as entries, and how long extracting one member takes next to `unzip -p member > /dev/null`.
//   zip_bench [MEMBERS] [MEMBER_MB]      (defaults: 10000 members, a member of 32 MB)
#include "ArchiveWriter.h"
#include "core/playlist/ZipSession.h"
#include "zip/ZipArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// The best and the median of `runs` timings of `step`, in milliseconds.
struct Timing {
    double bestMs = 0;
    double medianMs = 0;
};

Timing timeOf(int runs, const std::function<void()>& step) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        step();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

// Sound-like data: a tone with a little noise, 16-bit stereo, which deflates about as much as real wave audio.
std::string waveLikeData(std::size_t bytes) {
    std::string data(bytes, '\0');
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        noise = noise * 1664525u + 1013904223u;
        const double tone = 8000.0 * std::sin(static_cast<double>(i / 4) * 0.0627);
        const auto sample = static_cast<std::int16_t>(tone + static_cast<double>(noise >> 24) - 128.0);
        data[i] = static_cast<char>(sample & 0xFF);
        data[i + 1] = static_cast<char>((sample >> 8) & 0xFF);
    }
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int members = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int memberMb = argc > 2 ? std::atoi(argv[2]) : 32;
    QTemporaryDir dir;
    const std::string song = std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0", 26);

    // Many members, a quarter of them not playable, in folders as collections are.
    std::vector<vorlo::test::ArchiveMember> many;
    static const char* const kinds[] = {".mid", ".kar", ".wav", ".txt"};
    for (int i = 0; i < members; ++i)
        many.push_back(vorlo::test::fileMember(
            "collection " + std::to_string(i / 100) + "/song " + std::to_string(i) + kinds[i % 4], song));
    const QString manyPath = dir.filePath("many.zip");
    if (!vorlo::test::writeArchive(manyPath.toStdString(), many)) return 1;

    vorlo::ZipSession session;
    session.setFolder(dir.filePath("mvtemp"));
    std::size_t entries = 0;
    const Timing listing = timeOf(7, [&] {
        QString error;
        entries = session.readArchive(manyPath, error).size();
    });
    std::printf(
        "open an archive of %d members, list %zu playable entries: best %.1f ms, median %.1f ms "
        "(target at most 500 ms)\n",
        members, entries, listing.bestMs, listing.medianMs);

    // One large member, deflated.
    const QString bigPath = dir.filePath("big.zip");
    if (!vorlo::test::writeArchive(
            bigPath.toStdString(),
            {vorlo::test::fileMember("music/big.wav", waveLikeData(static_cast<std::size_t>(memberMb) << 20))}))
        return 1;
    std::string error;
    const auto archive = vorlo::zip::ZipArchive::open(bigPath.toStdString(), error);
    if (!archive) return 1;
    const vorlo::zip::Member member = archive->playableMembers().at(0);
    const QString folder = dir.filePath("out");
    QDir().mkpath(folder);
    const Timing extracting = timeOf(5, [&] {
        if (!archive->extract(member, folder.toStdString()).empty()) std::abort();
        QFile::remove(folder + "/big.wav");
    });
    const std::string unzip = "unzip -p '" + bigPath.toStdString() + "' music/big.wav > /dev/null";
    const Timing unzipping = timeOf(5, [&] {
        if (std::system(unzip.c_str()) != 0) std::abort();
    });
    std::printf(
        "extract a member of %d MB (%.1f MB deflated): best %.1f ms, median %.1f ms; unzip -p to /dev/null: "
        "best %.1f ms, median %.1f ms; ratio of the best %.2f (target at most 1.5)\n",
        memberMb, static_cast<double>(QFile(bigPath).size()) / (1 << 20), extracting.bestMs, extracting.medianMs,
        unzipping.bestMs, unzipping.medianMs, extracting.bestMs / unzipping.bestMs);
    return 0;
}
