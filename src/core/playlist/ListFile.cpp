#include "core/playlist/ListFile.h"

#include "os/NativePath.h"
#include "os/RegularFile.h"

#include <QFile>

#include <algorithm>

namespace vorlo {

namespace {

// The position of the last dot of a path's name part, or -1.
qsizetype extensionDot(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? dot : -1;
}

}  // namespace

QByteArray ListFile::serialise(const QStringList& paths) {
    QByteArray bytes;
    for (const QString& path : paths) {
        bytes += encodePath(path);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList ListFile::parse(const QByteArray& bytes) {
    QStringList lines;
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul < 0 ? bytes.size() : nul;
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines << decodePath(QByteArrayView(bytes).sliced(start, i - start));
        if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < end) lines << decodePath(QByteArrayView(bytes).sliced(start, end - start));
    return lines;
}

QStringList ListFile::parseHead(const QByteArray& head, bool cut, qsizetype maxLines) {
    qsizetype end = head.size();
    if (cut) end = std::max(head.lastIndexOf('\n'), head.lastIndexOf('\r')) + 1;
    // Only as far as the lines wanted go: the rest of a long head is never split into lines.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < end && breaks < maxLines; ++i) {
        if (head[i] == '\n' || (head[i] == '\r' && (i + 1 >= end || head[i + 1] != '\n'))) {
            ++breaks;
            if (breaks == maxLines) end = i + 1;
        }
    }
    QStringList lines = parse(head.left(end));
    if (lines.size() > maxLines) lines.resize(maxLines);
    return lines;
}

QStringList ListFile::read(const QString& fileName) {
    const FileHead file = readFileHead(fileName);
    if (!file.error.isEmpty())
        throw EListFileError(QStringLiteral("Cannot read the playlist file %1: %2").arg(fileName, file.error));
    return parse(file.bytes);
}

bool ListFile::holdsLineBreak(const QString& path) {
    return path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'));
}

void ListFile::write(const QString& fileName, const QStringList& paths, SafeSave::Links links) {
    for (const QString& path : paths) {
        if (holdsLineBreak(path))
            throw EListFileError(QStringLiteral("Cannot save the playlist file %1: the name of %2 holds a line "
                                                "break, which a playlist file cannot keep.")
                                     .arg(fileName, QString(path)
                                                        .replace(QLatin1Char('\n'), QLatin1Char(' '))
                                                        .replace(QLatin1Char('\r'), QLatin1Char(' '))));
    }
    try {
        SafeSave::write(fileName, serialise(paths), links);
    } catch (const SafeSaveError& error) {
        throw EListFileError(QStringLiteral("Cannot save the playlist file %1: %2").arg(fileName, error.reason()));
    }
}

bool ListFile::hasListExtension(const QString& fileName) {
    const qsizetype dot = extensionDot(fileName);
    return dot >= 0 && fileName.mid(dot) == QLatin1String(".mpl");
}

QString ListFile::withListExtension(const QString& fileName) {
    const qsizetype dot = extensionDot(fileName);
    return (dot < 0 ? fileName : fileName.left(dot)) + QStringLiteral(".mpl");
}

}  // namespace vorlo
