#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <functional>

namespace vorlo {

class TFormPlayer;
class MprisPlayerAdaptor;

// The player on the desktop's media controls (MPRIS 2 over D-Bus): media keys, panel widgets and `playerctl` see
// what plays and drive the player. Every command they send is the window's own command (its action triggered, so
// a command the window has disabled does nothing here either); what they read is the core's transport state and
// view. A file URI to open takes the path of a second start's hand-over.
//
// User-interface thread only. Commands arriving over the bus run queued, after the call has been answered, so a
// box they raise never holds the caller waiting. Lives shorter than the window it is given.
class MediaControls : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.midivorlo";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

    explicit MediaControls(TFormPlayer& window);
    ~MediaControls() override;

    // Registers the player on `bus`. Returns the service name taken: kServiceName, or kServiceName followed by
    // ".instance<pid>" when another process holds that; empty when the bus is not connected or refuses (the player
    // then runs on without media controls).
    QString attach(const QDBusConnection& bus);
    // The bus attached to (unconnected before attach).
    QDBusConnection& bus() { return bus_; }

    // What the Player interface shows.
    QString playbackStatus() const;
    QString loopStatus() const;
    bool shuffle() const;
    QVariantMap metadata() const;
    // The position in the open entry, in microseconds (0 with nothing open).
    std::int64_t positionUs() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;
    bool canGoNext() const;
    bool canGoPrevious() const;

    // The commands, queued as described above.
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void seekBy(std::int64_t offsetUs);
    void setPosition(const QString& trackId, std::int64_t positionUs);
    // False (with `error` set) when `uri` is not a local file.
    bool openUri(const QString& uri, QString& error);
    void setLoopStatus(const QString& status);
    void setShuffle(bool on);
    void raise();
    void quit();

private:
    // The name taken when another process holds kServiceName.
    static QString instanceName();
    // The Player interface's properties that change by themselves (all but Position), as D-Bus values.
    QVariantMap changingProperties() const;
    // Tells the bus which of them changed since it was last told.
    void announceChanges();
    QString trackId() const;
    void later(const std::function<void()>& command);
    void seekTo(std::int64_t ms);

    TFormPlayer& window_;
    MprisPlayerAdaptor* player_ = nullptr;
    QDBusConnection bus_{QString()};
    QVariantMap announced_;
    // Counts the entries opened, so that each one has a track id of its own; brought up to date when read.
    mutable std::uint64_t trackSerial_ = 0;
    mutable QString trackKey_;
};

}  // namespace vorlo
