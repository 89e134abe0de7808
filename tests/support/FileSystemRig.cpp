#include "FileSystemRig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace vorlo::test {

namespace {
constexpr uid_t kNobody = 65534;
}

bool touchFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

UnwritableFolder::UnwritableFolder(const QString& folder, const QString& openFrom) : folder_(folder) {
    QString path = QDir::cleanPath(folder);
    const QString top = QDir::cleanPath(openFrom);
    while (path.startsWith(top) && path != top) {
        path = QFileInfo(path).path();
        ::chmod(QFile::encodeName(path).constData(), 0755);
    }
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    if (::geteuid() == 0) changedIdentity_ = ::setresuid(kNobody, kNobody, 0) == 0;
}

UnwritableFolder::~UnwritableFolder() {
    // Going on as another user would spoil every test after this one.
    if (changedIdentity_ && ::setresuid(0, 0, 0) != 0) std::abort();
    ::chmod(QFile::encodeName(folder_).constData(), 0755);
}

SecondFileSystem::SecondFileSystem(const QString& mountPoint, int kibibytes) : mountPoint_(mountPoint) {
    QDir().mkpath(mountPoint);
    if (::geteuid() != 0) {
        reason_ = QStringLiteral("mounting a second file system needs the superuser");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, options.constData()) != 0) {
        reason_ = QStringLiteral("no tmpfs could be mounted here: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    mounted_ = true;
}

SecondFileSystem::~SecondFileSystem() {
    if (mounted_) ::umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
}

FileSizeLimit::FileSizeLimit(long bytes) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    oldSoft_ = limit.rlim_cur;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    // Without this the system ends the process at the first write beyond the limit.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = oldSoft_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler_);
}

}  // namespace vorlo::test
