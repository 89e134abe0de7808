#include "core/lyrics/LyricsFollower.h"

#include "core/playback/PlaybackEngine.h"

#include <QFile>

#include <algorithm>

namespace vorlo {

namespace {

bool isMidiName(const QString& path) {
    for (const char* extension : {".mid", ".midi", ".kar", ".rmi"}) {
        if (path.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) return true;
    }
    return false;
}

}  // namespace

LyricsFollower::LyricsFollower(PlaybackEngine& engine, QObject* parent) : QObject(parent), engine_(engine) {
    connect(&engine_, &PlaybackEngine::stateChanged, this, &LyricsFollower::follow);
}

void LyricsFollower::setActive(bool active) {
    if (active_ == active) return;
    active_ = active;
    if (active_) reload();
}

void LyricsFollower::setCharset(midi::TextCharset charset) {
    if (charset_ == charset) return;
    charset_ = charset;
    if (active_) reload();
}

void LyricsFollower::follow() {
    if (!active_) return;
    const TransportState& state = engine_.state();
    const QString open = state.entryOpen ? state.openFile : QString();
    if (open != file_) reload();
}

void LyricsFollower::reload() {
    const TransportState& state = engine_.state();
    file_ = state.entryOpen ? state.openFile : QString();
    lyrics_ = {};
    absence_.clear();
    if (isMidiName(file_)) {
        const QByteArray name = QFile::encodeName(file_);
        auto read = midi::readLyrics(std::string(name.constData(), static_cast<std::size_t>(name.size())), charset_);
        if (auto* error = std::get_if<midi::ReadError>(&read)) {
            absence_ = QStringLiteral("The lyrics cannot be read: %1").arg(QString::fromStdString(error->text));
        } else {
            lyrics_ = std::move(std::get<midi::SongLyrics>(read));
            if (lyrics_.empty()) absence_ = QStringLiteral("This song has no lyrics.");
        }
    } else if (!file_.isEmpty()) {
        // Wave audio and video have no words to show.
        absence_ = QStringLiteral("This song has no lyrics.");
    }
    emit lyricsChanged();
}

std::int64_t LyricsFollower::positionMs() const {
    media::MIDIPlayer& device = engine_.device();
    if (!engine_.state().entryOpen || !device.isOpen()) return 0;
    return std::max<std::int64_t>(0, engine_.span().ownTime(device.position()));
}

midi::LyricsPlace LyricsFollower::place() const { return midi::lyricsPlaceAt(lyrics_, positionMs()); }

}  // namespace vorlo
