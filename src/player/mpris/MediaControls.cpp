#include "player/mpris/MediaControls.h"

#include "core/app/ErrorHandler.h"
#include "core/files/UriList.h"
#include "core/playback/PlayerView.h"
#include "player/app/PlayerActions.h"
#include "player/app/TFormPlayer.h"
#include "player/mpris/MprisAdaptors.h"

#include <QAction>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QMetaObject>
#include <QUrl>

#include <unistd.h>
#include <algorithm>

namespace vorlo {

namespace {

const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

MediaControls::MediaControls(TFormPlayer& window) : window_(window) {
    new MprisRootAdaptor(this, *this);
    player_ = new MprisPlayerAdaptor(this, *this);
    PlayerCore& core = window_.core();
    connect(&core, &PlayerCore::viewChanged, this, &MediaControls::announceChanges);
    connect(&core.engine(), &PlaybackEngine::captionChanged, this, &MediaControls::announceChanges);
    connect(&core.engine(), &PlaybackEngine::modesChanged, this, &MediaControls::announceChanges);
    connect(&core.position(), &PositionDisplay::seeked, this,
            [this](std::int64_t ms) { emit player_->Seeked(static_cast<qlonglong>(ms) * 1000); });
}

MediaControls::~MediaControls() {
    if (!bus_.isConnected()) return;
    bus_.unregisterObject(QLatin1String(kObjectPath));
    for (const QString& name : {QString::fromLatin1(kServiceName), instanceName()}) bus_.unregisterService(name);
}

QString MediaControls::instanceName() {
    return QLatin1String(kServiceName) + QStringLiteral(".instance") + QString::number(::getpid());
}

QString MediaControls::attach(const QDBusConnection& bus) {
    if (!bus.isConnected()) return {};
    bus_ = bus;
    if (!bus_.registerObject(QLatin1String(kObjectPath), this, QDBusConnection::ExportAdaptors)) return {};
    announced_ = changingProperties();
    for (const QString& name : {QString::fromLatin1(kServiceName), instanceName()}) {
        if (bus_.registerService(name)) return name;
    }
    bus_.unregisterObject(QLatin1String(kObjectPath));
    return {};
}

QString MediaControls::playbackStatus() const {
    const TransportState& state = window_.core().engine().state();
    if (state.paused || state.wait == WaitPhase::Frozen) return QStringLiteral("Paused");
    if (state.devicePlaying || state.playWanted || state.wait == WaitPhase::Counting) return QStringLiteral("Playing");
    return QStringLiteral("Stopped");
}

QString MediaControls::loopStatus() const {
    const PlayModes& modes = window_.core().modes();
    if (modes.repeat) return QStringLiteral("Track");
    if (modes.loop) return QStringLiteral("Playlist");
    return QStringLiteral("None");
}

bool MediaControls::shuffle() const { return window_.core().modes().shuffle; }

QString MediaControls::trackId() const {
    // A new entry open is a new track, also when the same file is opened again by another line of the list.
    const TransportState& state = window_.core().engine().state();
    if (!state.entryOpen) return QLatin1String(kNoTrack);
    const QString key = QString::number(window_.core().playlist().CurrentIndex()) + QLatin1Char('|') + state.openFile +
                        QLatin1Char('|') + QString::number(state.cdAudio ? state.cdTrack : 0);
    if (key != trackKey_) {
        trackKey_ = key;
        ++trackSerial_;
    }
    return QStringLiteral("/org/mpris/MediaPlayer2/midivorlo/track/") + QString::number(trackSerial_);
}

QVariantMap MediaControls::metadata() const {
    PlayerCore& core = window_.core();
    const TransportState& state = core.engine().state();
    QVariantMap data;
    data.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId())));
    const Playlist& playlist = core.playlist();
    const int current = playlist.CurrentIndex();
    if (!state.entryOpen || current < 0 || current >= playlist.count()) return data;
    const PlaylistEntry& entry = playlist.entry(current);
    data.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(core.engine().span().lengthMs) * 1000);
    data.insert(QStringLiteral("xesam:title"), entry.displayName);
    // In zip mode the entry names a member; the file open is its extracted copy.
    const QString file = state.openFile.isEmpty() ? entry.path : state.openFile;
    if (!file.isEmpty()) data.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(file).toString());
    return data;
}

std::int64_t MediaControls::positionUs() const {
    PlaybackEngine& engine = window_.core().engine();
    media::MIDIPlayer& device = engine.device();
    if (!engine.state().entryOpen || !device.isOpen()) return 0;
    return std::max<std::int64_t>(0, engine.span().ownTime(device.position())) * 1000;
}

bool MediaControls::canPlay() const {
    const PlayerView view = window_.core().view();
    return view.play || view.pause;
}

bool MediaControls::canPause() const { return window_.core().view().pause; }

