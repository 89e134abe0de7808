// Shows the player in zip mode: an archive of the sample songs is opened by a double click in the file box and
// its first member plays; after a moment the window is drawn into a PNG and the program ends. Run it on a display
// (under xvfb-run for a screenshot of the whole screen):   zip_snapshot out.png [SECONDS]
#include "core/settings/Settings.h"
#include "media/MIDIPlayer.h"
#include "os/Registry.h"
#include "player/app/TFormPlayer.h"
#include "player/filebox/FileBox.h"
#include "player/filebox/FileListBox.h"

#include "ArchiveWriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

std::string bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir sandbox;
    qputenv("VORLO_CONFIG_DIR", QFile::encodeName(sandbox.filePath("config")));
    qputenv("TMPDIR", QFile::encodeName(sandbox.path()));
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("zip-mode.png");
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 3;

    // The archive, of the sample songs beside the program, in folders as collections are.
    const QString samples = QCoreApplication::applicationDirPath();
    const QString music = sandbox.filePath("Music");
    QDir().mkpath(music);
    const std::string walk = bytesOf(samples + "/A_Walk_to_Seashore.mid");
    const std::string waiter = bytesOf(samples + "/The Waiter and The Reaper.mid");
    if (walk.empty() || waiter.empty()) {
        std::fprintf(stderr, "the sample songs are not beside the program\n");
        return 1;
    }
    if (!vorlo::test::writeArchive((music + "/Sea Songs.zip").toStdString(),
                                   {vorlo::test::fileMember("A_Walk_to_Seashore.mid", walk),
                                    vorlo::test::fileMember("read me.txt", "Two songs."),
                                    vorlo::test::fileMember("Stories/The Waiter and The Reaper.mid", waiter),
                                    vorlo::test::fileMember("Stories/Walk again.kar", walk)}))
        return 1;
    {
        vorlo::Registry reg;
        reg.openKey(QStringLiteral("\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Options"), true);
        reg.writeBool(QStringLiteral("AutoPlay"), true);
        reg.writeString(QStringLiteral("MIDIDirectory"), music);
        reg.writeInteger(QStringLiteral("FILTER"), 6);  // zip files
    }

    vorlo::media::MediaSettings settings;
    settings.audioMode = vorlo::media::AudioMode::SilentClock;
    vorlo::TFormPlayer form(sandbox.path(), nullptr, std::make_unique<vorlo::media::MIDIPlayer>(settings));
    if (!form.FormCreate({})) return 1;
    QTimer::singleShot(500, &form, [&] {
        vorlo::FileListBox* files = form.fileBox().fileListBox();
        const QModelIndex first = files->model()->index(0, 0);
        const QPoint centre = files->visualRect(first).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    });
    QTimer::singleShot(500 + seconds * 1000, &form, [&] {
        const bool saved = form.grab().save(out);
        std::printf("%s %s\n", saved ? "wrote" : "cannot write", qPrintable(out));
        std::fflush(stdout);
        form.close();
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
