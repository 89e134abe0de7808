#include "ArchiveWriter.h"

#include <zip.h>

#include <sys/stat.h>

#include <fstream>
#include <iterator>

namespace vorlo::test {

namespace {

bool readAll(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::uint32_t readLe32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

void writeLe(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

ArchiveMember fileMember(const std::string& name, const std::string& data, bool deflated) {
    ArchiveMember member;
    member.name = name;
    member.data = data;
    member.deflated = deflated;
    return member;
}

bool writeArchive(const std::string& path, const std::vector<ArchiveMember>& members) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) return false;
    bool ok = true;
    for (const ArchiveMember& member : members) {
        const zip_flags_t encoding = member.cp437 ? ZIP_FL_ENC_CP437 : ZIP_FL_ENC_UTF_8;
        zip_int64_t index = -1;
        if (member.kind == ArchiveMember::Kind::Folder) {
            index = zip_dir_add(archive, member.name.c_str(), encoding);
        } else {
            // libzip reads the data when the archive is closed: the members outlive the call.
            zip_source_t* source = zip_source_buffer(archive, member.data.data(), member.data.size(), 0);
            index = source != nullptr ? zip_file_add(archive, member.name.c_str(), source, encoding) : -1;
            if (index < 0 && source != nullptr) zip_source_free(source);
        }
        if (index < 0) {
            ok = false;
            continue;
        }
        const auto at = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(archive, at, member.deflated ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
        if (member.kind == ArchiveMember::Kind::Link)
            zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX,
                                             static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return false;
    }
    return ok;
}

bool patchHeaders(const std::string& path, HeaderField field, std::uint32_t value) {
    std::string bytes;
    if (!readAll(path, bytes)) return false;
    // Local headers (PK\3\4) and central headers (PK\1\2) put the same fields at different offsets.
    struct Layout {
        std::uint32_t signature;
        std::size_t flags, method, size;
    };
    const Layout layouts[] = {{0x04034b50, 6, 8, 22}, {0x02014b50, 8, 10, 24}};
    int patched = 0;
    for (std::size_t at = 0; at + 30 <= bytes.size(); ++at) {
        for (const Layout& layout : layouts) {
            if (readLe32(bytes, at) != layout.signature) continue;
            switch (field) {
                case HeaderField::Flags: writeLe(bytes, at + layout.flags, value, 2); break;
                case HeaderField::Method: writeLe(bytes, at + layout.method, value, 2); break;
                case HeaderField::UncompressedSize: writeLe(bytes, at + layout.size, value, 4); break;
            }
            ++patched;
        }
    }
    return patched > 0 && writeAll(path, bytes);
}

bool patchBytes(const std::string& path, const std::string& from, const std::string& to) {
    std::string bytes;
    if (from.size() != to.size() || !readAll(path, bytes)) return false;
    const std::size_t at = bytes.find(from);
    if (at == std::string::npos) return false;
    bytes.replace(at, from.size(), to);
    return writeAll(path, bytes);
}

}  // namespace vorlo::test
