#pragma once

#include "midi/Lyrics.h"
#include "midi/TextEncoding.h"

#include <QObject>
#include <QString>

#include <cstdint>

namespace vorlo {

class PlaybackEngine;

// The lyrics of the song the player has open, and where the singing stands in them. It reads the song's words
// again whenever another file is opened (the next song, a list change) and in the encoding chosen; the place is
// asked for with place(), from the media device's position, so it follows play, pause and seeks as they happen.
// Only while active: an inactive follower reads nothing.
//
// User-interface thread only. Never throws: a file that cannot be read has no lyrics, and says why.
class LyricsFollower : public QObject {
    Q_OBJECT
public:
    explicit LyricsFollower(PlaybackEngine& engine, QObject* parent = nullptr);

    // Active while somebody shows the lyrics; turning it on reads the open song's.
    void setActive(bool active);
    bool active() const { return active_; }

    // The encoding the words are read in (Automatic: decided per song); changing it reads them again.
    void setCharset(midi::TextCharset charset);
    midi::TextCharset charset() const { return charset_; }

    // The file whose lyrics are held (empty when nothing is open).
    const QString& file() const { return file_; }
    const midi::SongLyrics& lyrics() const { return lyrics_; }
    // Why the open song shows no lyrics: "This song has no lyrics." or the reason it could not be read; empty while
    // there are lyrics or nothing is open.
    const QString& absence() const { return absence_; }

    // The song's position now (its own time, in milliseconds), and the place sung at it.
    std::int64_t positionMs() const;
    midi::LyricsPlace place() const;

signals:
    // Other lyrics are held (another song, another encoding, or none).
    void lyricsChanged();

private:
    void follow();
    void reload();

    PlaybackEngine& engine_;
    bool active_ = false;
    midi::TextCharset charset_ = midi::TextCharset::Automatic;
    QString file_;
    midi::SongLyrics lyrics_;
    QString absence_;
};

}  // namespace vorlo
