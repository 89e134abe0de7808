// The playlist summary and the drive search on large inputs, against the system's own tools on the same files:
//   summary: 1,000 MIDI files measured (in this process, and by `vorlo summary`) against `cat` of the files;
//   search: a tree of 100,000 files walked as the search walks a drive, against `find TREE -type f`, with the
//   longest time the playlist went without painting while the files arrived.
//
//   summary_bench [SONGS] [FOLDERS] [FILES_PER_FOLDER] [--tree DIR] [--runs N]
//     defaults 1000, 400 and 250; SONGS 0 leaves the summary out. --tree keeps the tree in DIR (made there when
//     DIR does not exist yet) so that repeated runs and profiles skip making it. Every timing is the best of
//     N runs (default 3); the whole search prints each run, and where the window's thread spent it.
#include "PanelOnScreen.h"
#include "core/filebox/FolderWalk.h"
#include "core/info/PlaylistSummary.h"
#include "core/playlist/ListFile.h"
#include "midi/SmfWriter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace {

// The best of `runs` runs of a program, in milliseconds.
qint64 bestRun(const QString& program, const QStringList& args, int runs = 3) {
    qint64 best = -1;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start(program, args);
        process.waitForFinished(-1);
        const qint64 took = clock.elapsed();
        if (best < 0 || took < best) best = took;
    }
    return best;
}

// One whole search into a fresh playlist shown in its panel, as the drive search runs it: the walk's thread, the
// hand-over, the playlist taking the files and the list view showing them, while the list repaints every 10 ms.
struct SearchRun {
    qint64 totalMs = 0;
    qint64 takingMs = 0;      // in the window's thread: the playlist and its views taking the parts
    qint64 paintingMs = 0;    // in the window's thread: painting the list
    qint64 longestGapMs = 0;  // between two paints of the list
    qint64 windowCpuMs = 0;   // the window's thread busy, all told
    qint64 otherCpuMs = 0;    // every other thread of the process: the walk's, mostly
    qint64 lastPartMs = 0;    // when the last part reached the playlist
    int parts = 0;
    int entries = 0;
};

class PaintTimer : public QObject {
public:
    explicit PaintTimer(QWidget* watched) : watched_(watched) { watched->installEventFilter(this); }
    qint64 totalNs() const { return total_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != watched_ || event->type() != QEvent::Paint) return QObject::eventFilter(watched, event);
        // The paint itself, timed around the view's own handling of the event.
        QElapsedTimer clock;
        clock.start();
        watched_->removeEventFilter(this);
        QCoreApplication::sendEvent(watched_, event);
        watched_->installEventFilter(this);
        total_ += clock.nsecsElapsed();
        return true;
    }

private:
    QWidget* watched_;
    qint64 total_ = 0;
};

