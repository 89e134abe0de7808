// Loads a list file of 100,000 entries (some of them missing) into the playlist as "&Open List..." does, saves
// it, closes it, and prints how long each step took. Run with QT_QPA_PLATFORM=offscreen.
//   list_load_bench [ENTRIES] [DISTINCT_FILES]
#include "core/app/MessageBoxes.h"
#include "core/app/PlayerCore.h"
#include "core/playlist/ListFile.h"
#include "core/playlist/MediaPaths.h"
#include "core/settings/Options.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The person in front of the screen says No to every question and closes every window.
class AnswerNo : public vorlo::MessageBoxes {
protected:
    vorlo::BoxButton ask(const vorlo::MessageBox&) override { return vorlo::BoxButton::No; }
    int answer(QObject&) override { return QDialog::Rejected; }
};

// A wave file of a few silent frames: loading a list opens its first entry, which must be a medium.
QByteArray shortWave() {
    const auto le = [](QByteArray& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    const std::uint32_t dataBytes = 4 * 64;  // 64 stereo frames of 16 bits
    QByteArray wave("RIFF");
    le(wave, 36 + dataBytes, 4);
    wave.append("WAVEfmt ");
    le(wave, 16, 4);
    le(wave, 1, 2);          // PCM
    le(wave, 2, 2);          // stereo
    le(wave, 44100, 4);      // frames a second
    le(wave, 44100 * 4, 4);  // bytes a second
    le(wave, 4, 2);          // bytes a frame
    le(wave, 16, 2);         // bits a sample
    wave.append("data");
    le(wave, dataBytes, 4);
    wave.append(QByteArray(static_cast<int>(dataBytes), '\0'));
    return wave;
}

double ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int distinct = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5000;
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;

    QStringList files;
    const QByteArray wave = shortWave();
    for (int i = 0; i < distinct; ++i) {
        files << dir.path() + QStringLiteral("/Song %1 - Composer %2.wav").arg(i, 6, 10, QLatin1Char('0')).arg(i % 97);
        QFile file(files.back());
        if (file.open(QIODevice::WriteOnly)) file.write(wave);
    }
    QStringList lines;
    for (int i = 0; i < entries; ++i)
        lines << (i % 100 == 99 ? dir.path() + QStringLiteral("/gone %1.mid").arg(i) : files[i % distinct]);
    const QString listFile = dir.path() + QStringLiteral("/long.mpl");
    vorlo::ListFile::write(listFile, lines);

    AnswerNo no;
    vorlo::MessageBoxes::install(&no);
    // The player's core on a device that never opens a sound card, Auto off: the first entry is opened, not
    // played.
    vorlo::Options options;
    vorlo::PlayModes modes;
    modes.autoPlay = false;
    vorlo::media::MediaSettings settings;
    settings.audioMode = vorlo::media::AudioMode::SilentClock;
    vorlo::media::MIDIPlayer device(settings);
    vorlo::PlayerCore core(device, options, modes);
    vorlo::PlaylistPanel panel(core.editor());
    panel.resize(vorlo::PlaylistPanel::designSize());
    panel.show();
    QApplication::processEvents();
    vorlo::ListCommands& lists = core.lists();

    QElapsedTimer timer;
    timer.start();
    const QStringList read = vorlo::ListFile::read(listFile);
    const double readMs = ms(timer);
    // The existence check alone, as loading makes it for every path (the file system's own cost).
    timer.restart();
    int existing = 0;
    for (const QString& path : read) existing += vorlo::fileExists(path) ? 1 : 0;
    const double existsMs = ms(timer);
    timer.restart();
    lists.fileNames().openFileName = listFile;
    lists.ResetListForLoad();
    lists.LoadPathsIntoList(read, vorlo::LoadOrigin::User);
    QApplication::processEvents();
    const double loadMs = ms(timer);
    const int loaded = panel.playlist().count();

    timer.restart();
    lists.fileNames().saveFileName = dir.path() + QStringLiteral("/saved.mpl");
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
    std::printf("    of which existence check %7.1f ms  (%d files exist)\n", existsMs, existing);
    std::printf("    beyond that             %8.1f ms  (%.2f us per entry)\n", loadMs - existsMs,
                (loadMs - existsMs) * 1000.0 / entries);
    std::printf("  save the list             %8.1f ms\n", saveMs);
    std::printf("  close the list            %8.1f ms\n", closeMs);
    return 0;
}
