// Pictures of the playlist summary's report for the songs named on the command line, and of the drive search's
// result after searching the folder of the first song.
#include "core/app/PlayerCore.h"
#include "core/info/PlaylistSummary.h"
#include "core/playback/PlayModes.h"
#include "core/settings/Options.h"
#include "media/MIDIPlayer.h"
#include "player/info/TDgInt.h"
#include "player/info/TFormInfo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: summary_snapshot OUT_FOLDER SONG...\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    vorlo::EntryLengths lengths({}, {});
    std::vector<vorlo::SummaryRow> rows;
    for (int i = 2; i < argc; ++i) {
        const QString path = QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
        rows.push_back({path, lengths.measure(path)});
    }
    vorlo::TFormInfo report;
    report.setReport(QStringLiteral("Playlist Summary"), vorlo::SummaryReport::lines({}, rows));
    report.show();
    QApplication::processEvents();
    report.grab().save(out + QStringLiteral("/summary.png"));

    vorlo::media::MIDIPlayer device;
    vorlo::Options options;
    vorlo::PlayModes modes;
    vorlo::PlayerCore core(device, options, modes);
    vorlo::TDgInt dialog(vorlo::TDgInt::Job::Search, core, nullptr,
                         {QFileInfo(QString::fromLocal8Bit(argv[2])).absolutePath()});
    dialog.show();
    dialog.BtnBeginClick();
    QElapsedTimer limit;
    limit.start();
    while (dialog.endButton()->text() != QStringLiteral("&OK") && limit.elapsed() < 20000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
    dialog.grab().save(out + QStringLiteral("/search.png"));
    std::printf("%s\n", qPrintable(dialog.label()->text()));
    return 0;
}
