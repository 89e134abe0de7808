#include "os/SafeSave.h"
#include "os/NativePath.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vorlo {

namespace {

// The test seam: bytes that may still be written before writes fail (-1: no limit), and the error they fail with.
std::atomic<std::int64_t> g_writeBudget{-1};
std::atomic<int> g_writeError{ENOSPC};

ssize_t seamWrite(int fd, const char* data, std::size_t size) {
    std::int64_t budget = g_writeBudget.load();
    while (budget >= 0) {
        if (budget == 0) {
            errno = g_writeError.load();
            return -1;
        }
        const auto allowed = static_cast<std::size_t>(std::min<std::int64_t>(budget, static_cast<std::int64_t>(size)));
        if (g_writeBudget.compare_exchange_weak(budget, budget - static_cast<std::int64_t>(allowed))) {
            size = allowed;  // a short write first, as a filling disk gives
            break;
        }
    }
    return ::write(fd, data, size);
}

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

[[noreturn]] void fail(const QString& reason) { throw SafeSaveError(reason); }

// Closes and removes the temporary file unless the save went through.
class TemporaryFile {
public:
    explicit TemporaryFile(const QByteArray& target) {
        const qsizetype slash = target.lastIndexOf('/');
        const QByteArray folder = target.left(slash + 1);
        const QByteArray name = target.mid(slash + 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = folder + '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
            // 0666 leaves the mode to the umask, as for any new file; O_EXCL and O_NOFOLLOW make sure the file
            // is our own new one, not something planted under the name.
            fd_ = ::open(path_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd_ >= 0 || errno != EEXIST) break;
        }
        if (fd_ < 0) fail(QStringLiteral("cannot create a temporary file beside it: %1").arg(errorText(errno)));
    }
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!committed_) ::unlink(path_.constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const QByteArray& path() const { return path_; }
    void closeChecked() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) fail(errorText(errno));
    }
    void committed() { committed_ = true; }

private:
    QByteArray path_;
    int fd_ = -1;
    bool committed_ = false;
};

// The file the save replaces: `fileName` itself, or the regular file its link leads to. `existing` is filled
// when there is such a file.
QByteArray targetOf(const QByteArray& fileName, SafeSave::Links links, struct stat& existing, bool& exists) {
    exists = false;
    if (::lstat(fileName.constData(), &existing) != 0) {
        if (errno == ENOENT) return fileName;
        fail(errorText(errno));
    }
    QByteArray target = fileName;
    if (S_ISLNK(existing.st_mode)) {
        if (links == SafeSave::Links::Refuse)
            fail(QStringLiteral("it is a symbolic link, and the player does not write its own files through links"));
        char resolved[PATH_MAX];
        if (!::realpath(fileName.constData(), resolved))
            fail(QStringLiteral("it is a symbolic link that leads nowhere (%1)").arg(errorText(errno)));
        target = resolved;
        if (::lstat(target.constData(), &existing) != 0) fail(errorText(errno));
        if (!S_ISREG(existing.st_mode))
            fail(QStringLiteral("it is a symbolic link to %1, which is not a regular file").arg(decodePath(target)));
    } else if (!S_ISREG(existing.st_mode)) {
        fail(QStringLiteral("it is not a regular file"));
    }
    exists = true;
    return target;
}

// Temporary files of saves that a crash or a kill cut off ('.<name>.<base 36>.tmp'), a minute old or more, so
// that they do not pile up beside the file; younger ones may belong to a save that is running.
void removeLeftovers(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const QByteArray prefix = '.' + target.mid(slash + 1) + '.';
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix) || !name.endsWith(".tmp")) continue;
        const QByteArray middle = name.mid(prefix.size(), name.size() - prefix.size() - 4);
        if (middle.isEmpty() || !std::all_of(middle.begin(), middle.end(),
                                             [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); }))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && now - info.st_mtime >= 60)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

void syncFolderOf(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) fail(QStringLiteral("the folder cannot be synced: %1").arg(errorText(errno)));
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder (EINVAL); their renames are as durable as they get.
    if (synced != 0 && error != EINVAL) fail(QStringLiteral("the folder cannot be synced: %1").arg(errorText(error)));
}

}  // namespace

void SafeSave::failWritesAfter(std::int64_t bytes, int error) {
    g_writeError.store(error);
    g_writeBudget.store(bytes < 0 ? -1 : bytes);
}

void SafeSave::write(const QString& fileName, const QByteArray& bytes, Links links) {
    if (fileName.isEmpty()) fail(QStringLiteral("no file name"));
    struct stat existing {};
    bool exists = false;
    const QByteArray target = targetOf(encodePath(fileName), links, existing, exists);

    TemporaryFile temporary(target);
    if (exists) {
        // The file keeps its mode, and (when root saves it) its owner.
        if (::fchmod(temporary.fd(), existing.st_mode & 07777) != 0) fail(errorText(errno));
        if (::geteuid() == 0 && existing.st_uid != 0) {
            [[maybe_unused]] const int ignored = ::fchown(temporary.fd(), existing.st_uid, existing.st_gid);
        }
    }
    const char* data = bytes.constData();
    std::size_t left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = seamWrite(temporary.fd(), data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) fail(errorText(written < 0 ? errno : ENOSPC));
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(temporary.fd()) != 0) fail(errorText(errno));
    temporary.closeChecked();
    if (::rename(temporary.path().constData(), target.constData()) != 0) fail(errorText(errno));
    temporary.committed();
    removeLeftovers(target);
    syncFolderOf(target);
}

}  // namespace vorlo
