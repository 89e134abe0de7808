#include "media/audio/PortSequencer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>
#include <vector>

#include "midi/SmfReader.h"
#include "midi/Synth.h"

namespace vorlo::audio {
namespace {

// The timeline counts in "frames" of one microsecond: the queue's times are microseconds too.
constexpr int kMicrosPerSecond = 1'000'000;
constexpr std::uint8_t kAllNotesOff = 123;
constexpr std::uint8_t kSustainPedal = 64;
constexpr std::uint8_t kSostenutoPedal = 66;

std::size_t channelMessageLength(std::uint8_t status) {
    const int kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
}

// The messages that put every channel back to its power-on program, bank, controllers and pitch bend: the ones the
// built-in synthesizer's sequencer starts a chase with, taken from there (midi::Synth::resetChannels).
std::vector<std::array<std::uint8_t, 3>> channelResetMessages() {
    struct Collector final : midi::Synth {
        std::vector<std::array<std::uint8_t, 3>> messages;
        int sampleRate() const override { return kMicrosPerSecond; }
        void channelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
            messages.push_back({status, data1, data2});
        }
        void systemExclusive(std::span<const std::uint8_t>) override {}
        void allNotesOff() override {}
        void allSoundsOff() override {}
        void systemReset() override {}
        void render(float*, float*, std::size_t) override {}
    } collector;
    collector.resetChannels();
    return std::move(collector.messages);
}

}  // namespace

bool parsePortAddress(const std::string& address, int& client, int& port) {
    const std::size_t colon = address.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == address.size()) return false;
    const char* begin = address.data();
    const char* end = begin + address.size();
    auto [clientEnd, clientError] = std::from_chars(begin, begin + colon, client);
    auto [portEnd, portError] = std::from_chars(begin + colon + 1, end, port);
    return clientError == std::errc() && portError == std::errc() && clientEnd == begin + colon && portEnd == end &&
           client >= 0 && client < 256 && port >= 0 && port < 256;
}

PortSequencer::PortSequencer(std::unique_ptr<MidiPort> port, Timing timing) : timing_(timing), port_(std::move(port)) {
    if (timing_.worker) worker_ = std::thread([this] { work(); });
}

PortSequencer::~PortSequencer() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
    std::lock_guard lock(mutex_);
    if (song_) haltLocked();
}

bool PortSequencer::open(const std::string& path, std::string& error) {
    midi::ReadResult result = midi::readMidiFile(path);
    if (auto* failure = std::get_if<midi::ReadError>(&result)) {
        error = failure->text;
        close();
        return false;
    }
    // Built outside the lock: sorting a long song's events must not hold up the worker.
    auto song = std::make_unique<midi::SongTimeline>(std::get<midi::MidiFile>(result), kMicrosPerSecond);
    std::lock_guard lock(mutex_);
    if (song_) haltLocked();
    song_ = std::move(song);
    positionUs_ = 0;
    next_ = 0;
    failure_.clear();
    return true;
}

void PortSequencer::close() {
    std::lock_guard lock(mutex_);
    if (song_) haltLocked();
    song_.reset();
    positionUs_ = 0;
}

bool PortSequencer::isOpen() const {
    std::lock_guard lock(mutex_);
    return song_ != nullptr;
}

std::int64_t PortSequencer::lengthMs() const {
    std::lock_guard lock(mutex_);
    return song_ ? song_->lengthMs() : 0;
}

std::int64_t PortSequencer::positionUsLocked() const {
    if (!playing_) return positionUs_;
    return std::min(endUs_, fromUs_ + std::max<std::int64_t>(0, port_->clockUs()));
}

std::int64_t PortSequencer::positionMs() const {
    std::lock_guard lock(mutex_);
    if (!song_) return 0;
    const std::int64_t us = positionUsLocked();
    // At the end the position is the length, exactly as the length is reported.
    return us >= song_->endFrame() ? song_->lengthMs() : song_->framesToMs(us);
}

bool PortSequencer::isPlaying() const {
    std::lock_guard lock(mutex_);
    return playing_;
}

