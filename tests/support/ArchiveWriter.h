#pragma once
// Zip archives for the tests, written with libzip as any archiver would write them, and the byte patches that
// make them hostile or damaged (a set encryption flag, a compression method nobody knows, a stated size that lies).
#include <cstdint>
#include <string>
#include <vector>

namespace vorlo::test {

struct ArchiveMember {
    enum class Kind { File, Folder, Link };
    std::string name;  // as stored: UTF-8 (flagged when not ASCII) unless cp437
    std::string data;  // a link's data is its target
    Kind kind = Kind::File;
    bool deflated = true;
    bool cp437 = false;  // the name is stored as raw code page 437 bytes, without the UTF-8 flag
};

// Writes `members` in this order. Returns false when the archive cannot be written.
bool writeArchive(const std::string& path, const std::vector<ArchiveMember>& members);

// A member of a short song file's worth of bytes.
ArchiveMember fileMember(const std::string& name, const std::string& data = "data", bool deflated = true);

// Byte patches on every local and central header of an archive, for hostile archives no archiver writes.
enum class HeaderField { Flags, Method, UncompressedSize };
bool patchHeaders(const std::string& path, HeaderField field, std::uint32_t value);
// Replaces the first occurrence of `from` in the archive's bytes by `to` (of the same length).
bool patchBytes(const std::string& path, const std::string& from, const std::string& to);

}  // namespace vorlo::test
