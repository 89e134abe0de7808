#pragma once

#include <QByteArray>
#include <QStringList>

namespace vorlo {

// The files named by a "text/uri-list" payload, what file managers send when files are dropped: one URI a line,
// lines starting with "#" are comments. Only local files count ("file:" URIs without a host or with "localhost");
// their percent-escapes are undone byte for byte. Remote URIs (http, sftp, smb, ...) are left out.
struct UriList {
    // The local paths, in the order given.
    QStringList paths;
    // Local names the player cannot hold as paths (not valid UTF-8): no path could reach the file.
    QStringList unusable;

    static UriList parse(const QByteArray& payload);
};

}  // namespace vorlo
