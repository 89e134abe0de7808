// Loads a list file of 100,000 entries (some of them missing) into the playlist as "&Open List..." does, saves
// it, closes it, and prints how long each step took. Run with QT_QPA_PLATFORM=offscreen.
//   list_load_bench [ENTRIES] [DISTINCT_FILES]
#include "core/app/MessageBoxes.h"
#include "core/playlist/ListFile.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The person in front of the screen says No to every question and closes every window.
class AnswerNo : public vorlo::MessageBoxes {
protected:
    vorlo::BoxButton ask(const vorlo::MessageBox&) override { return vorlo::BoxButton::No; }
    int answer(QObject&) override { return QDialog::Rejected; }
};

double ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int distinct = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5000;
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;

    QStringList files;
    for (int i = 0; i < distinct; ++i) {
        files << dir.path() + QStringLiteral("/Song %1 - Composer %2.mid").arg(i, 6, 10, QLatin1Char('0')).arg(i % 97);
        QFile(files.back()).open(QIODevice::WriteOnly);
    }
    QStringList lines;
    for (int i = 0; i < entries; ++i)
        lines << (i % 100 == 99 ? dir.path() + QStringLiteral("/gone %1.mid").arg(i) : files[i % distinct]);
    const QString listFile = dir.path() + QStringLiteral("/long.mpl");
    vorlo::ListFile::write(listFile, lines);

    AnswerNo no;
    vorlo::MessageBoxes::install(&no);
    vorlo::PlaylistPanel panel;
    panel.resize(vorlo::PlaylistPanel::designSize());
    panel.show();
    QApplication::processEvents();
    vorlo::ListCommands lists(panel, {}, nullptr);

    QElapsedTimer timer;
    timer.start();
    const QStringList read = vorlo::ListFile::read(listFile);
    const double readMs = ms(timer);
    timer.restart();
    lists.dialogs().openFileName = listFile;
    lists.ResetListForLoad();
    lists.LoadPathsIntoList(read, vorlo::LoadOrigin::User);
    QApplication::processEvents();
    const double loadMs = ms(timer);
    const int loaded = panel.playlist().count();

    timer.restart();
    lists.dialogs().saveFileName = dir.path() + QStringLiteral("/saved.mpl");
    lists.FileSaveListClick();
    const double saveMs = ms(timer);

    timer.restart();
    panel.playlist().MarkListSaved();
    lists.FileCloseListClick();
    QApplication::processEvents();
    const double closeMs = ms(timer);
    vorlo::MessageBoxes::install(nullptr);

    std::printf("list of %d entries (%d distinct files, %d missing)\n", entries, distinct, entries / 100);
    std::printf("  read the file             %8.1f ms\n", readMs);
    std::printf("  load into the playlist    %8.1f ms  (%.2f us per entry; %d entries loaded)\n", loadMs,
                loadMs * 1000.0 / entries, loaded);
    std::printf("  save the list             %8.1f ms\n", saveMs);
    std::printf("  close the list            %8.1f ms\n", closeMs);
    return 0;
}
