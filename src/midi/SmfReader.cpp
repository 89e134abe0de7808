#include "midi/SmfReader.h"

#include <limits>

#include "midi/FileBytes.h"
#include "midi/RiffRmid.h"
#include "midi/SmfParser.h"

namespace vorlo::midi {
namespace {

class FileBuilder {
public:
    explicit FileBuilder(MidiFile& file) : file_(file) {}

    void header(int format, int declaredTracks, Division division) {
        file_.format = format;
        file_.declaredTrackCount = declaredTracks;
        file_.division = division;
    }
    void beginTrack(std::size_t) { track_ = &file_.tracks.emplace_back(); }
    void channel(std::uint64_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
        MidiEvent event;
        event.tick = tick;
        event.status = status;
        event.data1 = data1;
        event.data2 = data2;
        track_->events.push_back(event);
    }
    void sysEx(std::uint64_t tick, std::uint8_t status, const std::uint8_t* data, std::size_t size, bool continuation) {
        if (status == kStatusSysEx) {
            pendingSysEx_.assign(1, kStatusSysEx);
            pendingSysEx_.insert(pendingSysEx_.end(), data, data + size);
            pendingTick_ = tick;
            if (size > 0 && data[size - 1] == 0xF7) flushSysEx();
            return;
        }
        if (continuation) {
            pendingSysEx_.insert(pendingSysEx_.end(), data, data + size);
            pendingTick_ = tick;
            if (size > 0 && data[size - 1] == 0xF7) flushSysEx();
            return;
        }
        // An escape: bytes sent as they are. A complete SysEx sent this way is a SysEx.
        const bool isSysEx = size >= 2 && data[0] == kStatusSysEx && data[size - 1] == 0xF7;
        addPayloadEvent(tick, isSysEx ? kStatusSysEx : kStatusEscape, 0, data, size);
    }
    void closeSysEx() {
        pendingSysEx_.push_back(0xF7);
        flushSysEx();
    }
    void meta(std::uint64_t tick, std::uint8_t type, const std::uint8_t* data, std::size_t size) {
        addPayloadEvent(tick, kStatusMeta, type, data, size);
    }
    void endTrack(std::uint64_t endTick) { track_->endTick = endTick; }
    void repair(std::string text) { file_.repairs.push_back(std::move(text)); }

private:
    void flushSysEx() {
        addPayloadEvent(pendingTick_, kStatusSysEx, 0, pendingSysEx_.data(), pendingSysEx_.size());
        pendingSysEx_.clear();
    }
    void addPayloadEvent(std::uint64_t tick, std::uint8_t status, std::uint8_t data1, const std::uint8_t* data,
                         std::size_t size) {
        MidiEvent event;
        event.tick = tick;
        event.status = status;
        event.data1 = data1;
        // Offsets are 32 bits: the payload of a file cannot outgrow the file, and files over 4 GB are refused.
        event.payloadOffset = static_cast<std::uint32_t>(file_.payload.size());
        event.payloadSize = static_cast<std::uint32_t>(size);
        if (size > 0) file_.payload.insert(file_.payload.end(), data, data + size);
        track_->events.push_back(event);
    }

    MidiFile& file_;
    MidiTrack* track_ = nullptr;
    std::vector<std::uint8_t> pendingSysEx_;
    std::uint64_t pendingTick_ = 0;
};

}  // namespace

std::span<const std::uint8_t> midiPayload(std::span<const std::uint8_t> bytes, bool* wasRmid) {
    if (wasRmid != nullptr) *wasRmid = false;
    if (!isRiffRmid(bytes)) return bytes;
    if (const auto inner = unwrapRmid(bytes)) {
        if (wasRmid != nullptr) *wasRmid = true;
        return *inner;
    }
    // An RMID without a "data" chunk: the MThd search over the whole file is the last resort.
    return bytes;
}

ReadResult readMidi(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) return ReadError{"the file is too large"};
    MidiFile file;
    const std::span<const std::uint8_t> smf = midiPayload(bytes, &file.rmidContainer);
    // Events take a few bytes each; reserving by size keeps the builder from reallocating often.
    file.payload.reserve(smf.size() / 8);
    FileBuilder builder(file);
    if (auto error = detail::walkSmf(smf, builder)) return ReadError{std::move(error->text)};
    return file;
}

std::string loadMidiFileBytes(const std::string& path, std::vector<std::uint8_t>& out) {
    FileLimits limits;
    limits.maxBytes = kMaxMidiFileBytes;
    limits.headBytes = kMidiHeadBytes;
    limits.check = [](std::span<const std::uint8_t> head, std::uint64_t) -> std::string {
        if (isRiffRmid(head) || detail::findBytes(head, 0, "MThd")) return {};
        return "not a MIDI file (no MThd header)";
    };
    return loadFileBytes(path, out, limits);
}

ReadResult readMidiFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (std::string error = loadMidiFileBytes(path, bytes); !error.empty()) return ReadError{std::move(error)};
    return readMidi(bytes);
}

}  // namespace vorlo::midi
