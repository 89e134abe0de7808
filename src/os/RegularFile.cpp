#include "os/RegularFile.h"

#include "os/NativePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vorlo {
namespace {

QString systemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

const QString kNotRegular = QStringLiteral("it is not a regular file.");

}  // namespace

FileHead readFileHead(const QString& path, qsizetype maxBytes) {
    FileHead head;
    const QByteArray native = encodePath(path);
    struct stat info {};
    // A look first: a socket or device is never opened at all.
    if (::stat(native.constData(), &info) != 0) {
        head.error = systemText(errno);
        return head;
    }
    if (!S_ISREG(info.st_mode)) {
        head.error = kNotRegular;
        return head;
    }
    // O_NONBLOCK: a FIFO put in the file's place since the look would otherwise hold the open for ever.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        head.error = systemText(errno);
        return head;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        head.error = S_ISREG(info.st_mode) ? systemText(errno) : kNotRegular;
        ::close(fd);
        return head;
    }
    // One byte more than asked for tells whether the file goes on; a regular file is read to its size at most, so
    // a large cap costs nothing.
    const qsizetype want = std::min<qsizetype>(maxBytes + 1, static_cast<qsizetype>(info.st_size) + 1);
    head.bytes.resize(want);
    qsizetype got = 0;
    for (;;) {
        if (got == head.bytes.size()) {
            // The file grew since fstat: go on while the cap allows.
            if (got > maxBytes) break;
            head.bytes.resize(std::min<qsizetype>(maxBytes + 1, got * 2 + 4096));
        }
        const ssize_t n = ::read(fd, head.bytes.data() + got, static_cast<std::size_t>(head.bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            head.error = systemText(errno);
            head.bytes.clear();
            ::close(fd);
            return head;
        }
        if (n == 0) break;
        got += n;
    }
    ::close(fd);
    head.cut = got > maxBytes;
    head.bytes.truncate(std::min(got, maxBytes));
    return head;
}

}  // namespace vorlo
