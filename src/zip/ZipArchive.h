#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct zip;  // libzip's archive

namespace vorlo::zip {

enum class MemberKind { File, Folder, Link };

// One member of an archive, as its central directory describes it.
struct Member {
    std::uint64_t index = 0;  // its place in the archive
    // The stored name with its folders, in UTF-8: names without the archive's UTF-8 flag are read as the DOS code
    // page 437, and bytes that are no UTF-8 become U+FFFD.
    std::string name;
    std::string baseName;  // the part after the last "/" or "\": the only name it is ever written under
    MemberKind kind = MemberKind::File;
    std::uint64_t size = 0;  // uncompressed, as the archive states it
    // A file (no folder, no symbolic link) with a playable extension and a base name that can be written.
    bool playable = false;
};

// How much an extraction may write.
struct ExtractLimits {
    // A member larger than this is refused: an archive may inflate a few bytes into gigabytes.
    std::uint64_t maxMemberBytes = std::uint64_t{1} << 30;
    // What must stay free on the folder's file system after the member is written.
    std::uint64_t keepFreeBytes = std::uint64_t{16} << 20;
};

// A zip archive opened for reading: its member list in archive order, and the extraction of one member at a time
// into a folder. Extraction writes the member under its base name only, to a partial file first that is renamed
// into place when the member is complete and intact, so a failed or cut extraction never leaves a half member;
// folders, symbolic links, encrypted members, unknown compression, damaged data and oversized members are
// refused with a reason. One thread at a time.
class ZipArchive {
public:
    // Reads the member list of the archive at `path`. Null, with `error` set to why, when it cannot be read.
    static std::unique_ptr<ZipArchive> open(const std::string& path, std::string& error);
    // The same for an archive in memory; the bytes must outlive the archive.
    static std::unique_ptr<ZipArchive> openBytes(const void* data, std::size_t size, std::string& error);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    const std::vector<Member>& members() const { return members_; }
    // The member at `index` in the archive; null when there is none (or the archive could not name it).
    const Member* member(std::uint64_t index) const;
    // The playable members, in archive order.
    std::vector<Member> playableMembers() const;

    // Extracts `member` into `folder` as folder + "/" + its base name, replacing a file of that name (never
    // following a link there). Returns an empty string when the member is in place, else why it is not (worded to
    // follow "cannot be extracted: "); nothing of it is left in the folder then.
    std::string extract(const Member& member, const std::string& folder, const ExtractLimits& limits = {}) const;

private:
    explicit ZipArchive(::zip* handle);
    void readMembers();

    ::zip* handle_;
    std::vector<Member> members_;
};

// A size for a message: "512 bytes", "3.4 MB", "2.0 GB".
std::string describeSize(std::uint64_t bytes);

}  // namespace vorlo::zip
