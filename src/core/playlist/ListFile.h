#pragma once

#include "os/SafeSave.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace vorlo {

// A failure to read or write a list file; the message names the file and the cause.
class EListFileError : public std::runtime_error {
public:
    explicit EListFileError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The ".mpl" playlist file: one full path per line, every line ending in CR LF, nothing else. Reading also takes
// lone CR and lone LF as line ends, a last line without a break, and stops at a NUL byte; lines are not trimmed,
// so an empty line is an entry with an empty path.
class ListFile {
public:
    static QByteArray serialise(const QStringList& paths);
    static QStringList parse(const QByteArray& bytes);
    // The first `maxLines` lines of the head of a list file. `cut` says the head was cut short, so that a last
    // line without its line end is incomplete and left out rather than taken as a wrong, shorter path.
    static QStringList parseHead(const QByteArray& head, bool cut, qsizetype maxLines);

    // Reads a list file; throws EListFileError when it cannot be read.
    static QStringList read(const QString& fileName);

    // Writes a list file by replacing it whole (SafeSave): the new text goes to a temporary file beside it, which
    // takes the old file's place only once it is complete on disk. A failure (a full disk, a folder that refuses
    // writing, a special file, a link that `links` refuses) throws EListFileError and leaves the old list as it
    // was. A path holding a line break cannot be kept in the format: such a list is refused whole, never written
    // broken.
    static void write(const QString& fileName, const QStringList& paths,
                      SafeSave::Links links = SafeSave::Links::FollowToRegularFile);

    // Whether `path` holds a CR or LF, which would split its line in two.
    static bool holdsLineBreak(const QString& path);

    // True when the file name's extension (from the last dot of the name part) is exactly ".mpl".
    static bool hasListExtension(const QString& fileName);

    // The name a list is saved under: its extension replaced by ".mpl", or ".mpl" appended when it has none.
    static QString withListExtension(const QString& fileName);
};

}  // namespace vorlo
