#pragma once

#include <QByteArray>
#include <QString>

#include <limits>

namespace vorlo {

// What was read of a file: its first bytes, whether the file held more, or why it could not be read.
struct FileHead {
    QByteArray bytes;
    bool cut = false;  // the file held more than was asked for
    QString error;     // empty when the read succeeded; else a sentence ending in a full stop or a system text
};

// Reads at most `maxBytes` of `path`, and only when it is a regular file (or a link to one). The open never waits:
// a FIFO, device, socket or folder is refused with "it is not a regular file." and the descriptor itself is
// checked, so a file swapped after the look is caught too. Any thread; throws nothing.
FileHead readFileHead(const QString& path, qsizetype maxBytes = std::numeric_limits<qsizetype>::max() - 1);

}  // namespace vorlo
