// Saves the player's options over and over, as the player's close does, until it is killed:
//   options_save_probe CONFIGDIR
// Save number g writes g into every whole-number option that has no rule of its own and "/gen/<g>" as the MIDI
// folder, so whoever reads the settings file can tell whether it holds one save whole. Prints READY once the
// first save is on disk.
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    qputenv("VORLO_CONFIG_DIR", argv[1]);
    QCoreApplication app(argc, argv);
    vorlo::Settings settings;
    for (int generation = 1;; ++generation) {
        vorlo::Options& options = settings.options();
        options.top = generation;
        options.left = generation;
        options.clientHeight = generation;
        options.clientWidth = generation;
        options.lastOne = generation;
        options.skip = generation;
        options.wait = generation;
        options.midiDirectory = QStringLiteral("/gen/%1").arg(generation);
        settings.save({QStringLiteral("/gen/%1/list.mpl").arg(generation)});
        if (generation == 1) {
            std::printf("READY\n");
            std::fflush(stdout);
        }
    }
}
