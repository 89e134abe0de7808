#include "midi/RiffRmid.h"

#include <cstring>

namespace vorlo::midi {
namespace {

std::uint32_t readLittleEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
}

}  // namespace

bool isRiffRmid(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.data() + 8, "RMID", 4) == 0;
}

std::optional<std::span<const std::uint8_t>> unwrapRmid(std::span<const std::uint8_t> bytes) {
    if (!isRiffRmid(bytes)) return std::nullopt;
    // The RIFF size is often wrong in the wild (writers that forget the padding, or truncated
    // downloads); the chunks are walked up to the real end of the data instead.
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::uint8_t* header = bytes.data() + pos;
        const std::uint32_t declared = readLittleEndian32(header + 4);
        const std::size_t start = pos + 8;
        const std::size_t available = bytes.size() - start;
        const std::size_t length =
            declared <= available ? declared : available;  // a truncated chunk keeps what is there
        if (std::memcmp(header, "data", 4) == 0) return bytes.subspan(start, length);
        // Chunks are padded to an even length.
        const std::size_t padded = static_cast<std::size_t>(declared) + (declared & 1u);
        if (padded > available) break;
        pos = start + padded;
    }
    return std::nullopt;
}

}  // namespace vorlo::midi