qint64 cpuNs(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

SearchRun searchOnce(const QString& tree) {
    SearchRun run;
    vorlo::bench::PanelOnScreen screen;
    vorlo::Playlist& playlist = screen.playlist;
    vorlo::PlaylistEditor& editor = screen.editor;
    QWidget* viewport = screen.viewport();
    PaintTimer paintTime(viewport);
    vorlo::bench::PaintWatch watch(viewport);  // installed last: sees every paint first
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { viewport->update(); });
    repaint.start(10);

    vorlo::FolderWalkJob job;
    qint64 takingNs = 0;
    QObject::connect(&job, &vorlo::FolderWalkJob::found, [&](const std::vector<vorlo::FoundFile>& files) {
        QElapsedTimer taking;
        taking.start();
        editor.appendFound(files);
        takingNs += taking.nsecsElapsed();
        ++run.parts;
    });
    QEventLoop loop;
    QObject::connect(&job, &vorlo::FolderWalkJob::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    QObject::connect(&job, &vorlo::FolderWalkJob::found, [&] { run.lastPartMs = clock.elapsed(); });
    const qint64 threadBefore = cpuNs(CLOCK_THREAD_CPUTIME_ID);
    const qint64 processBefore = cpuNs(CLOCK_PROCESS_CPUTIME_ID);
    clock.start();
    job.startDrives({tree});
    loop.exec();
    run.totalMs = clock.elapsed();
    run.windowCpuMs = (cpuNs(CLOCK_THREAD_CPUTIME_ID) - threadBefore) / 1000000;
    run.otherCpuMs = (cpuNs(CLOCK_PROCESS_CPUTIME_ID) - processBefore) / 1000000 - run.windowCpuMs;
    editor.folderAdded(0);
    run.takingMs = takingNs / 1000000;
    run.paintingMs = paintTime.totalNs() / 1000000;
    run.longestGapMs = watch.longestGapMs();
    run.entries = playlist.count();
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList positional;
    QString keptTree;
    int runs = 3;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--tree") && i + 1 < args.size()) {
            keptTree = args[++i];
        } else if (args[i] == QStringLiteral("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else {
            positional << args[i];
        }
    }
    const int songs = positional.size() > 0 ? positional[0].toInt() : 1000;
    const int folders = positional.size() > 1 ? positional[1].toInt() : 400;
    const int perFolder = positional.size() > 2 ? positional[2].toInt() : 250;
    QTemporaryDir dir;

    // The summary: songs of a few hundred notes each, as real songs have.
    if (songs > 0) {
        QStringList paths;
        for (int index = 0; index < songs; ++index) {
            vorlo::midi::SmfWriter song(1, 96);
            vorlo::midi::TrackWriter& track = song.addTrack();
            for (int note = 0; note < 400 + index % 200; ++note)
                track.note(static_cast<std::uint64_t>(note) * 48, 40, 0, 60 + note % 12, 90);
            paths << dir.filePath(QStringLiteral("song%1.mid").arg(index));
            if (!song.writeTo(paths.back().toStdString())) return 1;
        }
        const QString list = dir.filePath(QStringLiteral("songs.mpl"));
        vorlo::ListFile::write(list, paths);
        const qint64 catMs = bestRun(QStringLiteral("cat"), paths);
        qint64 inProcessMs = -1;
        for (int run = 0; run < 3; ++run) {
            QElapsedTimer clock;
            clock.start();
            vorlo::EntryLengths lengths({}, {});
            std::vector<vorlo::SummaryRow> rows;
            for (const QString& path : paths) rows.push_back({path, lengths.measure(path)});
            const QStringList report = vorlo::SummaryReport::lines(list, rows);
            const qint64 took = clock.elapsed();
            if (inProcessMs < 0 || took < inProcessMs) inProcessMs = took;
        }
        const QString vorlo = QStringLiteral(VORLO_PROGRAM);
        const qint64 commandMs = QFile::exists(vorlo) ? bestRun(vorlo, {QStringLiteral("summary"), list}) : -1;
        std::printf(
            "Summary of %d MIDI files: cat %lld ms; measured in the player %lld ms (%.2f x cat); "
            "vorlo summary %lld ms (%.2f x cat)\n",
            songs, static_cast<long long>(catMs), static_cast<long long>(inProcessMs),
            catMs > 0 ? double(inProcessMs) / double(catMs) : 0.0, static_cast<long long>(commandMs),
            catMs > 0 ? double(commandMs) / double(catMs) : 0.0);
    }

    // The search.
    const QString tree = keptTree.isEmpty() ? dir.filePath(QStringLiteral("tree")) : keptTree;
    if (!QFileInfo::exists(tree)) {
        for (int f = 0; f < folders; ++f) {
            const QString folder = tree + QStringLiteral("/d%1/sub").arg(f);
            QDir().mkpath(folder);
            for (int i = 0; i < perFolder; ++i) {
                QFile file(folder + QStringLiteral("/song %1 of a long name.mid").arg(i));
                if (!file.open(QIODevice::WriteOnly)) return 1;
            }
        }
    }
    const qint64 findMs = bestRun(QStringLiteral("find"), {tree, QStringLiteral("-type"), QStringLiteral("f")}, runs);

    // The walk alone, as the search's thread runs it, without the playlist taking the files.
    qint64 walkMs = -1;
    int walked = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        vorlo::FolderWalk walk;
        walk.keepToDrives({tree});
        walked = 0;
        walk.walk(tree, [&](const vorlo::FoundFile&) { ++walked; });
        const qint64 took = clock.elapsed();
        if (walkMs < 0 || took < walkMs) walkMs = took;
    }
    std::printf("Walk of %d files alone: %lld ms (%.2f x find)\n", walked, static_cast<long long>(walkMs),
                findMs > 0 ? double(walkMs) / double(findMs) : 0.0);
    // The same walk on a thread of its own keeping every file it finds, as the search's thread does until the
    // playlist takes them: what the memory for 100,000 names costs the walk.
    qint64 keepingMs = -1;
    for (int run = 0; run < runs; ++run) {
        std::vector<vorlo::FoundFile> kept;
        QElapsedTimer clock;
        clock.start();
        QThread* thread = QThread::create([&] {
            vorlo::FolderWalk walk;
            walk.keepToDrives({tree});
            walk.walk(tree, [&](vorlo::FoundFile&& file) { kept.push_back(std::move(file)); });
        });
        thread->start();
        thread->wait();
        const qint64 took = clock.elapsed();
        delete thread;
        if (keepingMs < 0 || took < keepingMs) keepingMs = took;
    }
    std::printf("Walk on its own thread keeping the files: %lld ms (%.2f x find)\n",
                static_cast<long long>(keepingMs), findMs > 0 ? double(keepingMs) / double(findMs) : 0.0);
    std::fflush(stdout);

    SearchRun best;
    for (int index = 0; index < runs; ++index) {
        const SearchRun run = searchOnce(tree);
        std::printf(
            "  search run %d: %lld ms (last part at %lld ms); window thread busy %lld ms (taking %d parts %lld ms, "
            "painting %lld ms), other threads %lld ms; longest paint gap %lld ms\n",
            index + 1, static_cast<long long>(run.totalMs), static_cast<long long>(run.lastPartMs),
            static_cast<long long>(run.windowCpuMs), run.parts, static_cast<long long>(run.takingMs),
            static_cast<long long>(run.paintingMs), static_cast<long long>(run.otherCpuMs),
            static_cast<long long>(run.longestGapMs));
        std::fflush(stdout);
        if (index == 0 || run.totalMs < best.totalMs) best = run;
        best.longestGapMs = std::max(best.longestGapMs, run.longestGapMs);
    }
    std::printf(
        "Search of %d files: find %lld ms; the search %lld ms (%.2f x find); the list painted at most "
        "%lld ms apart\n",
        best.entries, static_cast<long long>(findMs), static_cast<long long>(best.totalMs),
        findMs > 0 ? double(best.totalMs) / double(findMs) : 0.0, static_cast<long long>(best.longestGapMs));
    return 0;
}
