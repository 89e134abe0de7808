// Pictures for a look by eye: the copy and move dialog, the same dialog making a folder, and the rename editor
// open over a playlist line.
//
//   files_snapshot OUTPUT_FOLDER
#include "controls/TSCheckList.h"
#include "core/playlist/ZipSession.h"
#include "player/files/RenameEditor.h"
#include "player/files/TFormNF.h"
#include "player/playlist/PlaylistPanel.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPixmap>

#include <cstdio>
#include <vector>

namespace {

void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool save(QWidget& widget, const QString& file) {
    settle();
    if (widget.grab().save(file)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: files_snapshot OUTPUT_FOLDER\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);

    std::vector<vorlo::FileBoxItem> files;
    for (const char* name : {"Canon.mid", "Air on the G String.mid", "Moonlight Sonata.MID", "Bolero.rmi",
                             "Entertainer.kar", "Nocturne op9 no2.mid", "Fur Elise.mid", "Rain.wav"})
        files.push_back({QString::fromLatin1(name), QString::fromLatin1(name)});
    vorlo::Playlist playlist;
    vorlo::ZipSession zip;
    vorlo::PlaylistEditor editor(playlist, zip);
    vorlo::PlaylistPanel panel(editor);
    panel.resize(vorlo::PlaylistPanel::designSize());
    panel.addSelectedFiles(QStringLiteral("/home/listener/Music"), files);
    panel.show();
    settle();

    // The editor over line 4, after the user typed a letter (the line then grows to its typing height).
    vorlo::RenameEditor rename(*panel.songList());
    playlist.selectLine(-1);
    rename.start(4, playlist.displayName(4));
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(&rename, &end);
    if (!save(panel, output + QStringLiteral("/rename-editor.png"))) return 1;

    playlist.setDragIndex(1);
    const QStringList history{QStringLiteral("/home/listener/Music/Classics"), QStringLiteral("/media/usb/Songs")};
    vorlo::TFormNF copy(vorlo::TFormNF::Mode::Copy, playlist, false, QStringLiteral("/home/listener/Music/Classics"),
                        history);
    copy.show();
    if (!save(copy, output + QStringLiteral("/copy-dialog.png"))) return 1;

    vorlo::TFormNF folder(vorlo::TFormNF::Mode::CreateFolder, playlist, false, QStringLiteral("/home/listener/Music"),
                          history);
    folder.show();
    if (!save(folder, output + QStringLiteral("/new-folder-dialog.png"))) return 1;
    std::printf("pictures in %s\n", qPrintable(output));
    return 0;
}
