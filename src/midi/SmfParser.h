#pragma once
// The one walk over a Standard MIDI File's bytes, shared by the full reader and the fast length scan.
// Every read is bounds-checked; damaged files are repaired where real files are known to be sloppy,
// and each repair is reported through the visitor's repair() so the caller can show it.
//
// A visitor provides:
//   void header(int format, int declaredTracks, Division division);
//   void beginTrack(std::size_t index);
//   void channel(std::uint64_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
//   void sysEx(std::uint64_t tick, std::uint8_t status, const std::uint8_t* data, std::size_t size,
//              bool continuation);   // status F0, or F7 (a continuation packet, or else an escape)
//   void closeSysEx();               // a split SysEx whose last packet never came ends here
//   void meta(std::uint64_t tick, std::uint8_t type, const std::uint8_t* data, std::size_t size);
//   void endTrack(std::uint64_t endTick);
//   void repair(std::string text);
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "midi/MidiFile.h"

namespace vorlo::midi::detail {

struct ParseError {
    std::string text;
};

inline std::uint32_t readBigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}
inline std::uint16_t readBigEndian16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

// Data bytes of system common and real-time messages, which have no business in a file but do
// occur in some: they are skipped by their size rather than ending the track.
inline int systemMessageLength(std::uint8_t status) {
    switch (status) {
        case 0xF1:
        case 0xF3: return 1;
        case 0xF2: return 2;
        default: return 0;
    }
}

enum class TrackStop { EndOfTrack, OutOfBytes, Damaged };

struct TrackResult {
    TrackStop stop = TrackStop::OutOfBytes;
    std::size_t endPosition = 0;
    std::uint64_t endTick = 0;
};

// Parses one track's events from `begin` up to `limit`. This loop is what `vorlo length` spends
// its time in, so it works on plain pointers with the bounds checked once per step.
template <class Visitor>
TrackResult parseTrack(const std::uint8_t* data, std::size_t begin, std::size_t limit, Visitor& visitor) {
    const std::uint8_t* p = data + begin;
    const std::uint8_t* const end = data + limit;
    TrackResult result;
    std::uint64_t tick = 0;
    std::uint64_t lastEventTick = 0;  // a damaged or cut-off track ends at its last whole event
    const std::uint8_t* eventStart = p;
    std::uint8_t runningStatus = 0;
    bool sysExOpen = false;  // an F0 packet without its closing F7 waits for F7 continuation packets
    auto stop = [&](TrackStop how) {
        if (sysExOpen) visitor.closeSysEx();
        result.stop = how;
        result.endTick = how == TrackStop::EndOfTrack ? tick : lastEventTick;
        result.endPosition = static_cast<std::size_t>((how == TrackStop::EndOfTrack ? p : eventStart) - data);
        return result;
    };
    // A variable-length quantity of at most four bytes (28 bits), as the file format allows.
    auto readVarLen = [&](std::uint32_t& out) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4 && p < end; ++i) {
            const std::uint8_t byte = *p++;
            value = (value << 7) | (byte & 0x7Fu);
            if ((byte & 0x80u) == 0) {
                out = value;
                return true;
            }
        }
        return false;
    };
    for (;;) {
        lastEventTick = tick;
        eventStart = p;
        if (p >= end) return stop(TrackStop::OutOfBytes);
        std::uint32_t delta = *p;
        if (delta < 0x80)
            ++p;
        else if (!readVarLen(delta))
            return stop(p >= end ? TrackStop::OutOfBytes : TrackStop::Damaged);
        tick += delta;
        if (tick > kMaxTick) tick = kMaxTick;
        if (p >= end) return stop(TrackStop::OutOfBytes);
        std::uint8_t status = *p;
        if (status < 0x80) {
            // Running status: the previous channel status applies. We keep it across meta and SysEx
            // events, as many writers assume, although the format says those cancel it.
            if (runningStatus == 0) return stop(TrackStop::Damaged);
            status = runningStatus;
        } else {
            ++p;
        }

        if (sysExOpen && status != kStatusEscape) {
            // The SysEx that was split into packets never got its last packet: close it here so the
            // message is not lost.
            visitor.closeSysEx();
            sysExOpen = false;
        }

        if (status < 0xF0) {
            runningStatus = status;
            const bool twoBytes = (status & 0xE0) != 0xC0;  // program change and channel pressure have one
            if (end - p < (twoBytes ? 2 : 1)) return stop(TrackStop::OutOfBytes);
            // A stray byte with the top bit set where a data byte belongs: keep the event and its
            // neighbours by using the low seven bits.
            const auto data1 = static_cast<std::uint8_t>(p[0] & 0x7F);
            const auto data2 = static_cast<std::uint8_t>(twoBytes ? p[1] & 0x7F : 0);
            p += twoBytes ? 2 : 1;
            visitor.channel(tick, status, data1, data2);
        } else if (status == kStatusSysEx || status == kStatusEscape) {
            std::uint32_t size = 0;
            if (!readVarLen(size) || static_cast<std::size_t>(end - p) < size) return stop(TrackStop::OutOfBytes);
            const std::uint8_t* bytes = p;
            p += size;
            const bool continuation = status == kStatusEscape && sysExOpen;
            visitor.sysEx(tick, status, bytes, size, continuation);
            if (status == kStatusSysEx || continuation) sysExOpen = size == 0 || bytes[size - 1] != 0xF7;
        } else if (status == kStatusMeta) {
            if (p >= end) return stop(TrackStop::OutOfBytes);
            const std::uint8_t type = *p++;
            std::uint32_t size = 0;
            if (!readVarLen(size) || static_cast<std::size_t>(end - p) < size) return stop(TrackStop::OutOfBytes);
            const std::uint8_t* bytes = p;
            p += size;
            if (type == static_cast<std::uint8_t>(MetaType::EndOfTrack)) return stop(TrackStop::EndOfTrack);
            visitor.meta(tick, type, bytes, size);
        } else {
            const auto skip = static_cast<std::ptrdiff_t>(systemMessageLength(status));
            if (end - p < skip) return stop(TrackStop::OutOfBytes);
            p += skip;
        }
    }
}

