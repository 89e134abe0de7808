#include "SmallDisk.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vorlo::test {

SmallDisk::SmallDisk(qint64 bytes) {
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
        reason_ = QStringLiteral("cannot mount a small tmpfs here (%1); the write seam covers a full disk")
                      .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    // Detached at once even when a file is still open; the temporary folder then removes the empty mount point.
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill() {
    const QByteArray name = QFile::encodeName(dir_.path() + QStringLiteral("/filler"));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const QByteArray chunk(4096, 'f');
    // Whole pages first, then single bytes, until nothing more fits.
    while (::write(fd, chunk.constData(), static_cast<std::size_t>(chunk.size())) > 0) {}
    while (::write(fd, chunk.constData(), 1) > 0) {}
    ::close(fd);
}

}  // namespace vorlo::test
