// Lists a folder of many files in the file box and prints: the time until the first names are visible, the
// time until the whole folder is listed, and how long the event loop was held up meanwhile (the longest gap
// between ticks of a 5 ms timer). Then the same for a change of the file type, a refresh, and Add All.
//
//   filebox_bench [number of files, default 50000] [folder to use instead of a temporary one]
#include "core/playlist/ZipSession.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileListBox.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

struct Figures {
    double firstNamesMs = -1;
    double fullListMs = -1;
    double longestStallMs = 0;
    int stallsOver50Ms = 0;
    int rows = 0;
};

// Runs `start` and the event loop until the file list says it is complete, watching the loop's pulse.
Figures measure(vorlo::FileBox& box, const std::function<void()>& start) {
    Figures figures;
    vorlo::FileListBox& list = *box.fileListBox();
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    QTimer pulse;
    pulse.setInterval(5);
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        const double gap = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6;
        figures.longestStallMs = std::max(figures.longestStallMs, gap);
        if (gap > 50) ++figures.stallsOver50Ms;
        sinceTick.restart();
    });
    const auto firstRows = QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, [&] {
        if (figures.firstNamesMs < 0) figures.firstNamesMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    });
    QEventLoop loop;
    const auto done = QObject::connect(&list, &vorlo::FileListBox::loaded, &loop, &QEventLoop::quit);
    clock.start();
    sinceTick.start();
    pulse.start();
    start();  // what the user's click runs, on the UI thread: counted as a stall too
    {
        const double gap = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6;
        figures.longestStallMs = std::max(figures.longestStallMs, gap);
    }
    if (list.isLoading()) loop.exec();
    figures.fullListMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    pulse.stop();
    QObject::disconnect(firstRows);
    QObject::disconnect(done);
    figures.rows = list.count();
    return figures;
}

void print(const char* what, const Figures& f) {
    std::printf("%-28s rows %6d  first names %8.1f ms  full list %8.1f ms  longest stall %6.1f ms  stalls>50ms %d\n",
                what, f.rows, f.firstNamesMs, f.fullListMs, f.longestStallMs, f.stallsOver50Ms);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int fileCount = argc > 1 ? std::atoi(argv[1]) : 50000;
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path() + "/many";
    QDir().mkpath(folder);

    QElapsedTimer making;
    making.start();
    for (int i = 0; i < fileCount; ++i) {
        // Mostly MIDI files, some wave files and some files the default filter leaves out.
        const char* extension = i % 10 == 0 ? ".wav" : (i % 10 == 1 ? ".txt" : ".mid");
        QFile file(QString("%1/song %2%3").arg(folder).arg(i, 6, 10, QChar('0')).arg(extension));
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write in %s\n", qPrintable(folder));
            return 1;
        }
    }
    std::printf("made %d files in %.0f ms\n", fileCount, static_cast<double>(making.elapsed()));

    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    // The playlist and its editing without a playback engine: nothing is opened or played.
    vorlo::Playlist playlist;
    vorlo::ZipSession zip;
    vorlo::PlaylistEditor editor(playlist, zip);
    vorlo::PlaylistPanel panel(editor);
    vorlo::FileBox box;
    layout->addWidget(&panel);
    layout->addWidget(&box);
    box.attachPlaylist(&panel);
    box.setFolder(QDir::tempPath());
    window.resize(800, 400);
    window.show();
    box.fileListBox()->finishLoading();

    print("open the folder", measure(box, [&] { box.setFolder(folder); }));
    print("filter: All Files", measure(box, [&] { box.setFilterIndex(7); }));
    print("filter: MIDI files", measure(box, [&] { box.setFilterIndex(1); }));
    print("refresh", measure(box, [&] { box.refresh(); }));

    QElapsedTimer adding;
    adding.start();
    box.BtnAddAllClick();
    std::printf("%-28s entries %6d in %.1f ms (one UI-thread step)\n", "Add All Files", panel.playlist().count(),
                static_cast<double>(adding.nsecsElapsed()) / 1e6);
    return 0;
}