std::uint64_t PortSequencer::play(std::int64_t fromMs, std::int64_t toMs) {
    Outcome outcome;
    std::uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        if (!song_) return 0;
        haltLocked();
        fromUs_ = songPointUs(fromMs);
        endUs_ = toMs < 0 ? song_->endFrame() : std::max(fromUs_, songPointUs(toMs));
        positionUs_ = fromUs_;
        endQueued_ = false;
        endSent_ = 0;
        failure_.clear();
        id = ++playId_;
        std::string why;
        if (port_->gone(why) || !chaseLocked(fromUs_) || !port_->startClock()) {
            outcome = failLocked();
        } else {
            playing_ = true;
            // The first stretch goes out at once; the worker keeps the window filled from there.
            outcome = refillLocked();
        }
    }
    report(outcome);
    wake_.notify_all();
    return id;
}

void PortSequencer::stop() {
    std::lock_guard lock(mutex_);
    if (!song_) return;
    positionUs_ = positionUsLocked();
    haltLocked();
}

void PortSequencer::seek(std::int64_t ms) {
    std::lock_guard lock(mutex_);
    if (!song_) return;
    haltLocked();
    positionUs_ = songPointUs(ms);
}

std::int64_t PortSequencer::songPointUs(std::int64_t ms) const {
    if (ms >= song_->lengthMs()) return song_->endFrame();
    return std::min(song_->msToFrames(std::max<std::int64_t>(ms, 0)), song_->endFrame());
}

void PortSequencer::setEndCallback(std::function<void(std::uint64_t, bool)> callback) {
    std::lock_guard lock(mutex_);
    endCallback_ = std::move(callback);
}

std::string PortSequencer::failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

bool PortSequencer::portGone(std::string& why) {
    std::lock_guard lock(mutex_);
    return port_->gone(why);
}

std::string PortSequencer::portName() const {
    std::lock_guard lock(mutex_);
    return port_->name();
}

void PortSequencer::sendShortMessage(std::uint32_t message) {
    const std::array<std::uint8_t, 3> bytes{static_cast<std::uint8_t>(message & 0xFF),
                                            static_cast<std::uint8_t>((message >> 8) & 0x7F),
                                            static_cast<std::uint8_t>((message >> 16) & 0x7F)};
    std::size_t length = 0;
    if (bytes[0] == 0xFF)
        length = 1;
    else if (bytes[0] >= 0x80 && bytes[0] < 0xF0)
        length = channelMessageLength(bytes[0]);
    if (length == 0) return;
    std::lock_guard lock(mutex_);
    port_->sendNow(std::span(bytes.data(), length));
}

void PortSequencer::advanceOffline(std::int64_t us) {
    Outcome outcome;
    {
        std::lock_guard lock(mutex_);
        port_->advanceClock(us);
        outcome = refillLocked();
    }
    report(outcome);
}

void PortSequencer::refill() {
    Outcome outcome;
    {
        std::lock_guard lock(mutex_);
        outcome = refillLocked();
    }
    report(outcome);
}

void PortSequencer::report(Outcome outcome) {
    if (outcome.playId == 0) return;
    std::function<void(std::uint64_t, bool)> callback;
    {
        std::lock_guard lock(mutex_);
        callback = endCallback_;
    }
    // Outside the lock: the callback may well ask for the position or start the next play.
    if (callback) callback(outcome.playId, outcome.failed);
}

void PortSequencer::work() {
    std::unique_lock lock(mutex_);
    while (!quit_) {
        wake_.wait_for(lock, std::chrono::milliseconds(timing_.refillMs));
        if (quit_) break;
        const Outcome outcome = refillLocked();
        if (outcome.playId == 0) continue;
        lock.unlock();
        report(outcome);
        lock.lock();
    }
}

std::span<const std::uint8_t> PortSequencer::bytesOf(const midi::TimedEvent& event) const {
    if (event.status < 0xF0) return {&event.status, channelMessageLength(event.status)};
    const std::span<const std::uint8_t> payload = song_->payloadOf(event);
    if (event.status == midi::kStatusSysEx) return payload;
    // An escape packet goes out when it carries one whole channel message, as the built-in synthesizer takes it.
    if (payload.empty() || payload[0] < 0x80 || payload[0] >= 0xF0) return {};
    const std::size_t needed = channelMessageLength(payload[0]);
    return payload.size() < needed ? std::span<const std::uint8_t>{} : payload.first(needed);
}

