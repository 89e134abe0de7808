// The program entry of the player: one player per user; a second start hands its command line over and ends.
#include "core/app/ErrorHandler.h"
#include "media/MIDIPlayer.h"
#include "media/VideoBackend.h"
#include "os/NativePath.h"
#include "os/SingleApp.h"
#include "os/TerminationSignals.h"
#include "player/app/PlayerApplication.h"
#include "player/app/TFormPlayer.h"
#include "player/mpris/MediaControls.h"

#include <QDateTime>
#include <QFile>
#include <QLoggingCategory>
#include <QWindow>

#include <unistd.h>
#include <climits>
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

}  // namespace

int main(int argc, char** argv) {
    const QByteArray tail = vorlo::SingleApp::commandLineTail(argc, argv);
    vorlo::PlayerApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIDI Vorlo"));
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        vorlo::SingleApp single;
        if (!single.isFirst()) {
            // The first player runs in another folder: a name relative to ours means nothing there.
            char here[PATH_MAX];
            single.send(vorlo::SingleApp::absoluteTail(tail, ::getcwd(here, sizeof here) ? QByteArray(here) : ""));
            return 0;
        }
        // A logout or `kill` ends the player without questions: the window saves what it must. A signal waits
        // in its pipe until the event loop first runs, when the window exists.
        vorlo::TFormPlayer* ending = nullptr;
        const vorlo::TerminationSignals terminations([&ending](int) {
            if (ending) ending->endOnSignal();
        });
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
        // From argv rather than QApplication::arguments(), which turns bytes that are no UTF-8 into U+FFFD: a file
        // name is bytes and must reach the list as they are. Qt has taken its own options out of argv.
        QStringList arguments;
        for (int i = 1; i < argc; ++i) arguments << vorlo::decodePath(argv[i]);
        ending = window.get();
        const StartupLog startupLog(*window);
        if (!window->FormCreate(arguments) || window->endingOnSignal()) return 0;
        startupLog.listIn(window->playlistPanel().playlist().count());
        single.publish([&window](const QByteArray& handed) { window->receiveHandOver(handed); });
        // The desktop's media keys and panel widgets, where there is a session bus.
        vorlo::MediaControls mediaControls(*window);
        mediaControls.attach(QDBusConnection::sessionBus());
        QApplication::exec();
        ending = nullptr;
    } catch (const std::exception& error) {
        vorlo::ErrorHandler::handle(error);
    }
    return 0;
}
