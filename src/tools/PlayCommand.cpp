// `vorlo play`: plays files through the player's own media device, so every kind the player plays (MIDI, wave
// audio, video, CD tracks) plays here too, without a window of its own. Each file ends with the device's report.
#include <QEventLoop>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "SoundCommands.h"
#include "ToolApplication.h"
#include "Usage.h"
#include "core/playback/Captions.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"
#include "os/NativePath.h"
#include "zip/MemberNames.h"
#include "zip/ScratchFolder.h"
#include "zip/ZipArchive.h"

namespace vorlo::tools {
namespace {

int g_interruptPipe[2] = {-1, -1};
volatile std::sig_atomic_t g_signalled = 0;
volatile std::sig_atomic_t g_toldInterrupted = 0;

// After a signal, this long for the play to stop and the program to end in order; then it ends regardless.
constexpr unsigned kGraceSeconds = 2;

[[noreturn]] void endNow() {
    static const char kText[] = "vorlo: interrupted\n";
    if (g_toldInterrupted == 0) [[maybe_unused]]
        const ssize_t ignored = ::write(STDERR_FILENO, kText, sizeof kText - 1);
    ::_exit(kExitInterrupted);
}

// The event loop learns of the signal through the socket and stops the play. Should the program not get there (a
// device or an output that hangs, a stalled pipe on stdout), the alarm ends it, and so does a second signal.
extern "C" void onPlayInterrupt(int) {
    if (g_signalled != 0) endNow();
    g_signalled = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_interruptPipe[1], &byte, 1);
    ::alarm(kGraceSeconds);
}

extern "C" void onGraceOver(int) { endNow(); }

void installInterruptHandlers() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = onPlayInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);  // a closed terminal ends the play like Ctrl+C
    ::sigaction(SIGTERM, &action, nullptr);
    action.sa_handler = onGraceOver;
    ::sigaction(SIGALRM, &action, nullptr);
}

struct PlayArguments {
    media::MediaSettings settings;
    long long fromMs = -1;
    long long toMs = -1;
    std::vector<std::string> files;
    std::string error;
};

PlayArguments parsePlayArguments(const std::vector<std::string>& args) {
    PlayArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        try {
            if (arg == "--soundfont" && hasValue)
                parsed.settings.soundFontPath = args[++i];
            else if (arg == "--gain" && hasValue) {
                parsed.settings.synthGain = parseGain(args[++i]);
                if (!parsed.settings.synthGain) parsed.error = kBadGain;
            } else if (arg == "--drivers" && hasValue)
                parsed.settings.audioDriverOrder = splitList(args[++i]);
            else if (arg == "--port" && hasValue)
                parsed.settings.midiPort = args[++i];
            else if (arg == "--cd" && hasValue)
                parsed.settings.cdDevice = args[++i];
            else if (arg == "--from" && hasValue)
                parsed.fromMs = std::stoll(args[++i]);
            else if (arg == "--to" && hasValue)
                parsed.toMs = std::stoll(args[++i]);
            else if (arg.rfind("--", 0) == 0)
                parsed.error = "unknown option " + arg;
            else
                parsed.files.push_back(arg);
        } catch (const std::exception&) {
            parsed.error = "bad value for " + arg;
        }
    }
    if (parsed.error.empty() && (parsed.fromMs < -1 || parsed.toMs < -1))
        parsed.error = "positions are milliseconds from 0";
    if (parsed.error.empty() && parsed.toMs >= 0 && parsed.fromMs > parsed.toMs)
        parsed.error = "--from " + std::to_string(parsed.fromMs) + " is after --to " + std::to_string(parsed.toMs);
    return parsed;
}

const char* reportName(media::NotifyValue value) {
    switch (value) {
        case media::NotifyValue::Successful: return "successful";
        case media::NotifyValue::Superseded: return "superseded";
        case media::NotifyValue::Aborted: return "aborted";
        case media::NotifyValue::Failure: return "failure";
    }
    return "failure";
}

// Opens `path` and works out the span to play: a CD track ("Track02.cda" names track 2) on the whole disc, or
// the file; --from and --to count from the start of that span.
bool openFile(media::MIDIPlayer& player, const std::string& path, const std::string& label, const PlayArguments& args,
              long long& start, long long& end) {
    const QString name = decodePath(path);
    const media::DeviceType type = media::MIDIPlayer::deviceTypeForPath(name);
    player.setDeviceType(type);
    player.setFileName(type == media::DeviceType::CDAudio ? QString() : name);
    try {
        const int track = type == media::DeviceType::CDAudio ? cdTrackFromPath(name) : 0;
        player.open();
        player.setTimeFormat(media::TimeFormat::Milliseconds);
        long long spanStart = 0;
        long long spanLength = player.length();
        if (type == media::DeviceType::CDAudio) {
            if (track < 1 || track > player.trackCount())
                throw media::EMCIDeviceError("The disc has no track " + std::to_string(track) + ".");
            spanStart = player.trackPosition(track);
            spanLength = player.trackLength(track);
        }
        start = spanStart + (args.fromMs < 0 ? 0 : std::min(args.fromMs, spanLength));
        end = spanStart + (args.toMs < 0 ? spanLength : std::min(args.toMs, spanLength));
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorlo: %s: %s\n", label.c_str(), error.what());
        return false;
    }
}

}  // namespace

