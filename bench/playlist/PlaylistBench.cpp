// Adds 100,000 entries to the playlist panel and shows them, then scrolls and repaints, edits, and reports
// time and memory per entry. Run with QT_QPA_PLATFORM=offscreen (run.sh does).
#include "PanelOnScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QScrollBar>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::size_t heapInUse() { return mallinfo2().uordblks; }

double ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const QString folder = QStringLiteral("/home/listener/Music/General MIDI collection/Classics");

    vorlo::bench::PanelOnScreen screen;
    vorlo::PlaylistEditor& editor = screen.editor;
    vorlo::PlaylistPanel& panel = screen.panel;
    // Counted from before the file box's names exist: the playlist keeps (shares) them after the file box
    // has let go of its own copy, so they are part of what each entry costs.
    const std::size_t heapBefore = heapInUse();

    std::vector<vorlo::FileBoxItem> files;
    files.reserve(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const QString name = QStringLiteral("Song %1 - Composer %2.mid").arg(i, 6, 10, QLatin1Char('0')).arg(i % 977);
        files.push_back({name, name});
    }

    // What the paths alone take, to tell the playlist's own cost per entry apart from them.
    std::size_t pathBytes = 0;
    {
        const std::size_t before = heapInUse();
        std::vector<QString> paths;
        paths.reserve(files.size());
        for (const auto& file : files) paths.push_back(folder + QLatin1Char('/') + file.fileName);
        pathBytes = heapInUse() - before - paths.capacity() * sizeof(QString);
    }

    QElapsedTimer timer;
    timer.start();
    panel.addSelectedFiles(folder, files);
    panel.songList()->viewport()->repaint();
    QApplication::processEvents();
    const double addAndShowMs = ms(timer);
    files.clear();
    files.shrink_to_fit();
    const std::size_t heapAfter = heapInUse();

    const double perEntry = static_cast<double>(heapAfter - heapBefore) / entries;
    const double pathPerEntry = static_cast<double>(pathBytes) / entries;
    std::printf("entries                         %d\n", panel.playlist().count());
    std::printf("add + first paint               %.1f ms\n", addAndShowMs);
    std::printf("heap per entry (all)            %.1f bytes\n", perEntry);
    std::printf("  of which the path             %.1f bytes\n", pathPerEntry);
    std::printf("  beyond the path               %.1f bytes\n", perEntry - pathPerEntry);

    // Scroll to random places and paint the visible lines each time, as dragging the thumb does.
    QScrollBar* bar = panel.songList()->verticalScrollBar();
    QRandomGenerator random(12345);
    double worst = 0;
    double total = 0;
    const int jumps = 500;
    for (int i = 0; i < jumps; ++i) {
        timer.restart();
        bar->setValue(random.bounded(bar->maximum() + 1));
        panel.songList()->viewport()->repaint();
        const double took = ms(timer);
        worst = std::max(worst, took);
        total += took;
    }
    std::printf("scroll + repaint                %.3f ms average, %.3f ms worst (%d jumps)\n", total / jumps, worst,
                jumps);

    timer.restart();
    for (int i = 0; i < 200; ++i) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        panel.songList()->viewport()->repaint();
    }
    std::printf("line down + repaint             %.3f ms average\n", ms(timer) / 200);

    timer.restart();
    panel.selectLine(0);
    editor.MoveFileDownClick();
    std::printf("push down (first line)          %.2f ms\n", ms(timer));

    timer.restart();
    panel.playlist().setDragIndex(0);
    panel.dropDraggedLine(entries);
    std::printf("drag first line to the end      %.2f ms\n", ms(timer));

    timer.restart();
    panel.selectLine(1);
    editor.BtnRemoveClick();
    std::printf("remove line 1                   %.2f ms\n", ms(timer));

    timer.restart();
    editor.FileSortListClick();
    panel.songList()->viewport()->repaint();
    std::printf("sort + repaint                  %.1f ms\n", ms(timer));

    timer.restart();
    editor.FileClearListClick();
    QApplication::processEvents();
    std::printf("clear                           %.1f ms\n", ms(timer));
    return 0;
}
