// Draws the playlist panel filled with songs, a few of them checked, into a PNG: playlist_snapshot out.png
#include "controls/TSCheckList.h"
#include "core/playlist/ZipSession.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("playlist.png");

    const char* names[] = {"Canon.mid",
                           "Air on the G String.mid",
                           "Moonlight Sonata.MID",
                           "Bolero.rmi",
                           "Entertainer.kar",
                           "Nocturne op9 no2.mid",
                           "Fur Elise.mid",
                           "Rain.wav",
                           "Gymnopedie 1.mid",
                           "The Four Seasons - Spring (Allegro) long name.mid",
                           "Toccata.mid",
                           "Clair de lune.mid",
                           "Intro.avi",
                           "Track01.cda",
                           "Minuet in G.mid"};
    std::vector<vorlo::FileBoxItem> files;
    for (const char* name : names) files.push_back({QString::fromLatin1(name), QString::fromLatin1(name)});

    vorlo::Playlist playlist;
    vorlo::ZipSession zip;
    vorlo::PlaylistEditor editor(playlist, zip);
    vorlo::PlaylistPanel panel(editor);
    panel.resize(vorlo::PlaylistPanel::designSize());
    panel.addSelectedFiles(QStringLiteral("/home/listener/Music"), files);
    for (int line : {1, 2, 6}) panel.playlist().setChecked(line, true);
    panel.selectLine(4);
    panel.songList()->scrollToTop();
    panel.show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();

    if (!panel.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
