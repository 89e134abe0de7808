#pragma once
// A MIDI port that records what reaches it, for the tests of the external-synthesizer back end. This machine has no
// ALSA sequencer (/dev/snd/seq) and cannot load the kernel's, so no real port can take the songs here: this stand-in
// is used exactly because of that (the real port is tested by AlsaPortTest where a sequencer exists). It behaves as
// the sequencer's queue does: scheduled messages are delivered when the clock passes their time, dropped ones never
// are, direct ones are delivered at once; the clock moves only when the test (or the offline pull) moves it.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "media/audio/MidiPort.h"

namespace vorlo::audio::test {

struct Delivered {
    std::int64_t atUs = 0;  // on the test's own clock, which never restarts
    std::vector<std::uint8_t> bytes;
    bool direct = false;
    // A channel message's kind (0x90, 0xB0, ...) and channel.
    int kind() const { return bytes.empty() ? 0 : bytes[0] & 0xF0; }
    int channel() const { return bytes.empty() ? 0 : bytes[0] & 0x0F; }
    bool isNoteOn() const { return kind() == 0x90 && bytes.size() > 2 && bytes[2] != 0; }
    bool isNoteOff() const { return kind() == 0x80 || (kind() == 0x90 && bytes.size() > 2 && bytes[2] == 0); }
};

// What the port saw, shared with the test after the port itself went to the sequencer.
struct PortLog {
    std::mutex mutex;
    std::int64_t nowUs = 0;          // the test's clock
    std::int64_t clockStartUs = -1;  // when the queue's clock last started; -1: stopped
    std::int64_t clockAtStopUs = 0;
    std::multimap<std::int64_t, std::vector<std::uint8_t>> queued;  // by the test's clock
    std::vector<Delivered> delivered;
    int starts = 0;
    bool gone = false;
    std::size_t capacity = 100000;  // queued messages it takes before it says Full

    // Moves the test's clock on, delivering what falls due.
    void advance(std::int64_t us) {
        std::lock_guard lock(mutex);
        advanceLocked(us);
    }
    void advanceLocked(std::int64_t us) {
        nowUs += us;
        while (!queued.empty() && queued.begin()->first <= nowUs) {
            delivered.push_back({queued.begin()->first, queued.begin()->second, false});
            queued.erase(queued.begin());
        }
    }
    std::vector<Delivered> snapshot() {
        std::lock_guard lock(mutex);
        return delivered;
    }
};

class RecordingPort final : public MidiPort {
public:
    explicit RecordingPort(std::shared_ptr<PortLog> log, std::string name = "Test Synth, Port 1 (129:0)")
        : log_(std::move(log)), name_(std::move(name)) {}

    std::string name() const override { return name_; }
    Queued schedule(std::int64_t atUs, std::span<const std::uint8_t> message) override {
        std::lock_guard lock(log_->mutex);
        if (log_->gone) return Queued::Gone;
        if (log_->queued.size() >= log_->capacity) return Queued::Full;
        const std::int64_t start = log_->clockStartUs < 0 ? log_->nowUs : log_->clockStartUs;
        log_->queued.emplace(start + atUs, std::vector<std::uint8_t>(message.begin(), message.end()));
        return Queued::Yes;
    }
    bool flush() override { return !log_->gone; }
    void dropQueued() override {
        std::lock_guard lock(log_->mutex);
        log_->queued.clear();
    }
    bool sendNow(std::span<const std::uint8_t> message) override {
        std::lock_guard lock(log_->mutex);
        if (log_->gone) return false;
        log_->delivered.push_back({log_->nowUs, std::vector<std::uint8_t>(message.begin(), message.end()), true});
        return true;
    }
    bool startClock() override {
        std::lock_guard lock(log_->mutex);
        log_->clockStartUs = log_->nowUs;
        ++log_->starts;
        return !log_->gone;
    }
    void stopClock() override {
        std::lock_guard lock(log_->mutex);
        if (log_->clockStartUs >= 0) log_->clockAtStopUs = log_->nowUs - log_->clockStartUs;
        log_->clockStartUs = -1;
    }
    std::int64_t clockUs() override {
        std::lock_guard lock(log_->mutex);
        return log_->clockStartUs < 0 ? log_->clockAtStopUs : log_->nowUs - log_->clockStartUs;
    }
    void advanceClock(std::int64_t us) override {
        std::lock_guard lock(log_->mutex);
        log_->advanceLocked(us);
    }
    bool gone(std::string& why) override {
        std::lock_guard lock(log_->mutex);
        if (log_->gone) why = "The external MIDI synthesizer " + name_ + " is gone (its program ended).";
        return log_->gone;
    }

private:
    std::shared_ptr<PortLog> log_;
    std::string name_;
};

// Whether anything still sounds after everything delivered: a note-on without a note-off or an all-notes-off after
// it on its channel, or a sustain pedal left down. Says what, for the failure message.
inline std::string hangingNotes(const std::vector<Delivered>& delivered) {
    std::map<std::pair<int, int>, bool> on;  // channel, key
    std::map<int, bool> pedal;
    for (const Delivered& message : delivered) {
        if (message.isNoteOn()) on[{message.channel(), message.bytes[1]}] = true;
        if (message.isNoteOff()) on[{message.channel(), message.bytes[1]}] = false;
        if (message.kind() == 0xB0 && message.bytes.size() > 2) {
            if (message.bytes[1] == 123)
                for (auto& [note, sounding] : on)
                    if (note.first == message.channel()) sounding = false;
            if (message.bytes[1] == 64) pedal[message.channel()] = message.bytes[2] >= 64;
        }
    }
    std::string hanging;
    for (const auto& [note, sounding] : on)
        if (sounding)
            hanging += "note " + std::to_string(note.second) + " on channel " + std::to_string(note.first) + "; ";
    for (const auto& [channel, down] : pedal)
        if (down) hanging += "sustain down on channel " + std::to_string(channel) + "; ";
    return hanging;
}

}  // namespace vorlo::audio::test
