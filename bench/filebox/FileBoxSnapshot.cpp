// Pictures for a look by eye: the file box at its design size on a folder, and the help window at a topic.
//
//   filebox_snapshot OUTPUT_FOLDER [FOLDER] [CONTEXT]
#include "player/filebox/FileBox.h"
#include "player/filebox/FileListBox.h"
#include "player/help/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: filebox_snapshot OUTPUT_FOLDER [FOLDER] [CONTEXT]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);

    vorlo::FileBox box;
    box.setFolder(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath());
    box.setFilterIndex(7);
    box.show();
    box.fileListBox()->finishLoading();
    QApplication::processEvents();
    box.grab().save(output + "/filebox.png");

    vorlo::HelpWindow help;
    help.showContext(argc > 3 ? std::atoi(argv[3]) : vorlo::HelpTopics::Contents);
    QApplication::processEvents();
    help.grab().save(output + "/help.png");
    std::printf("pictures in %s\n", qPrintable(output));
    return 0;
}
