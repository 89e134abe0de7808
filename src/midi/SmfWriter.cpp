#include "midi/SmfWriter.h"

#include <algorithm>
#include <fstream>

namespace vorlo::midi {
namespace {

std::uint8_t u7(int value) { return static_cast<std::uint8_t>(value & 0x7F); }
std::uint8_t status(int kind, int channel) { return static_cast<std::uint8_t>(kind | (channel & 0x0F)); }

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

void appendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t buffer[5];
    int count = 0;
    buffer[count++] = static_cast<std::uint8_t>(value & 0x7F);
    while ((value >>= 7) != 0) buffer[count++] = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
    while (count > 0) out.push_back(buffer[--count]);
}

TrackWriter& TrackWriter::add(std::uint64_t tick, std::vector<std::uint8_t> bytes, bool channelMessage) {
    events_.push_back({tick, std::move(bytes), channelMessage});
    return *this;
}

TrackWriter& TrackWriter::noteOn(std::uint64_t tick, int channel, int key, int velocity) {
    return add(tick, {status(0x90, channel), u7(key), u7(velocity)}, true);
}
TrackWriter& TrackWriter::noteOff(std::uint64_t tick, int channel, int key) {
    return add(tick, {status(0x80, channel), u7(key), 0}, true);
}
TrackWriter& TrackWriter::note(std::uint64_t tick, std::uint64_t length, int channel, int key, int velocity) {
    noteOn(tick, channel, key, velocity);
    return noteOff(tick + length, channel, key);
}
TrackWriter& TrackWriter::controlChange(std::uint64_t tick, int channel, int controller, int value) {
    return add(tick, {status(0xB0, channel), u7(controller), u7(value)}, true);
}
TrackWriter& TrackWriter::programChange(std::uint64_t tick, int channel, int program) {
    return add(tick, {status(0xC0, channel), u7(program)}, true);
}
TrackWriter& TrackWriter::pitchBend(std::uint64_t tick, int channel, int value) {
    return add(tick, {status(0xE0, channel), u7(value), u7(value >> 7)}, true);
}
TrackWriter& TrackWriter::channelPressure(std::uint64_t tick, int channel, int value) {
    return add(tick, {status(0xD0, channel), u7(value)}, true);
}
TrackWriter& TrackWriter::tempo(std::uint64_t tick, std::uint32_t microsPerQuarter) {
    const std::uint8_t data[3] = {static_cast<std::uint8_t>(microsPerQuarter >> 16),
                                  static_cast<std::uint8_t>(microsPerQuarter >> 8),
                                  static_cast<std::uint8_t>(microsPerQuarter)};
    return meta(tick, static_cast<std::uint8_t>(MetaType::Tempo), data);
}
TrackWriter& TrackWriter::timeSignature(std::uint64_t tick, int numerator, int denominatorPower) {
    const std::uint8_t data[4] = {static_cast<std::uint8_t>(numerator), static_cast<std::uint8_t>(denominatorPower), 24,
                                  8};
    return meta(tick, static_cast<std::uint8_t>(MetaType::TimeSignature), data);
}
TrackWriter& TrackWriter::text(std::uint64_t tick, MetaType type, const std::string& value) {
    return meta(tick, static_cast<std::uint8_t>(type),
                {reinterpret_cast<const std::uint8_t*>(value.data()), value.size()});
}
TrackWriter& TrackWriter::meta(std::uint64_t tick, std::uint8_t type, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes{kStatusMeta, type};
    appendVarLen(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return add(tick, std::move(bytes), false);
}
TrackWriter& TrackWriter::sysEx(std::uint64_t tick, std::span<const std::uint8_t> message) {
    std::vector<std::uint8_t> bytes{kStatusSysEx};
    const auto body = message.empty() || message[0] != kStatusSysEx ? message : message.subspan(1);
    appendVarLen(bytes, static_cast<std::uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return add(tick, std::move(bytes), false);
}
TrackWriter& TrackWriter::raw(std::uint64_t tick, std::vector<std::uint8_t> bytes) {
    return add(tick, std::move(bytes), false);
}
TrackWriter& TrackWriter::endAt(std::uint64_t tick) {
    endTick_ = tick;
    return *this;
}
TrackWriter& TrackWriter::withoutEndOfTrack() {
    writeEnd_ = false;
    return *this;
}
TrackWriter& TrackWriter::withoutRunningStatus() {
    runningStatus_ = false;
    return *this;
}

std::vector<std::uint8_t> TrackWriter::eventBytes() const {
    std::vector<const Pending*> order;
    order.reserve(events_.size());
    for (const Pending& event : events_) order.push_back(&event);
    std::stable_sort(order.begin(), order.end(), [](const Pending* a, const Pending* b) { return a->tick < b->tick; });
    std::vector<std::uint8_t> out;
    std::uint64_t now = 0;
    std::uint8_t lastStatus = 0;
    for (const Pending* event : order) {
        appendVarLen(out, static_cast<std::uint32_t>(event->tick - now));
        now = event->tick;
        auto first = event->bytes.begin();
        if (event->channelMessage) {
            if (runningStatus_ && event->bytes[0] == lastStatus) ++first;
            lastStatus = event->bytes[0];
        } else {
            lastStatus = 0;  // SysEx and meta events cancel running status
        }
        out.insert(out.end(), first, event->bytes.end());
    }
    if (writeEnd_) {
        appendVarLen(out, static_cast<std::uint32_t>(std::max(endTick_, now) - now));
        out.insert(out.end(), {kStatusMeta, static_cast<std::uint8_t>(MetaType::EndOfTrack), 0});
    }
    return out;
}

SmfWriter::SmfWriter(int format, int ticksPerQuarter)
    : format_(format), division_(static_cast<std::uint16_t>(ticksPerQuarter & 0x7FFF)) {}

SmfWriter SmfWriter::smpte(int format, int framesPerSecond, int ticksPerFrame) {
    SmfWriter writer(format, 0);
    writer.division_ = static_cast<std::uint16_t>(((256 - framesPerSecond) << 8) | (ticksPerFrame & 0xFF));
    return writer;
}

TrackWriter& SmfWriter::addTrack() { return tracks_.emplace_back(); }

std::vector<std::uint8_t> SmfWriter::bytes() const {
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    appendBigEndian(out, static_cast<std::uint32_t>(format_), 2);
    appendBigEndian(out, static_cast<std::uint32_t>(tracks_.size()), 2);
    appendBigEndian(out, division_, 2);
    for (const TrackWriter& track : tracks_) {
        const std::vector<std::uint8_t> events = track.eventBytes();
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        appendBigEndian(out, static_cast<std::uint32_t>(events.size()), 4);
        out.insert(out.end(), events.begin(), events.end());
    }
    return out;
}

bool SmfWriter::writeTo(const std::string& path) const { return writeBytes(path, bytes()); }

std::vector<std::uint8_t> wrapInRmid(std::span<const std::uint8_t> smf) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(smf.size());
    const std::uint32_t padding = dataSize & 1u;
    std::vector<std::uint8_t> out{'R', 'I', 'F', 'F'};
    appendLittleEndian32(out, 4 + 8 + dataSize + padding);
    out.insert(out.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
    appendLittleEndian32(out, dataSize);
    out.insert(out.end(), smf.begin(), smf.end());
    if (padding) out.push_back(0);
    return out;
}

bool writeBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace vorlo::midi
