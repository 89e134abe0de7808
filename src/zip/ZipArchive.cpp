#include "zip/ZipArchive.h"

#include "zip/MemberNames.h"

#include <zip.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace vorlo::zip {

namespace {

std::string libraryError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// The reason a read of member data failed, in the words of the player's messages.
std::string readFailure(zip_error_t* error) {
    switch (zip_error_code_zip(error)) {
        case ZIP_ER_CRC: return "its data is damaged (the CRC check failed)";
        case ZIP_ER_NOPASSWD:
        case ZIP_ER_WRONGPASSWD: return "it is encrypted";
        case ZIP_ER_ENCRNOTSUPP: return "it is encrypted by a method the player does not know";
        case ZIP_ER_COMPNOTSUPP: return "it is compressed by a method the player does not know";
        case ZIP_ER_INCONS: return "the archive is inconsistent here";
        default: return zip_error_strerror(error);
    }
}

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

MemberKind kindOf(zip_t* handle, zip_uint64_t index, const std::string& rawName) {
    if (!rawName.empty() && (rawName.back() == '/' || rawName.back() == '\\')) return MemberKind::Folder;
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(handle, index, 0, &system, &attributes) != 0) return MemberKind::File;
    constexpr zip_uint32_t kDosFolder = 0x10;
    if (system == ZIP_OPSYS_UNIX) {
        const auto mode = static_cast<mode_t>(attributes >> 16);
        if (S_ISLNK(mode)) return MemberKind::Link;
        if (S_ISDIR(mode)) return MemberKind::Folder;
    }
    return (attributes & kDosFolder) != 0 ? MemberKind::Folder : MemberKind::File;
}

// A file descriptor that closes itself.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and tells whether everything written reached the file.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// The partial file of one extraction: removed unless the member was renamed into place.
class PartialFile {
public:
    PartialFile(int folder, std::string name) : folder_(folder), name_(std::move(name)) {}
    ~PartialFile() {
        if (!name_.empty()) ::unlinkat(folder_, name_.c_str(), 0);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    const std::string& name() const { return name_; }
    void keep() { name_.clear(); }

private:
    int folder_;
    std::string name_;
};

// Creates a partial file of a name no other extraction uses; -1 with `error` set when none can be made.
int createPartial(int folder, std::string& name, std::string& error) {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        name = std::string(kPartialPrefix) + suffix;
        const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        if (errno != EEXIST) {
            error = systemError("a file cannot be created in the folder");
            return -1;
        }
    }
    error = "no free name for a file in the folder";
    return -1;
}

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

}  // namespace

std::string describeSize(std::uint64_t bytes) {
    constexpr double kMega = 1024.0 * 1024.0;
    char text[64];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    else if (bytes < std::uint64_t{1} << 30)
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / kMega);
    else
        std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / (kMega * 1024.0));
    return text;
}

ZipArchive::ZipArchive(::zip* handle) : handle_(handle) { readMembers(); }

ZipArchive::~ZipArchive() { zip_discard(handle_); }

std::unique_ptr<ZipArchive> ZipArchive::open(const std::string& path, std::string& error) {
    int code = 0;
    zip_t* handle = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (handle == nullptr) {
        error = libraryError(code);
        return nullptr;
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(handle));
}

std::unique_ptr<ZipArchive> ZipArchive::openBytes(const void* data, std::size_t size, std::string& error) {
    zip_error_t failure;
    zip_error_init(&failure);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &failure);
    zip_t* handle = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &failure) : nullptr;
    if (handle == nullptr) {
        error = zip_error_strerror(&failure);
        if (source != nullptr) zip_source_free(source);
        zip_error_fini(&failure);
        return nullptr;
    }
    zip_error_fini(&failure);
    return std::unique_ptr<ZipArchive>(new ZipArchive(handle));
}

