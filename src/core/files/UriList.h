#pragma once

#include <QByteArray>
#include <QStringList>

namespace vorlo {

// The files named by a "text/uri-list" payload, what file managers send when files are dropped: one URI a line,
// lines starting with "#" are comments. Only local files count ("file:" URIs without a host or with "localhost");
// their percent-escapes are undone byte for byte. Remote URIs (http, sftp, smb, ...) are left out.
struct UriList {
    // The local paths, in the order given; names that are not UTF-8 keep their bytes (os/NativePath.h).
    QStringList paths;

    static UriList parse(const QByteArray& payload);
};

}  // namespace vorlo
