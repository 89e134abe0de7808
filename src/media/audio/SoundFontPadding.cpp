#include "media/audio/SoundFontPadding.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vorlo::audio {
namespace {

constexpr std::uint32_t kPaddingPoints = 46;
constexpr std::uint32_t kSampleHeaderBytes = 46;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t little32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

struct Chunk {
    std::string id;
    long offset = 0;  // of its data
    std::uint32_t size = 0;
};

bool readChunkHeader(std::FILE* file, long at, Chunk& chunk) {
    unsigned char header[8];
    if (std::fseek(file, at, SEEK_SET) != 0 || std::fread(header, 1, 8, file) != 8) return false;
    chunk.id.assign(reinterpret_cast<const char*>(header), 4);
    chunk.offset = at + 8;
    chunk.size = little32(header + 4);
    return true;
}

// The chunks inside [from, to), in order; false when one runs past the end.
bool readChunks(std::FILE* file, long from, long to, std::vector<Chunk>& chunks) {
    for (long at = from; at + 8 <= to;) {
        Chunk chunk;
        if (!readChunkHeader(file, at, chunk) || chunk.offset + static_cast<long>(chunk.size) > to) return false;
        chunks.push_back(chunk);
        at = chunk.offset + static_cast<long>(chunk.size) + static_cast<long>(chunk.size & 1);
    }
    return true;
}

bool readBytes(std::FILE* file, long at, std::vector<unsigned char>& bytes) {
    return std::fseek(file, at, SEEK_SET) == 0 && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

bool samplesArePadded(const std::string& path) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    Chunk riff;
    std::vector<unsigned char> form(4);
    if (!readChunkHeader(file.get(), 0, riff) || riff.id != "RIFF" || !readBytes(file.get(), 8, form) ||
        std::string(form.begin(), form.end()) != "sfbk")
        return false;
    std::vector<Chunk> lists;
    if (!readChunks(file.get(), 12, riff.offset + static_cast<long>(riff.size), lists)) return false;
    int majorVersion = 0;
    std::uint32_t samplePoints = 0;
    bool hasSamples = false;
    Chunk headers;
    for (const Chunk& list : lists) {
        std::vector<unsigned char> kind(4);
        if (list.id != "LIST" || list.size < 4 || !readBytes(file.get(), list.offset, kind)) continue;
        std::vector<Chunk> inner;
        if (!readChunks(file.get(), list.offset + 4, list.offset + static_cast<long>(list.size), inner)) return false;
        const std::string name(kind.begin(), kind.end());
        for (const Chunk& chunk : inner) {
            if (name == "INFO" && chunk.id == "ifil" && chunk.size >= 2) {
                std::vector<unsigned char> version(2);
                if (!readBytes(file.get(), chunk.offset, version)) return false;
                majorVersion = version[0] | version[1] << 8;
            } else if (name == "sdta" && chunk.id == "smpl") {
                samplePoints = chunk.size / 2;
                hasSamples = true;
            } else if (name == "pdta" && chunk.id == "shdr") {
                headers = chunk;
            }
        }
    }
    // Version 3 holds compressed samples, whose positions are no points at all.
    if (majorVersion != 2 || !hasSamples || headers.size < kSampleHeaderBytes) return false;
    std::vector<unsigned char> table(headers.size - headers.size % kSampleHeaderBytes);
    if (!readBytes(file.get(), headers.offset, table)) return false;
    struct Span {
        std::uint32_t start;
        std::uint32_t end;
    };
    std::vector<Span> spans;
    // The last header only marks the end of the table.
    for (std::size_t at = 0; at + 2 * kSampleHeaderBytes <= table.size(); at += kSampleHeaderBytes) {
        const std::uint32_t start = little32(&table[at + 20]);
        const std::uint32_t end = little32(&table[at + 24]);
        const std::uint32_t type = table[at + 44] | table[at + 45] << 8;
        if ((type & 0x8000) != 0 || end <= start) continue;  // samples in ROM, empty samples: nothing is read
        spans.push_back({start, end});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.start < b.start; });
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const std::uint64_t next = i + 1 < spans.size() ? spans[i + 1].start : samplePoints;
        if (next < std::uint64_t{spans[i].end} + kPaddingPoints) return false;
    }
    return true;
}

}  // namespace vorlo::audio