bool MediaControls::canSeek() const {
    return window_.core().engine().state().entryOpen && window_.core().view().trackBar.enabled;
}

bool MediaControls::canGoNext() const { return window_.core().view().next; }

bool MediaControls::canGoPrevious() const { return window_.core().view().previous; }

QVariantMap MediaControls::changingProperties() const {
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("LoopStatus"), loopStatus()},
        {QStringLiteral("Shuffle"), shuffle()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("CanGoNext"), canGoNext()},
        {QStringLiteral("CanGoPrevious"), canGoPrevious()},
        {QStringLiteral("CanPlay"), canPlay()},
        {QStringLiteral("CanPause"), canPause()},
        {QStringLiteral("CanSeek"), canSeek()},
    };
}

void MediaControls::announceChanges() {
    if (!bus_.isConnected()) return;
    const QVariantMap now = changingProperties();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (announced_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
    }
    if (changed.isEmpty()) return;
    announced_ = now;
    QDBusMessage signal =
        QDBusMessage::createSignal(QLatin1String(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    bus_.send(signal);
}

void MediaControls::later(const std::function<void()>& command) {
    QMetaObject::invokeMethod(
        this, [command] { ErrorHandler::run(command); }, Qt::QueuedConnection);
}

void MediaControls::play() {
    later([this] {
        const PlayerActions& actions = window_.playerActions();
        // Play goes on after a pause; while it is disabled (a frozen wait) Pause goes on instead.
        if (actions.play->isEnabled())
            actions.play->trigger();
        else if (playbackStatus() == QLatin1String("Paused"))
            actions.pause->trigger();
    });
}

void MediaControls::pause() {
    later([this] {
        if (playbackStatus() == QLatin1String("Playing")) window_.playerActions().pause->trigger();
    });
}

void MediaControls::playPause() {
    later([this] {
        // The player's Pause toggles: it pauses what plays and goes on after a pause.
        const PlayerActions& actions = window_.playerActions();
        if (playbackStatus() == QLatin1String("Stopped"))
            actions.play->trigger();
        else
            actions.pause->trigger();
    });
}

void MediaControls::stop() {
    later([this] { window_.playerActions().stop->trigger(); });
}

void MediaControls::next() {
    later([this] { window_.playerActions().next->trigger(); });
}

void MediaControls::previous() {
    later([this] { window_.playerActions().previous->trigger(); });
}

void MediaControls::seekTo(std::int64_t ms) { window_.core().position().seekTo(ms); }

void MediaControls::seekBy(std::int64_t offsetUs) {
    later([this, offsetUs] {
        if (!canSeek()) return;
        const std::int64_t lengthMs = window_.core().engine().span().lengthMs;
        // In milliseconds, so that no offset the bus may send overflows.
        const std::int64_t target = positionUs() / 1000 + offsetUs / 1000;
        // Past the end is the next entry; before the start is the start.
        if (target > lengthMs) {
            window_.playerActions().next->trigger();
            return;
        }
        seekTo(std::max<std::int64_t>(0, target));
    });
}

void MediaControls::setPosition(const QString& id, std::int64_t positionUs) {
    later([this, id, positionUs] {
        // A position meant for another track, or outside this one, is ignored.
        if (!canSeek() || id != trackId()) return;
        if (positionUs < 0 || positionUs / 1000 > window_.core().engine().span().lengthMs) return;
        seekTo(positionUs / 1000);
    });
}

bool MediaControls::openUri(const QString& uri, QString& error) {
    const UriList files = UriList::parse(uri.toUtf8());
    if (files.paths.size() != 1) {
        error = QStringLiteral("Only local files can be opened: %1").arg(uri);
        return false;
    }
    const QByteArray tail = QFile::encodeName(files.paths.first());
    later([this, tail] { window_.receiveHandOver(tail); });
    return true;
}

void MediaControls::setLoopStatus(const QString& status) {
    later([this, status] {
        const PlayModes& modes = window_.core().modes();
        const PlayerActions& actions = window_.playerActions();
        if (status == QLatin1String("Track")) {
            if (!modes.repeat) actions.repeatPlay->trigger();
        } else if (status == QLatin1String("Playlist")) {
            if (!modes.loop) actions.loopPlay->trigger();
        } else if (status == QLatin1String("None")) {
            if (modes.loop) actions.loopPlay->trigger();
            if (modes.repeat) actions.repeatPlay->trigger();
        }
    });
}

void MediaControls::setShuffle(bool on) {
    later([this, on] {
        if (window_.core().modes().shuffle != on) window_.playerActions().shufflePlay->trigger();
    });
}

void MediaControls::raise() {
    later([this] { window_.restoreFromTray(); });
}

void MediaControls::quit() {
    later([this] { window_.playerActions().exit->trigger(); });
}

}  // namespace vorlo
