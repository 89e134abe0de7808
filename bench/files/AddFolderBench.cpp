// Add Folder on a large tree: how long the walk takes and how long the window ever goes without painting while the
// files arrive (the walk runs on its own thread; the window appends each batch).
//
//   add_folder_bench [FOLDERS] [FILES_PER_FOLDER]     (defaults 400 and 250: 100,000 files)
#include "PanelOnScreen.h"
#include "core/filebox/FolderWalk.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int folders = argc > 1 ? std::atoi(argv[1]) : 400;
    const int perFolder = argc > 2 ? std::atoi(argv[2]) : 250;

    QTemporaryDir dir;
    for (int f = 0; f < folders; ++f) {
        const QString folder = dir.path() + QStringLiteral("/d%1/sub").arg(f);
        QDir().mkpath(folder);
        for (int i = 0; i < perFolder; ++i) {
            QFile file(folder + QStringLiteral("/song %1 of a long name.mid").arg(i));
            if (!file.open(QIODevice::WriteOnly)) return 1;
        }
    }

    vorlo::bench::PanelOnScreen screen;
    vorlo::Playlist& playlist = screen.playlist;
    vorlo::PlaylistEditor& editor = screen.editor;
    vorlo::PlaylistPanel& panel = screen.panel;

    vorlo::bench::PaintWatch watch(panel.songList()->viewport());
    QTimer repaint;  // asks for a paint every 10 ms, as a moving window or a progress box would
    QObject::connect(&repaint, &QTimer::timeout, [&] { panel.songList()->viewport()->update(); });
    repaint.start(10);

    vorlo::FolderWalkJob job;
    QObject::connect(&job, &vorlo::FolderWalkJob::found,
                     [&](const std::vector<vorlo::FoundFile>& files) { editor.appendFound(files); });
    QEventLoop loop;
    QObject::connect(&job, &vorlo::FolderWalkJob::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    job.start(dir.path());
    loop.exec();
    const qint64 walkMs = clock.elapsed();
    editor.folderAdded(0);

    std::printf("Add Folder: %d files in %d folders in %lld ms; the list painted %d times, at most %lld ms apart\n",
                playlist.count(), folders * 2, static_cast<long long>(walkMs), watch.paints(),
                static_cast<long long>(watch.longestGapMs()));
    return 0;
}
