#include "os/NativePath.h"

#include <sys/stat.h>

#include <algorithm>

namespace vorlo {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // a byte b that is no UTF-8 travels as U+DC00 + b (b >= 0x80)

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `p` (Unicode's table: no overlong forms, no surrogates, nothing
// above U+10FFFF), or 0 when the byte there starts none.
int sequenceLength(const unsigned char* p, qsizetype left) {
    const unsigned char lead = p[0];
    if (lead < 0x80) return 1;
    if (lead < 0xC2 || lead > 0xF4) return 0;
    const int length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (left < length) return 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // U+D800..U+DFFF are no characters
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    if (p[1] < low || p[1] > high) return 0;
    for (int i = 2; i < length; ++i)
        if (!isContinuation(p[i])) return 0;
    return length;
}

bool holdsEscapes(const QString& path) {
    for (const QChar c : path)
        if (c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF) return true;
    return false;
}

}  // namespace

QString decodePath(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    // Most names are ASCII, which reads the same as Latin-1: no sequence to check (a search converts every name).
    if (std::all_of(p, p + size, [](unsigned char byte) { return byte < 0x80; })) return QString::fromLatin1(bytes);
    qsizetype at = 0;
    while (at < size) {
        const int length = sequenceLength(p + at, size - at);
        if (length == 0) break;
        at += length;
    }
    if (at == size) return QString::fromUtf8(bytes);  // the usual case: all of it is UTF-8
    QString path;
    path.reserve(size);
    qsizetype runStart = 0;
    for (at = 0; at < size;) {
        const int length = sequenceLength(p + at, size - at);
        if (length > 0) {
            at += length;
            continue;
        }
        path += QString::fromUtf8(bytes.sliced(runStart, at - runStart));
        path += QChar(static_cast<char16_t>(kEscapeBase + p[at]));
        runStart = ++at;
    }
    path += QString::fromUtf8(bytes.sliced(runStart, size - runStart));
    return path;
}

QByteArray encodePath(const QString& path) {
    if (!holdsEscapes(path)) return path.toUtf8();
    QByteArray bytes;
    bytes.reserve(path.size() * 3);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        // A lone low surrogate is an escaped byte; one after a high surrogate is half of a real character.
        const bool paired = i > 0 && path.at(i - 1).isHighSurrogate();
        if (c < kEscapeBase + 0x80 || c > kEscapeBase + 0xFF || paired) continue;
        bytes += QStringView(path).sliced(runStart, i - runStart).toUtf8();
        bytes += static_cast<char>(c - kEscapeBase);
        runStart = i + 1;
    }
    bytes += QStringView(path).sliced(runStart).toUtf8();
    return bytes;
}

bool pathExists(const QString& path) {
    if (path.isEmpty()) return false;
    struct stat status {};
    return ::stat(encodePath(path).constData(), &status) == 0;
}

}  // namespace vorlo