bool PortSequencer::chaseLocked(std::int64_t toUs) {
    static const std::vector<std::array<std::uint8_t, 3>> kReset = channelResetMessages();
    for (const auto& message : kReset)
        if (!port_->sendNow(std::span(message.data(), channelMessageLength(message[0])))) return false;
    const auto& events = song_->events();
    const auto first = std::lower_bound(events.begin(), events.end(), toUs,
                                        [](const midi::TimedEvent& e, std::int64_t us) { return e.frame < us; });
    for (auto it = events.begin(); it != first; ++it) {
        if (it->isNoteEvent()) continue;
        const std::span<const std::uint8_t> bytes = bytesOf(*it);
        if (!bytes.empty() && !port_->sendNow(bytes)) return false;
    }
    next_ = static_cast<std::size_t>(first - events.begin());
    return true;
}

PortSequencer::Outcome PortSequencer::refillLocked() {
    if (!playing_ || !song_) return {};
    std::string why;
    if (port_->gone(why)) return failLocked();
    const std::int64_t nowUs = fromUs_ + std::max<std::int64_t>(0, port_->clockUs());
    if (endQueued_ && nowUs >= endUs_) {
        playing_ = false;
        positionUs_ = endUs_;
        return {playId_, false};
    }
    const std::int64_t horizon = nowUs + timing_.aheadUs;
    const auto& events = song_->events();
    bool full = false;
    while (next_ < events.size() && events[next_].frame < endUs_ && events[next_].frame <= horizon) {
        const std::span<const std::uint8_t> bytes = bytesOf(events[next_]);
        const Queued queued = bytes.empty() ? Queued::Yes : port_->schedule(events[next_].frame - fromUs_, bytes);
        if (queued == Queued::Gone) return failLocked();
        if (queued == Queued::Full) {
            full = true;
            break;
        }
        ++next_;
    }
    const bool allBeforeEnd = next_ >= events.size() || events[next_].frame >= endUs_;
    if (!full && !endQueued_ && allBeforeEnd && endUs_ <= horizon) {
        const Queued queued = queueEndLocked();
        if (queued == Queued::Gone) return failLocked();
        endQueued_ = queued == Queued::Yes;
    }
    if (!port_->flush()) return failLocked();
    return {};
}

Queued PortSequencer::queueEndLocked() {
    const auto& events = song_->events();
    const std::int64_t atUs = endUs_ - fromUs_;
    // Events at the very end (the last note-offs, typically) still go out; notes that would start there would never
    // be heard, so they are left out. Then nothing may keep sounding. A full queue takes the rest at the next refill:
    // what went already is counted.
    std::size_t index = 0;
    const auto send = [&](std::span<const std::uint8_t> bytes) {
        if (index++ < endSent_) return Queued::Yes;
        const Queued queued = port_->schedule(atUs, bytes);
        if (queued == Queued::Yes) ++endSent_;
        return queued;
    };
    for (std::size_t i = next_; i < events.size() && events[i].frame <= endUs_; ++i) {
        const midi::TimedEvent& event = events[i];
        if ((event.status & 0xF0) == 0x90 && event.data2 != 0) continue;
        const std::span<const std::uint8_t> bytes = bytesOf(event);
        if (bytes.empty()) continue;
        if (const Queued queued = send(bytes); queued != Queued::Yes) return queued;
    }
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const auto cc = static_cast<std::uint8_t>(0xB0 | channel);
        for (std::uint8_t controller : {kSustainPedal, kSostenutoPedal, kAllNotesOff}) {
            const std::array<std::uint8_t, 3> message{cc, controller, 0};
            if (const Queued queued = send(message); queued != Queued::Yes) return queued;
        }
    }
    return Queued::Yes;
}

void PortSequencer::haltLocked() {
    playing_ = false;
    port_->dropQueued();
    port_->stopClock();
    silenceLocked();
}

void PortSequencer::silenceLocked() {
    std::string why;
    if (port_->gone(why)) return;
    // Straight to the port, past whatever the queue still held: every note off, and no pedal left holding one.
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        const auto cc = static_cast<std::uint8_t>(0xB0 | channel);
        for (std::uint8_t controller : {kAllNotesOff, kSustainPedal}) {
            const std::array<std::uint8_t, 3> message{cc, controller, 0};
            if (!port_->sendNow(message)) return;
        }
    }
}

PortSequencer::Outcome PortSequencer::failLocked() {
    positionUs_ = positionUsLocked();
    playing_ = false;
    std::string why;
    port_->gone(why);
    failure_ = why.empty() ? "The MIDI port " + port_->name() + " stopped taking messages." : why;
    port_->dropQueued();
    port_->stopClock();
    return {playId_, true};
}

}  // namespace vorlo::audio
