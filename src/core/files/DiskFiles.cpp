#include "core/files/DiskFiles.h"
#include "os/NativePath.h"

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace vorlo {

namespace {

QByteArray bytesOf(const QString& path) { return encodePath(path); }

// The folder part of a path's bytes, "." for a bare name.
QByteArray folderBytes(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return path.left(slash);
}

DiskResult lastError() { return DiskResult::fromErrno(errno); }

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies the bytes of `in` to `out`; false with errno set when reading or writing fails.
bool copyBytes(int in, int out) {
    std::array<char, 256 * 1024> buffer{};
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return true;
        if (!writeAll(out, buffer.data(), static_cast<std::size_t>(got))) return false;
    }
}

// Closes a descriptor when it goes out of scope.
struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

DiskResult renameBytesNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return lastError();
    // A file system without the no-replace rename: a hard link refuses an existing name just the same.
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0) return {};
        const DiskResult failed = lastError();
        ::unlink(to.constData());
        return failed;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return lastError();
    // Nor hard links (a FAT stick): look first, the best that can be done there.
    struct stat status {};
    if (::lstat(to.constData(), &status) == 0) return DiskResult::fromErrno(EEXIST);
    if (::rename(from.constData(), to.constData()) == 0) return {};
    return lastError();
}

}  // namespace

QString DiskResult::reason() const { return QString::fromLocal8Bit(std::strerror(code)); }

DiskResult DiskResult::fromErrno(int code) {
    DiskResult result;
    result.code = code;
    switch (code) {
        case 0: result.error = DiskError::None; break;
        case ENOENT:
        case ENOTDIR: result.error = DiskError::NotFound; break;
        case EEXIST: result.error = DiskError::Exists; break;
        case EXDEV: result.error = DiskError::CrossDevice; break;
        case EACCES:
        case EPERM:
        case EROFS: result.error = DiskError::Denied; break;
        case ENOTEMPTY: result.error = DiskError::NotEmpty; break;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: result.error = DiskError::NoSpace; break;
        case EISDIR: result.error = DiskError::IsFolder; break;
        default: result.error = DiskError::Other; break;
    }
    return result;
}

DiskResult DiskFiles::renameNoReplace(const QString& from, const QString& to) {
    return renameBytesNoReplace(bytesOf(from), bytesOf(to));
}

DiskResult DiskFiles::copy(const QString& from, const QString& to, Existing existing) {
    const QByteArray source = bytesOf(from);
    const QByteArray target = bytesOf(to);
    FileDescriptor in{::open(source.constData(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0) return lastError();
    struct stat status {};
    if (::fstat(in.fd, &status) != 0) return lastError();
    if (S_ISDIR(status.st_mode)) return DiskResult::fromErrno(EISDIR);
    if (existing == Existing::Keep && exists(to)) return DiskResult::fromErrno(EEXIST);

    QByteArray temporary = folderBytes(target) + '/' + kTemporaryPrefix + "XXXXXX";
    FileDescriptor out{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (out.fd < 0) return lastError();
    const auto abandon = [&] {
        const DiskResult failed = lastError();
        ::close(out.release());
        ::unlink(temporary.constData());
        return failed;
    };
    if (!copyBytes(in.fd, out.fd)) return abandon();
    const struct timespec times[2] = {status.st_atim, status.st_mtim};
    if (::fchmod(out.fd, status.st_mode & 07777) != 0 || ::futimens(out.fd, times) != 0 || ::fsync(out.fd) != 0)
        return abandon();
    if (::close(out.release()) != 0) {
        const DiskResult failed = lastError();
        ::unlink(temporary.constData());
        return failed;
    }
    // Only a complete copy takes the target's name; a file it replaces stays whole until that moment.
    DiskResult placed;
    if (existing == Existing::Replace) {
        if (::rename(temporary.constData(), target.constData()) != 0) placed = lastError();
    } else {
        placed = renameBytesNoReplace(temporary, target);
    }
    if (!placed.ok()) ::unlink(temporary.constData());
    return placed;
}

DiskResult DiskFiles::move(const QString& from, const QString& to, Existing existing) {
    const QByteArray source = bytesOf(from);
    const QByteArray target = bytesOf(to);
    DiskResult renamed;
    if (existing == Existing::Replace) {
        if (::rename(source.constData(), target.constData()) != 0) renamed = lastError();
    } else {
        renamed = renameBytesNoReplace(source, target);
    }
    if (renamed.error != DiskError::CrossDevice) return renamed;

    // Another file system: copy, then delete the source. A source that cannot be deleted would leave the file in
    // two places, so that is known before anything is written.
    if (!folderWritable(decodePath(folderBytes(source)))) return DiskResult::fromErrno(EACCES);
    const DiskResult copied = copy(from, to, existing);
    if (!copied.ok()) return copied;
    if (::unlink(source.constData()) != 0) {
        const DiskResult failed = lastError();
        ::unlink(target.constData());
        return failed;
    }
    return {};
}

DiskResult DiskFiles::remove(const QString& path) {
    if (::unlink(bytesOf(path).constData()) == 0) return {};
    return lastError();
}

DiskResult DiskFiles::removeFolder(const QString& path) {
    if (::rmdir(bytesOf(path).constData()) == 0) return {};
    return lastError();
}

DiskResult DiskFiles::createFolder(const QString& path) {
    if (::mkdir(bytesOf(path).constData(), 0777) == 0) return {};
    return lastError();
}

bool DiskFiles::exists(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && ::lstat(bytesOf(path).constData(), &status) == 0;
}

bool DiskFiles::isFolder(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && ::stat(bytesOf(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool DiskFiles::sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(bytesOf(a).constData(), &first) != 0 || ::stat(bytesOf(b).constData(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool DiskFiles::writable(const QString& path) {
    const QByteArray bytes = bytesOf(path);
    struct stat status {};
    if (::stat(bytes.constData(), &status) != 0) return false;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::faccessat(AT_FDCWD, bytes.constData(), W_OK, AT_EACCESS) == 0;
}

bool DiskFiles::folderWritable(const QString& folder) {
    const QByteArray bytes = folder.isEmpty() ? QByteArrayLiteral(".") : bytesOf(folder);
    // As the running identity sees it (the effective one), which is what the system checks on a rename or delete.
    return ::faccessat(AT_FDCWD, bytes.constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace vorlo
