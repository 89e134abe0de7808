#include "player/app/DesktopOpener.h"

#include "core/app/MessageBoxes.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace vorlo {

namespace {

const QString OpenFileError = QStringLiteral("Error - Open File");

// The freedesktop launcher says by its exit code whether a program took the file; Qt's own lookup only says
// whether it found a launcher, so it is the fallback where xdg-open is missing.
void launchOnDesktop(const QString& path, std::function<void()> failed) {
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) failed();
        return;
    }
    // Outside a known desktop xdg-open runs the program in its place and ends with it, so its verdict is awaited
    // without blocking. The launcher has no parent: a program still open when the player ends is left running.
    auto* launcher = new QProcess;
    launcher->setProgram(xdgOpen);
    launcher->setArguments({path});
    launcher->setStandardOutputFile(QProcess::nullDevice());
    launcher->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(launcher, &QProcess::finished, launcher, [launcher, failed](int code, QProcess::ExitStatus how) {
        if (how != QProcess::NormalExit || code != 0) failed();
        launcher->deleteLater();
    });
    QObject::connect(launcher, &QProcess::errorOccurred, launcher, [launcher, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;  // the other errors end in finished()
        failed();
        launcher->deleteLater();
    });
    launcher->start();
}

DesktopOpener::Launcher& launcher() {
    static DesktopOpener::Launcher installed;
    return installed;
}

}  // namespace

void DesktopOpener::setLauncher(Launcher replacement) { launcher() = std::move(replacement); }

void DesktopOpener::reportNoProgram(const QString& path) {
    MessageBoxes::show(OpenFileError,
                       QStringLiteral("No program is set up to open the file '") + path + QStringLiteral("'!"),
                       BoxIcon::Error);
}

void DesktopOpener::open(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists() || file.isDir()) {
        MessageBoxes::show(OpenFileError, QStringLiteral("Cannot find the file '") + path + QStringLiteral("'!"),
                           BoxIcon::Error);
        return;
    }
    auto failed = [path] { reportNoProgram(path); };
    if (launcher())
        launcher()(path, failed);
    else
        launchOnDesktop(path, failed);
}

}  // namespace vorlo
