// The program entry of the player: one player per user; a second start hands its command line over and ends.
#include "core/app/ErrorHandler.h"
#include "media/MIDIPlayer.h"
#include "media/VideoBackend.h"
#include "os/SingleApp.h"
#include "player/app/PlayerApplication.h"
#include "player/app/TFormPlayer.h"

#include <QDateTime>
#include <QFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QWindow>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#include <memory>

namespace {

Q_LOGGING_CATEGORY(lcStartup, "vorlo.startup", QtWarningMsg)

// With QT_LOGGING_RULES="vorlo.startup.info=true" the player says when its list is in and when its window is first
// exposed, in wall-clock milliseconds, so that a benchmark that started it at a known time can follow its start.
class StartupLog : public QObject {
public:
    explicit StartupLog(QWidget& window) : window_(window) {
        if (lcStartup().isInfoEnabled()) qApp->installEventFilter(this);
    }
    void listIn(int entries) const {
        qCInfo(lcStartup, "list of %d entries in at %lld", entries, QDateTime::currentMSecsSinceEpoch());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && watched == window_.windowHandle() &&
            window_.windowHandle()->isExposed()) {
            qCInfo(lcStartup, "window exposed at %lld", QDateTime::currentMSecsSinceEpoch());
            qApp->removeEventFilter(this);
        }
        return false;
    }

private:
    QWidget& window_;
};

int g_signalPipe[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
}

// A logout or `kill` ends the player like a shutdown of the desktop: the window is destroyed in order, so the
// options are saved and the list is offered for saving.
void quitOnTerminate() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] { QApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    const QByteArray tail = vorlo::SingleApp::commandLineTail(argc, argv);
    vorlo::PlayerApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIDI Vorlo"));
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        vorlo::SingleApp single;
        if (!single.isFirst()) {
            single.send(tail);
            return 0;
        }
        quitOnTerminate();
        // Video comes as a module from the program folder, loaded when the first video is opened: the player starts
        // without Qt Multimedia and GStreamer.
        const QByteArray folder = QFile::encodeName(QApplication::applicationDirPath());
        vorlo::media::setVideoDeviceFactory(vorlo::media::videoModuleFactory(
            vorlo::media::moduleFolders(std::string(folder.constData(), static_cast<std::size_t>(folder.size())))));
        // The synthesizer reads its soundfont while the window is built and the list is read.
        auto device = std::make_unique<vorlo::media::MIDIPlayer>();
        device->preloadSynth();
        auto window =
            std::make_unique<vorlo::TFormPlayer>(QApplication::applicationDirPath(), nullptr, std::move(device));
        // Every window of the player (help, file information, boxes) carries the main window's icon.
        QApplication::setWindowIcon(window->windowIcon());
        QStringList arguments = QApplication::arguments();
        arguments.removeFirst();
        const StartupLog startupLog(*window);
        if (!window->FormCreate(arguments)) return 0;
        startupLog.listIn(window->playlistPanel().playlist().count());
        single.publish([&window](const QByteArray& handed) { window->receiveHandOver(handed); });
        QApplication::exec();
    } catch (const std::exception& error) {
        vorlo::ErrorHandler::handle(error);
    }
    return 0;
}
