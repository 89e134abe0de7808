#include "player/mpris/MprisAdaptors.h"

#include "os/XdgAssociations.h"
#include "player/mpris/MediaControls.h"

#include <QDBusConnection>

namespace vorlo {

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, MediaControls& controls)
    : QDBusAbstractAdaptor(parent), controls_(controls) {}

QString MprisRootAdaptor::identity() const { return QStringLiteral("MIDI Vorlo"); }

QString MprisRootAdaptor::desktopEntry() const {
    // The desktop entry's name without ".desktop".
    return QString::fromLatin1(XdgAssociations::kDesktopId).section(QLatin1Char('.'), 0, 0);
}

QStringList MprisRootAdaptor::supportedUriSchemes() const { return {QStringLiteral("file")}; }

QStringList MprisRootAdaptor::supportedMimeTypes() const { return XdgAssociations::handledTypes(); }

void MprisRootAdaptor::Raise() { controls_.raise(); }

void MprisRootAdaptor::Quit() { controls_.quit(); }

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, MediaControls& controls)
    : QDBusAbstractAdaptor(parent), controls_(controls) {}

QString MprisPlayerAdaptor::playbackStatus() const { return controls_.playbackStatus(); }
QString MprisPlayerAdaptor::loopStatus() const { return controls_.loopStatus(); }
void MprisPlayerAdaptor::setLoopStatus(const QString& status) { controls_.setLoopStatus(status); }
bool MprisPlayerAdaptor::shuffle() const { return controls_.shuffle(); }
void MprisPlayerAdaptor::setShuffle(bool on) { controls_.setShuffle(on); }
QVariantMap MprisPlayerAdaptor::metadata() const { return controls_.metadata(); }
qlonglong MprisPlayerAdaptor::position() const { return controls_.positionUs(); }
bool MprisPlayerAdaptor::canGoNext() const { return controls_.canGoNext(); }
bool MprisPlayerAdaptor::canGoPrevious() const { return controls_.canGoPrevious(); }
bool MprisPlayerAdaptor::canPlay() const { return controls_.canPlay(); }
bool MprisPlayerAdaptor::canPause() const { return controls_.canPause(); }
bool MprisPlayerAdaptor::canSeek() const { return controls_.canSeek(); }

void MprisPlayerAdaptor::Next() { controls_.next(); }
void MprisPlayerAdaptor::Previous() { controls_.previous(); }
void MprisPlayerAdaptor::Pause() { controls_.pause(); }
void MprisPlayerAdaptor::PlayPause() { controls_.playPause(); }
void MprisPlayerAdaptor::Stop() { controls_.stop(); }
void MprisPlayerAdaptor::Play() { controls_.play(); }
void MprisPlayerAdaptor::Seek(qlonglong Offset) { controls_.seekBy(Offset); }

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    controls_.setPosition(TrackId.path(), Position);
}

void MprisPlayerAdaptor::OpenUri(const QString& Uri, const QDBusMessage& message) {
    QString error;
    if (controls_.openUri(Uri, error)) return;
    message.setDelayedReply(true);
    controls_.bus().send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.NotSupported"), error));
}

}  // namespace vorlo
