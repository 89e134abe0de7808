// setup: installs MIDI Vorlo from the folder it is started in and removes it again, in its windows or, with
// --install/--uninstall, without a person at the keyboard.
#include "setup/BoxPrompts.h"
#include "setup/ConsolePrompts.h"
#include "setup/SetupSteps.h"
#include "setup/TFormTitle.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {

using vorlo::SetupSteps;

const char* const kUsage =
    "Usage: setup                                   the installer's windows\n"
    "       setup --install [FOLDER] [--desktop-shortcut] [--group NAME]\n"
    "       setup --uninstall\n"
    "Without a person at the keyboard, --install installs from the current folder into FOLDER (default: MIDIVorlo\n"
    "in the home folder) with the default answers, and --uninstall removes what an install put there. Each message\n"
    "is printed; the exit status is 0 on success, 1 on a failure, 2 on a wrong command line.\n";

int unattended(const QStringList& args) {
    const bool install = args.first() == QStringLiteral("--install");
    QString folder;
    QString group = QStringLiteral("MIDI Vorlo");
    bool desktopShortcut = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (install && args[i] == QStringLiteral("--desktop-shortcut")) {
            desktopShortcut = true;
        } else if (install && args[i] == QStringLiteral("--group") && i + 1 < args.size()) {
            group = args[++i];
        } else if (install && folder.isEmpty() && !args[i].startsWith(QStringLiteral("--"))) {
            folder = QDir::current().absoluteFilePath(args[i]);
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    vorlo::ConsolePrompts prompts(desktopShortcut);
    SetupSteps steps(prompts);
    if (!install) {
        if (!SetupSteps::isInstalled()) {
            std::fputs("MIDI Vorlo is not installed for this user: there is nothing to uninstall.\n", stderr);
            return 1;
        }
        if (steps.uninstall() != SetupSteps::Result::Done) return 1;
        steps.removeOwnFile();
        return prompts.failed() ? 1 : 0;
    }
    if (folder.isEmpty()) folder = SetupSteps::defaultProgramFolder();
    if (steps.copyFiles(QDir::currentPath(), folder) != SetupSteps::Result::Done) return 1;
    const QString groupFolder = steps.createGroup(folder, group);
    if (groupFolder.isEmpty()) return 1;
    if (steps.complete(folder, groupFolder) != SetupSteps::Result::Done) return 1;
    return prompts.failed() ? 1 : 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    if (argc > 1 && (std::strcmp(argv[1], "--install") == 0 || std::strcmp(argv[1], "--uninstall") == 0)) {
        QCoreApplication app(argc, argv);
        return unattended(QCoreApplication::arguments().mid(1));
    }
    if (argc > 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIDI Vorlo Setup"));
    QApplication::setApplicationDisplayName(QStringLiteral("MIDI Vorlo Setup"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    QApplication::setFont(font);
    vorlo::BoxPrompts prompts;
    SetupSteps steps(prompts);
    vorlo::TFormTitle title(steps, QDir::currentPath());
    title.show();
    return app.exec();
}
