// A minimal program around SingleApp, so the tests can start real first and second processes.
//   singleapp_probe first OUTFILE   - becomes the first process, appends every hand-over to OUTFILE, prints
//                                     READY once it listens, ends on the hand-over "quit"
//   singleapp_probe second ARGS...  - hands ARGS over (a relative file name made absolute); exit 0 when sent, 4 when it
//   became first, 5 when not sent
#include "os/SingleApp.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <unistd.h>
#include <climits>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const bool first = std::strcmp(argv[1], "first") == 0;
    QCoreApplication app(argc, argv);
    vorlo::SingleApp single;
    if (!first) {
        if (single.isFirst()) return 4;
        // Everything after the word "second" is this start's command line, made absolute as the player does.
        char here[PATH_MAX];
        const QByteArray tail = vorlo::SingleApp::commandLineTail(argc - 1, argv + 1);
        return single.send(vorlo::SingleApp::absoluteTail(tail, ::getcwd(here, sizeof here) ? QByteArray(here) : ""))
                   ? 0
                   : 5;
    }
    if (!single.isFirst() || argc < 3) return 3;
    const QString out = QString::fromLocal8Bit(argv[2]);
    single.publish([&](const QByteArray& tail) {
        // Take a moment, as a player showing a question would: the sender must wait for this.
        QThread::msleep(300);
        QFile file(out);
        file.open(QIODevice::Append);
        file.write(tail + "\n");
        file.close();
        if (tail == "quit") app.quit();
    });
    std::printf("READY\n");
    std::fflush(stdout);
    return app.exec();
}
