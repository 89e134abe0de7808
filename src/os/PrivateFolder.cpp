#include "os/PrivateFolder.h"

#include <QDir>
#include <QFile>

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
    const QByteArray configured = qgetenv("VORLO_RUNTIME_DIR");
    if (!configured.isEmpty()) return QFile::decodeName(configured);
    const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty()) return QFile::decodeName(xdg) + QStringLiteral("/midi-vorlo");
    return QDir::tempPath() + QStringLiteral("/midi-vorlo-%1").arg(::geteuid());
}

}  // namespace vorlo
