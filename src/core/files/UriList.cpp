#include "core/files/UriList.h"

#include "os/NativePath.h"

#include <QFile>
#include <QSysInfo>

namespace vorlo {

namespace {

// The path bytes of a local "file:" URI, still escaped; empty for anything else.
QByteArray localPathOf(const QByteArray& uri) {
    if (!uri.left(5).toLower().startsWith("file:")) return {};
    QByteArray rest = uri.mid(5);
    if (rest.startsWith("//")) {
        const qsizetype pathStart = rest.indexOf('/', 2);
        if (pathStart < 0) return {};
        const QByteArray host = rest.mid(2, pathStart - 2).toLower();
        // A file of another machine is not ours to open; this machine may be named.
        if (!host.isEmpty() && host != "localhost" && host != QSysInfo::machineHostName().toLower().toUtf8()) return {};
        rest = rest.mid(pathStart);
    }
    return rest.startsWith('/') ? rest : QByteArray();
}

}  // namespace

UriList UriList::parse(const QByteArray& payload) {
    UriList list;
    for (QByteArray line : payload.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QByteArray escaped = localPathOf(line);
        if (escaped.isEmpty()) continue;
        const QByteArray bytes = QByteArray::fromPercentEncoding(escaped);
        list.paths.append(decodePath(bytes));
    }
    return list;
}

}  // namespace vorlo
