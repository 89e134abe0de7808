#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace vorlo {

// The information window's report on one playlist file: path, size and date, and for a MIDI file the
// header's format and track count and the text events that open its first track.
struct FileReport {
    QString caption;    // empty when the file could not be read
    QStringList lines;  // empty when the file could not be read

    // `selectedIndex` and `entryCount` describe the entry's place in the playlist, for the caption.
    static FileReport build(const QString& path, int selectedIndex, int entryCount);

    // "1.5" for 1536 bytes: kilobytes in the general number form, cut (not rounded) two digits after the point.
    static QString kilobytesText(std::int64_t bytes);
    // The last-write time in the user's short date and long time formats.
    static QString dateText(const QDateTime& lastWrite);
    // "Information - File 3 of 12 Files"; "... 1 of 1 File" for a playlist of one entry.
    static QString captionFor(int selectedIndex, int entryCount);
    // The lines about a MIDI file's contents, read from its bytes: format, track count and leading texts.
    static QStringList midiLines(const QByteArray& bytes);
};

}  // namespace vorlo
