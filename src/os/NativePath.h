#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vorlo {

// File names are bytes on this system and need not be UTF-8; Qt's own conversion (QFile::encodeName/decodeName)
// turns every byte that is no UTF-8 into U+FFFD, so such a file could be neither opened nor saved in a list. These
// two are the program's one way between a path's bytes and the QString it travels in, and they lose nothing:
// valid UTF-8 is decoded as such, and each byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80..U+DCFF (which no UTF-8 can produce, and which a view shows as a replacement character).
// encodePath(decodePath(bytes)) == bytes for every byte string. Any thread; throws nothing.
QString decodePath(QByteArrayView bytes);
QByteArray encodePath(const QString& path);

// Whether something (a file, folder, or anything else, links followed) is at `path`: one stat() of its bytes.
bool pathExists(const QString& path);

}  // namespace vorlo
