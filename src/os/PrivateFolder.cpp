#include "os/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vorlo {

QString ensurePrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        return QStringLiteral("Cannot create the folder %1: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) {
        return QStringLiteral("Cannot examine the folder %1: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (S_ISLNK(info.st_mode)) {
        return QStringLiteral("The folder %1 is a symbolic link; it is not used.").arg(path);
    }
    if (!S_ISDIR(info.st_mode)) {
        return QStringLiteral("%1 is not a folder; it is not used.").arg(path);
    }
    if (info.st_uid != ::geteuid()) {
        return QStringLiteral("The folder %1 belongs to another user; it is not used.").arg(path);
    }
    if ((info.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        return QStringLiteral("Cannot make the folder %1 private: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return {};
}

QString runtimeFolder() {
    // The folder given is only the place: the player keeps its own private folder inside it, so the given
    // folder's mode stays as its owner set it.
    const QByteArray configured = qgetenv("VORLO_RUNTIME_DIR");
    if (!configured.isEmpty()) return QFile::decodeName(configured) + QStringLiteral("/midi-vorlo");
    const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty()) return QFile::decodeName(xdg) + QStringLiteral("/midi-vorlo");
    // Without a runtime folder of the session, a folder in the user's home: nobody else can create it first, as
    // anybody could a name in the shared temporary folder. The host's name keeps two machines sharing a home
    // apart.
    return QDir::homePath() + QStringLiteral("/.cache/midi-vorlo/runtime-") + QSysInfo::machineHostName();
}

QString prepareRuntimeFolder(const QString& folder) {
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent)) return QStringLiteral("Cannot create the folder %1").arg(parent);
    return ensurePrivateFolder(folder);
}

}  // namespace vorlo