inline bool isChunkId(const std::uint8_t* p) {
    for (int i = 0; i < 4; ++i)
        if (p[i] < 0x20 || p[i] > 0x7E) return false;
    return true;
}

inline std::optional<std::size_t> findBytes(std::span<const std::uint8_t> bytes, std::size_t from, const char* needle) {
    const std::size_t length = std::strlen(needle);
    if (bytes.size() < length) return std::nullopt;
    for (std::size_t i = from; i + length <= bytes.size(); ++i) {
        const void* hit = std::memchr(bytes.data() + i, needle[0], bytes.size() - length + 1 - i);
        if (hit == nullptr) return std::nullopt;
        i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - bytes.data());
        if (std::memcmp(bytes.data() + i, needle, length) == 0) return i;
    }
    return std::nullopt;
}

// Walks the header and every track chunk of an SMF that starts somewhere in `bytes`.
// Returns an error text when the data holds no readable MIDI file.
template <class Visitor>
std::optional<ParseError> walkSmf(std::span<const std::uint8_t> bytes, Visitor& visitor) {
    const std::optional<std::size_t> headerAt = findBytes(bytes, 0, "MThd");
    if (!headerAt) return ParseError{"not a MIDI file (no MThd header)"};
    if (*headerAt != 0) visitor.repair("skipped " + std::to_string(*headerAt) + " bytes before the header");
    const std::uint8_t* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t pos = *headerAt + 4;
    if (size - pos < 4 + 6) return ParseError{"the MIDI header is truncated"};
    const std::uint32_t headerLength = readBigEndian32(data + pos);
    if (headerLength < 6) return ParseError{"the MIDI header is too short"};
    const int format = readBigEndian16(data + pos + 4);
    const int declaredTracks = readBigEndian16(data + pos + 6);
    const std::uint16_t rawDivision = readBigEndian16(data + pos + 8);
    if (format > 2) return ParseError{"unknown MIDI file format " + std::to_string(format)};
    Division division;
    if (rawDivision & 0x8000) {
        const int frames = 256 - (rawDivision >> 8);
        division.smpte = true;
        division.framesPerSecond = frames;
        division.ticksPerFrame = rawDivision & 0xFF;
        if ((frames != 24 && frames != 25 && frames != 29 && frames != 30) || division.ticksPerFrame == 0)
            return ParseError{"invalid SMPTE time division"};
    } else {
        if (rawDivision == 0) return ParseError{"invalid time division 0"};
        division.ticksPerQuarter = rawDivision;
    }
    visitor.header(format, declaredTracks, division);
    // A header that claims more than six bytes is honoured by skipping the rest, unless the claim runs
    // past the file.
    pos += 4;
    pos = (headerLength <= size - pos) ? pos + headerLength : pos + 6;

    // Two files joined into one (a second header after the first file's tracks): the second file's tracks are no
    // tracks of the first, so reading ends there.
    const auto secondFileAt = [&](std::size_t at, std::size_t before) {
        const std::optional<std::size_t> header = findBytes(bytes, at, "MThd");
        return header && *header < before ? header : std::nullopt;
    };
    const auto stopAtSecondFile = [&] {
        visitor.repair("a second MIDI file follows the first in the same file; only the first is read");
    };
    std::size_t trackIndex = 0;
    while (pos + 8 <= size) {
        const std::uint8_t* id = data + pos;
        if (!isChunkId(id)) {
            // Junk between chunks (padding, stray bytes): look for the next track.
            const std::optional<std::size_t> next = findBytes(bytes, pos, "MTrk");
            if (!next) break;
            if (secondFileAt(pos, *next)) {
                stopAtSecondFile();
                break;
            }
            visitor.repair("skipped " + std::to_string(*next - pos) + " stray bytes between chunks");
            pos = *next;
            continue;
        }
        if (std::memcmp(id, "MThd", 4) == 0) {
            stopAtSecondFile();
            break;
        }
        const std::uint32_t declaredLength = readBigEndian32(data + pos + 4);
        const std::size_t start = pos + 8;
        const bool lengthFits = declaredLength <= size - start;
        const std::size_t declaredEnd = lengthFits ? start + declaredLength : size;
        if (std::memcmp(id, "MTrk", 4) != 0) {
            // Chunks of other kinds are skipped by their length, as the format intends.
            pos = declaredEnd;
            continue;
        }
        // Trust the declared length only when it leads to the end of the file or to another chunk;
        // otherwise it is wrong, and the track ends at its end-of-track event or at the next MTrk.
        const bool declaredEndIsSound =
            lengthFits && (declaredEnd == size || (declaredEnd + 4 <= size && isChunkId(data + declaredEnd)));
        std::size_t limit = declaredEnd;
        if (!declaredEndIsSound) {
            const std::optional<std::size_t> next = findBytes(bytes, start, "MTrk");
            limit = next ? *next : size;
            if (const auto header = secondFileAt(start, limit)) limit = *header;
            visitor.repair(
                "track " + std::to_string(trackIndex) +
                (lengthFits ? " has a wrong length" : " is longer than the file (truncated or a wrong length)"));
        }
        visitor.beginTrack(trackIndex);
        const TrackResult track = parseTrack(data, start, limit, visitor);
        if (track.stop == TrackStop::Damaged)
            visitor.repair("track " + std::to_string(trackIndex) + " is damaged; read up to the damage");
        else if (track.stop == TrackStop::OutOfBytes)
            visitor.repair("track " + std::to_string(trackIndex) + " has no end-of-track event");
        visitor.endTrack(track.endTick);
        ++trackIndex;
        pos = declaredEndIsSound ? declaredEnd : std::max(limit, start);
    }
    if (trackIndex == 0) return ParseError{"the MIDI file has no tracks"};
    if (static_cast<int>(trackIndex) != declaredTracks)
        visitor.repair("the header announces " + std::to_string(declaredTracks) + " tracks, the file holds " +
                       std::to_string(trackIndex));
    return std::nullopt;
}

}  // namespace vorlo::midi::detail
