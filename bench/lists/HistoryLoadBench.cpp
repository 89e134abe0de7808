// Reads a History.ini of a million lines (only 15 of them are ever used) as the player's start does, and prints
// how long it took and how much the process's peak memory grew; then, for comparison, reads the whole file as a
// list. Run on its own: the second figure's peak includes the first.
//   history_load_bench [LINES]
#include "core/playlist/ListFile.h"
#include "core/playlist/ListHistory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <cstdio>
#include <cstdlib>

namespace {

long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString ini = dir.path() + QStringLiteral("/History.ini");
    {
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        QByteArray chunk;
        for (long i = 0; i < lines; ++i) {
            chunk += "/home/user/lists/a rather long list name number " + QByteArray::number(qlonglong(i)) + ".mpl\r\n";
            if (chunk.size() > (1 << 20)) {
                file.write(chunk);
                chunk.clear();
            }
        }
        file.write(chunk);
        std::printf("History.ini: %ld lines, %lld bytes\n", lines, static_cast<long long>(file.size()));
    }

    const long before = peakKiB();
    QElapsedTimer timer;
    timer.start();
    vorlo::ListHistory history;
    history.load(ini, QStringLiteral("*.mpl"));
    const qint64 loadNs = timer.nsecsElapsed();
    std::printf("history load: %lld entries in %.3f ms, peak memory +%ld KiB\n",
                static_cast<long long>(history.entries().size()), double(loadNs) / 1e6, peakKiB() - before);

    const long beforeWhole = peakKiB();
    timer.restart();
    const QStringList all = vorlo::ListFile::read(ini);
    const qint64 wholeNs = timer.nsecsElapsed();
    std::printf("whole file read as a list (for comparison): %lld lines in %.1f ms, peak memory +%ld KiB\n",
                static_cast<long long>(all.size()), double(wholeNs) / 1e6, peakKiB() - beforeWhole);
    return 0;
}
