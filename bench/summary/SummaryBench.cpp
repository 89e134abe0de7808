// The playlist summary and the drive search on large inputs, against the system's own tools on the same files:
//   summary: 1,000 MIDI files measured (in this process, and by `vorlo summary`) against `cat` of the files;
//   search: a tree of 100,000 files walked as the search walks a drive, against `find TREE -type f`, with the
//   longest time the playlist went without painting while the files arrived.
//
//   summary_bench [SONGS] [FOLDERS] [FILES_PER_FOLDER]     (defaults 1000, 400 and 250)
#include "controls/TSCheckList.h"
#include "core/filebox/FolderWalk.h"
#include "core/info/PlaylistSummary.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/ZipSession.h"
#include "midi/SmfWriter.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* watched) {
        watched->installEventFilter(this);
        clock_.start();
    }
    qint64 longestGapMs() const { return longest_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const qint64 now = clock_.elapsed();
            if (paints_++ > 0) longest_ = std::max(longest_, now - last_);
            last_ = now;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    int paints_ = 0;
};

// The best of three runs of a program, in milliseconds.
qint64 bestRun(const QString& program, const QStringList& args) {
    qint64 best = -1;
    for (int run = 0; run < 3; ++run) {
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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int songs = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int folders = argc > 2 ? std::atoi(argv[2]) : 400;
    const int perFolder = argc > 3 ? std::atoi(argv[3]) : 250;
    QTemporaryDir dir;

    // The summary: songs of a few hundred notes each, as real songs have.
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

    // The search.
    const QString tree = dir.filePath(QStringLiteral("tree"));
    for (int f = 0; f < folders; ++f) {
        const QString folder = tree + QStringLiteral("/d%1/sub").arg(f);
        QDir().mkpath(folder);
        for (int i = 0; i < perFolder; ++i) {
            QFile file(folder + QStringLiteral("/song %1 of a long name.mid").arg(i));
            if (!file.open(QIODevice::WriteOnly)) return 1;
        }
    }
    const qint64 findMs = bestRun(QStringLiteral("find"), {tree, QStringLiteral("-type"), QStringLiteral("f")});

    // The walk alone, as the search's thread runs it, without the playlist taking the files.
    qint64 walkMs = -1;
    int walked = 0;
    for (int run = 0; run < 3; ++run) {
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
    std::fflush(stdout);

    vorlo::Playlist playlist;
    vorlo::ZipSession zip;
    vorlo::PlaylistEditor editor(playlist, zip);
    vorlo::PlaylistPanel panel(editor);
    panel.resize(vorlo::PlaylistPanel::designSize());
    panel.show();
    QApplication::processEvents();
    PaintWatch watch(panel.songList()->viewport());
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { panel.songList()->viewport()->update(); });
    repaint.start(10);

    vorlo::FolderWalkJob job;
    QObject::connect(&job, &vorlo::FolderWalkJob::found,
                     [&](const std::vector<vorlo::FoundFile>& files) { editor.appendFound(files); });
    QEventLoop loop;
    QObject::connect(&job, &vorlo::FolderWalkJob::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    job.startDrives({tree});
    loop.exec();
    const qint64 searchMs = clock.elapsed();
    editor.folderAdded(0);
    std::printf(
        "Search of %d files: find %lld ms; the search %lld ms (%.2f x find); the list painted at most "
        "%lld ms apart\n",
        playlist.count(), static_cast<long long>(findMs), static_cast<long long>(searchMs),
        findMs > 0 ? double(searchMs) / double(findMs) : 0.0, static_cast<long long>(watch.longestGapMs()));
    return 0;
}