void ZipArchive::readMembers() {
    const zip_int64_t count = zip_get_num_entries(handle_, 0);
    members_.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* raw = zip_get_name(handle_, index, ZIP_FL_ENC_RAW);
        if (raw == nullptr) continue;  // a member the archive itself cannot name
        // Strictly by the format: without the UTF-8 flag a name is code page 437, which libzip converts.
        const char* decoded = zip_get_name(handle_, index, ZIP_FL_ENC_STRICT);
        Member member;
        member.index = index;
        member.name = validUtf8(decoded != nullptr ? decoded : raw);
        member.baseName = std::string(baseNameOf(member.name));
        member.kind = kindOf(handle_, index, raw);
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(handle_, index, ZIP_FL_ENC_RAW, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0)
            member.size = stat.size;
        member.playable = member.kind == MemberKind::File && isSafeBaseName(member.baseName) &&
                          isPlayableExtension(lowerExtension(member.baseName));
        members_.push_back(std::move(member));
    }
}

const Member* ZipArchive::member(std::uint64_t index) const {
    // Members are kept in archive order, so their indices ascend (with gaps where a name could not be read).
    const auto found =
        std::lower_bound(members_.begin(), members_.end(), index,
                         [](const Member& member, std::uint64_t wanted) { return member.index < wanted; });
    return found != members_.end() && found->index == index ? &*found : nullptr;
}

std::vector<Member> ZipArchive::playableMembers() const {
    std::vector<Member> playable;
    for (const Member& member : members_)
        if (member.playable) playable.push_back(member);
    return playable;
}

std::string ZipArchive::extract(const Member& member, const std::string& folder, const ExtractLimits& limits) const {
    if (member.kind == MemberKind::Folder) return "it is a folder";
    if (member.kind == MemberKind::Link) return "it is a symbolic link";
    if (!isSafeBaseName(member.baseName)) return "its name cannot be a file name";

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(handle_, member.index, ZIP_FL_ENC_RAW, &stat) != 0) return zip_strerror(handle_);
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE)
        return "it is encrypted";
    if ((stat.valid & ZIP_STAT_COMP_METHOD) != 0 && zip_compression_method_supported(stat.comp_method, 0) == 0)
        return "it is compressed by a method the player does not know (method " + std::to_string(stat.comp_method) +
               ")";
    const std::uint64_t size = (stat.valid & ZIP_STAT_SIZE) != 0 ? stat.size : 0;
    if (size > limits.maxMemberBytes)
        return "it would take " + describeSize(size) + ", more than the " + describeSize(limits.maxMemberBytes) +
               " a member may take";

    const Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (directory.get() < 0) return systemError("the folder " + folder + " cannot be opened");
    struct statvfs space {};
    if (::fstatvfs(directory.get(), &space) == 0) {
        const std::uint64_t available = static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize;
        if (size + limits.keepFreeBytes > available)
            return "it would take " + describeSize(size) + " and only " + describeSize(available) + " are free in " +
                   folder;
    }

    zip_file_t* file = zip_fopen_index(handle_, member.index, 0);
    if (file == nullptr) return readFailure(zip_get_error(handle_));
    struct Closer {
        zip_file_t* file;
        ~Closer() { zip_fclose(file); }
    } closer{file};

    std::string partialName;
    std::string error;
    Descriptor output(createPartial(directory.get(), partialName, error));
    if (output.get() < 0) return error;
    PartialFile partial(directory.get(), partialName);

    std::vector<char> buffer(std::size_t{256} << 10);
    std::uint64_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file, buffer.data(), buffer.size());
        if (got < 0) return readFailure(zip_file_get_error(file));
        if (got == 0) break;
        total += static_cast<std::uint64_t>(got);
        // The stated size was checked above; data beyond it is a lie of the archive's, and never written.
        if (total > size) return "it holds more data than the archive states";
        if (!writeAll(output.get(), buffer.data(), static_cast<std::size_t>(got)))
            return systemError("writing it into " + folder + " failed");
    }
    if (total != size) return "it holds less data than the archive states";
    if (!output.close()) return systemError("writing it into " + folder + " failed");
    if (::renameat(directory.get(), partial.name().c_str(), directory.get(), member.baseName.c_str()) != 0)
        return systemError("it cannot be put in place as " + member.baseName);
    partial.keep();
    return {};
}

}  // namespace vorlo::zip
