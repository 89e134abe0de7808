#include "midi/Sequencer.h"

#include <algorithm>

namespace vorlo::midi {
namespace {

constexpr std::uint8_t kSustainPedal = 64;
constexpr std::uint8_t kSostenutoPedal = 66;

// Channel message length for an escape packet that carries one.
bool unpackEscape(std::span<const std::uint8_t> bytes, std::uint8_t& status, std::uint8_t& data1, std::uint8_t& data2) {
    if (bytes.empty() || bytes[0] < 0x80 || bytes[0] >= 0xF0) return false;
    const int kind = bytes[0] & 0xF0;
    const std::size_t needed = (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
    if (bytes.size() < needed) return false;
    status = bytes[0];
    data1 = bytes[1] & 0x7F;
    data2 = needed == 3 ? (bytes[2] & 0x7F) : 0;
    return true;
}

}  // namespace

Sequencer::Sequencer(Synth& synth, const MidiFile& file)
    : synth_(synth), timeline_(file, synth.sampleRate()), endFrame_(timeline_.endFrame()) {}

std::int64_t Sequencer::positionMs() const {
    // At the end the position is the length, exactly as the length is reported.
    if (positionFrame_ >= timeline_.endFrame()) return timeline_.lengthMs();
    return timeline_.framesToMs(positionFrame_);
}

std::int64_t Sequencer::clampMsToFrame(std::int64_t ms) const {
    if (ms <= 0) return 0;
    if (ms >= timeline_.lengthMs()) return timeline_.endFrame();
    return std::min(timeline_.msToFrames(ms), timeline_.endFrame());
}

void Sequencer::play(std::int64_t fromMs, std::int64_t toMs) {
    const std::int64_t from = clampMsToFrame(fromMs);
    if (from != positionFrame_ || !chased_) moveTo(from);
    endFrame_ = toMs < 0 ? timeline_.endFrame() : std::max(from, clampMsToFrame(toMs));
    playing_ = true;
}

void Sequencer::resume() {
    if (!chased_) moveTo(positionFrame_);
    if (positionFrame_ >= endFrame_) endFrame_ = timeline_.endFrame();
    playing_ = true;
}

void Sequencer::stop() {
    playing_ = false;
    synth_.allSoundsOff();
    chased_ = false;
}

void Sequencer::seek(std::int64_t ms) { moveTo(clampMsToFrame(ms)); }

void Sequencer::moveTo(std::int64_t frame) {
    synth_.allSoundsOff();
    const auto& events = timeline_.events();
    const auto first = std::lower_bound(events.begin(), events.end(), frame,
                                        [](const TimedEvent& e, std::int64_t f) { return e.frame < f; });
    positionFrame_ = frame;
    chaseTo(static_cast<std::size_t>(first - events.begin()));
    chased_ = true;
    if (endFrame_ < frame) endFrame_ = timeline_.endFrame();
}

// Sends everything but notes from the start of the song up to the target, in order, after
// putting every channel in its power-on state: programs, banks, controllers, pitch bend,
// RPN/NRPN and SysEx end up as they would be had the song played up to there.
void Sequencer::chaseTo(std::size_t eventIndex) {
    synth_.resetChannels();
    const auto& events = timeline_.events();
    for (std::size_t i = 0; i < eventIndex; ++i)
        if (!events[i].isNoteEvent()) dispatch(events[i]);
    next_ = eventIndex;
}

void Sequencer::dispatch(const TimedEvent& event) {
    if (event.status < 0xF0) {
        synth_.channelMessage(event.status, event.data1, event.data2);
    } else if (event.status == kStatusSysEx) {
        synth_.systemExclusive(timeline_.payloadOf(event));
    } else {
        std::uint8_t status = 0;
        std::uint8_t data1 = 0;
        std::uint8_t data2 = 0;
        if (unpackEscape(timeline_.payloadOf(event), status, data1, data2)) synth_.channelMessage(status, data1, data2);
    }
}

void Sequencer::finish() {
    // Events at the very end (the last note-offs, typically) still go out; notes that would
    // start there would never be heard, so they are left out. Then nothing may keep sounding.
    const auto& events = timeline_.events();
    while (next_ < events.size() && events[next_].frame <= endFrame_) {
        const TimedEvent& event = events[next_++];
        if ((event.status & 0xF0) != 0x90 || event.data2 == 0) dispatch(event);
    }
    // A sustain or sostenuto pedal still down would hold the notes for ever (an organ never fades by itself).
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const auto cc = static_cast<std::uint8_t>(0xB0 | channel);
        synth_.channelMessage(cc, kSustainPedal, 0);
        synth_.channelMessage(cc, kSostenutoPedal, 0);
    }
    synth_.allNotesOff();
    playing_ = false;
    chased_ = false;  // the pedals are no longer the song's: a play from here chases them again
    if (endHandler_) endHandler_();
}

void Sequencer::render(float* left, float* right, std::size_t frames) {
    const auto& events = timeline_.events();
    std::size_t done = 0;
    while (done < frames) {
        std::int64_t chunk = static_cast<std::int64_t>(frames - done);
        if (playing_) {
            while (next_ < events.size() && events[next_].frame <= positionFrame_ && events[next_].frame < endFrame_)
                dispatch(events[next_++]);
            if (positionFrame_ >= endFrame_) {
                finish();
                continue;
            }
            std::int64_t until = endFrame_;
            if (next_ < events.size()) until = std::min(until, events[next_].frame);
            chunk = std::min(chunk, until - positionFrame_);
        }
        synth_.render(left + done, right + done, static_cast<std::size_t>(chunk));
        done += static_cast<std::size_t>(chunk);
        if (playing_) positionFrame_ += chunk;
    }
    // An end that falls exactly on the block's last frame is reported with this block.
    if (playing_ && positionFrame_ >= endFrame_) finish();
}

}  // namespace vorlo::midi
