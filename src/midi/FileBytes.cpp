#include "midi/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vorlo::midi {
namespace {

// Reads into out[from, to); returns how far it got (less at the end of the file) or -1 with errno set.
long long readRange(int fd, std::vector<std::uint8_t>& out, std::size_t from, std::size_t to) {
    std::size_t done = from;
    while (done < to) {
        const ssize_t got = ::read(fd, out.data() + done, to - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;  // the file shrank while we read it: keep what we have
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

}  // namespace

int openRegularFile(const std::string& path, std::uint64_t& size, std::string& error) {
    const auto kindError = [](mode_t mode) { return S_ISDIR(mode) ? "is a folder" : "is not a regular file"; };
    // A look before opening keeps sockets (whose open fails with an unclear text) and devices from being opened.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = kindError(info.st_mode);
        return -1;
    }
    // O_NONBLOCK: should the name be a FIFO by now, opening it for reading would wait for a writer for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    const auto fail = [&](std::string text) {
        error = std::move(text);
        ::close(fd);
        return -1;
    };
    if (::fstat(fd, &info) != 0) return fail(std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return fail(kindError(info.st_mode));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return fail(std::strerror(errno));
    size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

std::string loadFileBytes(const std::string& path, std::vector<std::uint8_t>& out, const FileLimits& limits) {
    std::uint64_t size = 0;
    std::string error;
    const int fd = openRegularFile(path, size, error);
    if (fd < 0) return error;
    auto fail = [&](std::string text) {
        ::close(fd);
        return text;
    };
    const std::uint64_t sizeLimit = std::min<std::uint64_t>(limits.maxBytes, std::numeric_limits<std::size_t>::max());
    std::size_t done = 0;
    if (limits.check != nullptr) {
        // The head first: a file that is not what it should be costs a few bytes, whatever its size.
        out.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, limits.headBytes)));
        const long long got = readRange(fd, out, 0, out.size());
        if (got < 0) return fail(std::strerror(errno));
        done = static_cast<std::size_t>(got);
        if (std::string refused = limits.check({out.data(), done}, size); !refused.empty())
            return fail(std::move(refused));
    }
    if (size > sizeLimit) return fail("the file is too large (" + std::to_string(size >> 20) + " MB)");
    if (done == out.size()) {
        out.resize(static_cast<std::size_t>(size));
        const long long got = readRange(fd, out, done, out.size());
        if (got < 0) return fail(std::strerror(errno));
        done = static_cast<std::size_t>(got);
    }
    out.resize(done);
    ::close(fd);
    return {};
}

}  // namespace vorlo::midi
