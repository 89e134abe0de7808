#include "midi/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorlo::midi {

std::string loadFileBytes(const std::string& path, std::vector<std::uint8_t>& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    struct stat info {};
    const bool statOk = ::fstat(fd, &info) == 0;
    if (!statOk || !S_ISREG(info.st_mode)) {
        const std::string error = !statOk                 ? std::strerror(errno)
                                  : S_ISDIR(info.st_mode) ? "is a folder"
                                                          : "is not a regular file";
        ::close(fd);
        return error;
    }
    out.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got = ::read(fd, out.data() + done, out.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const std::string error = std::strerror(errno);
            ::close(fd);
            return error;
        }
        if (got == 0) break;  // the file shrank while we read it: keep what we have
        done += static_cast<std::size_t>(got);
    }
    out.resize(done);
    ::close(fd);
    return {};
}

}  // namespace vorlo::midi