int runPlay(const std::vector<std::string>& args, const std::string& programFolder) {
    const PlayArguments parsed = parsePlayArguments(args);
    if (!parsed.error.empty() || parsed.files.empty()) {
        std::fprintf(stderr, "vorlo: %s\n%s",
                     parsed.error.empty() ? "play takes one or more media files" : parsed.error.c_str(), kPlayUsage);
        return kExitUsage;
    }
    // Video needs Qt Multimedia and, for its window, Qt Widgets: they come with the video module, loaded only when
    // a video is among the files. The module then makes the application too, one with a window where there is a
    // display; a video it cannot play says why when it is opened.
    const bool anyVideo = std::any_of(parsed.files.begin(), parsed.files.end(), [](const std::string& path) {
        if (!zip::isArchivePath(path)) return media::MIDIPlayer::isVideoFile(decodePath(path));
        std::string unreadable;
        const std::unique_ptr<zip::ZipArchive> archive = zip::ZipArchive::open(path, unreadable);
        if (!archive) return false;
        const std::vector<zip::Member> members = archive->playableMembers();
        return std::any_of(members.begin(), members.end(), [](const zip::Member& member) {
            return media::MIDIPlayer::isVideoFile(QString::fromStdString(member.baseName));
        });
    });
    const ToolApplication app(programFolder, anyVideo);

    media::MIDIPlayer player(parsed.settings);
    bool interrupted = false;
    QEventLoop* playing = nullptr;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_interruptPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_interruptPipe[0], QSocketNotifier::Read, app.get());
        QObject::connect(notifier, &QSocketNotifier::activated, &player, [&] {
            char bytes[16];
            while (::read(g_interruptPipe[0], bytes, sizeof bytes) > 0) {}
            interrupted = true;
            // Stopping silences every sounding note; the play then reports that it was aborted. The loop ends after
            // that report (queued before this), or without one when the play had stalled.
            if (player.isOpen()) player.stop();
            if (playing != nullptr) QMetaObject::invokeMethod(playing, &QEventLoop::quit, Qt::QueuedConnection);
        });
        installInterruptHandlers();
    }

    int exitCode = kExitOk;
    // Plays one file through; false when the user interrupted.
    const auto playFile = [&](const std::string& label, const std::string& path) {
        long long start = 0;
        long long end = 0;
        // A signal that came while a file was opening (a slow or stalled medium) ends the program here.
        const bool opened = openFile(player, path, label, parsed, start, end);
        if (g_signalled != 0) return false;
        if (!opened) {
            exitCode = kExitFileFailed;
            return true;
        }
        if (const QString notice = player.takeOutputNotice(); !notice.isEmpty())
            std::fprintf(stderr, "vorlo: %s\n", notice.toLocal8Bit().constData());
        std::printf("playing\t%s\t%s\n", vorlo::minutesSeconds(end - start).toStdString().c_str(), label.c_str());
        std::fflush(stdout);
        QEventLoop loop;
        media::NotifyValue report = media::NotifyValue::Failure;
        const QMetaObject::Connection connection =
            QObject::connect(&player, &media::MIDIPlayer::OnNotify, &loop, [&](media::NotifyValue value) {
                report = value;
                loop.quit();
            });
        player.setStartPos(start);
        player.setEndPos(end);
        player.play();
        // A play the device refuses never reports: say why instead of waiting for it.
        const bool refused = player.lastError() != media::DeviceErrorCode::None;
        if (refused) {
            std::fprintf(stderr, "vorlo: %s: cannot play from %lld to %lld ms: %s\n", label.c_str(), start, end,
                         player.lastErrorMessage().toLocal8Bit().constData());
        } else {
            playing = &loop;
            loop.exec();
            playing = nullptr;
        }
        QObject::disconnect(connection);
        if (!refused) {
            std::printf("ended\t%s\t%s\n", reportName(report), label.c_str());
            std::fflush(stdout);
        }
        // The device lets go of the file before an archive's member is removed.
        player.close();
        if (interrupted) return false;
        if (refused || report != media::NotifyValue::Successful) exitCode = kExitFileFailed;
        return true;
    };
    bool goOn = true;
    for (const std::string& path : parsed.files) {
        if (!goOn) break;
        if (!zip::isArchivePath(path)) {
            goOn = playFile(path, path);
            continue;
        }
        // An archive plays like a list: each member extracted just before it plays and removed after.
        zip::forEachPlayableMember(
            path, [&](const std::string& label, const std::string& extracted, const std::string& error) {
                if (!goOn) return;
                if (!error.empty()) {
                    std::fprintf(stderr, "vorlo: %s: %s\n", label.c_str(), error.c_str());
                    exitCode = kExitFileFailed;
                    return;
                }
                goOn = playFile(label, extracted);
            });
    }
    if (!goOn || g_signalled != 0) {
        player.close();
        g_toldInterrupted = 1;
        std::fprintf(stderr, "vorlo: interrupted\n");
        return kExitInterrupted;
    }
    player.close();
    return exitCode;
}

}  // namespace vorlo::tools
