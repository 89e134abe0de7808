// The external-synthesizer back end on the real ALSA sequencer: the test makes its own client with an input port
// (standing where a synthesizer would), plays a short song to it and checks what arrives and when. Where the machine
// has no sequencer (/dev/snd/seq missing: no sound modules, a container), the program says so and exits with 77,
// which ctest counts as skipped.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "AudioTestSupport.h"
#include "RecordingPort.h"
#include "media/audio/AlsaSequencerPort.h"
#include "media/audio/PortSequencer.h"

namespace vorlo::audio::test {
namespace {

using Clock = std::chrono::steady_clock;

struct Arrival {
    Clock::time_point at;
    std::vector<std::uint8_t> bytes;
};

// A sequencer client with one input port that records every message with the moment it arrived.
class Receiver {
public:
    Receiver() {
        if (snd_seq_open(&seq_, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0) return;
        snd_seq_set_client_name(seq_, "Vorlo test synth");
        port_ = snd_seq_create_simple_port(seq_, "in", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                           SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        snd_midi_event_new(1024, &decoder_);
        snd_midi_event_no_status(decoder_, 1);
        thread_ = std::thread([this] { run(); });
    }
    ~Receiver() {
        quit_ = true;
        if (thread_.joinable()) thread_.join();
        if (decoder_ != nullptr) snd_midi_event_free(decoder_);
        if (seq_ != nullptr) snd_seq_close(seq_);
    }
    bool ready() const { return seq_ != nullptr && port_ >= 0; }
    std::string address() const { return std::to_string(snd_seq_client_id(seq_)) + ":" + std::to_string(port_); }
    std::vector<Arrival> arrivals() {
        std::lock_guard lock(mutex_);
        return arrivals_;
    }

private:
    void run() {
        const int count = snd_seq_poll_descriptors_count(seq_, POLLIN);
        std::vector<pollfd> fds(static_cast<std::size_t>(count));
        snd_seq_poll_descriptors(seq_, fds.data(), static_cast<unsigned>(count), POLLIN);
        while (!quit_) {
            if (::poll(fds.data(), fds.size(), 20) <= 0) continue;
            snd_seq_event_t* event = nullptr;
            while (snd_seq_event_input(seq_, &event) >= 0 && event != nullptr) {
                const Clock::time_point now = Clock::now();
                unsigned char bytes[1024];
                snd_midi_event_reset_decode(decoder_);
                const long size = snd_midi_event_decode(decoder_, bytes, sizeof bytes, event);
                if (size <= 0) continue;
                std::lock_guard lock(mutex_);
                arrivals_.push_back({now, std::vector<std::uint8_t>(bytes, bytes + size)});
            }
        }
    }

    snd_seq_t* seq_ = nullptr;
    int port_ = -1;
    snd_midi_event_t* decoder_ = nullptr;
    std::thread thread_;
    std::atomic<bool> quit_ = false;
    std::mutex mutex_;
    std::vector<Arrival> arrivals_;
};

// Eight notes, a beat apart at 120 beats a minute for the first four and 240 after; a held chord with its pedal.
midi::SmfWriter shortSong() {
    midi::SmfWriter writer(1, 480);
    auto& track = writer.addTrack();
    track.tempo(0, 500'000).tempo(1920, 250'000).programChange(0, 0, 11);
    for (int beat = 0; beat < 8; ++beat) track.note(static_cast<std::uint64_t>(beat) * 480, 240, 0, 60 + beat, 100);
    track.controlChange(480, 1, 64, 127).note(480, 2400, 1, 48, 90);
    return writer;
}

std::int64_t beatMicros(int beat) {
    const std::int64_t tick = beat * 480;
    return tick <= 1920 ? tick * 500'000 / 480 : 2'000'000 + (tick - 1920) * 250'000 / 480;
}

std::vector<Delivered> asDelivered(const std::vector<Arrival>& arrivals) {
    std::vector<Delivered> delivered;
    for (const Arrival& arrival : arrivals) delivered.push_back({0, arrival.bytes, false});
    return delivered;
}

struct Ended {
    std::mutex mutex;
    std::condition_variable cv;
    int count = 0;
    bool failed = false;
    bool waitFor(int wanted, std::chrono::seconds limit) {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, limit, [&] { return count >= wanted; });
    }
};

TEST(AlsaPort, ASongArrivesInOrderOnTimeAndLeavesNoNoteOn) {
    Receiver receiver;
    ASSERT_TRUE(receiver.ready());
    std::string error;
    std::unique_ptr<MidiPort> port = openAlsaSequencerPort(receiver.address(), error);
    ASSERT_TRUE(port) << error;
    EXPECT_NE(port->name().find("Vorlo test synth"), std::string::npos) << port->name();
    PortSequencer sequencer(std::move(port));
    Ended ended;
    sequencer.setEndCallback([&](std::uint64_t, bool failed) {
        std::lock_guard lock(ended.mutex);
        ++ended.count;
        ended.failed = failed;
        ended.cv.notify_all();
    });
    TempSong song(shortSong());
    ASSERT_TRUE(sequencer.open(song.path(), error)) << error;
    sequencer.play(0);
    ASSERT_TRUE(ended.waitFor(1, std::chrono::seconds(10)));
    EXPECT_FALSE(ended.failed);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // what the port still delivers after the end
    const std::vector<Arrival> arrivals = receiver.arrivals();

    std::vector<Arrival> notes;
    for (const Arrival& arrival : arrivals)
        if (arrival.bytes.size() == 3 && arrival.bytes[0] == 0x90 && arrival.bytes[2] != 0) notes.push_back(arrival);
    ASSERT_EQ(notes.size(), 8u);
    for (int beat = 0; beat < 8; ++beat) {
        EXPECT_EQ(notes[static_cast<std::size_t>(beat)].bytes[1], 60 + beat) << "out of order";
        const auto apart = std::chrono::duration_cast<std::chrono::microseconds>(
            notes[static_cast<std::size_t>(beat)].at - notes[0].at);
        EXPECT_LE(std::abs(apart.count() - beatMicros(beat)), 5'000) << "beat " << beat;
    }
    EXPECT_EQ(hangingNotes(asDelivered(arrivals)), "");
    EXPECT_EQ(ended.count, 1);
}

TEST(AlsaPort, StopInTheMiddleSilencesEveryChannelAndDropsTheRest) {
    Receiver receiver;
    ASSERT_TRUE(receiver.ready());
    std::string error;
    std::unique_ptr<MidiPort> port = openAlsaSequencerPort(receiver.address(), error);
    ASSERT_TRUE(port) << error;
    PortSequencer sequencer(std::move(port));
    TempSong song(shortSong());
    ASSERT_TRUE(sequencer.open(song.path(), error)) << error;
    sequencer.play(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_NE(hangingNotes(asDelivered(receiver.arrivals())), "");  // the chord sounds, its pedal down
    sequencer.stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::size_t atStop = receiver.arrivals().size();
    EXPECT_EQ(hangingNotes(asDelivered(receiver.arrivals())), "");
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(receiver.arrivals().size(), atStop) << "queued messages arrived after the stop";
}

TEST(AlsaPort, APortThatIsNotThereFailsAtOnce) {
    std::string error;
    const auto started = Clock::now();
    EXPECT_FALSE(openAlsaSequencerPort("250:7", error));
    EXPECT_NE(error.find("250:7"), std::string::npos) << error;
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
}

}  // namespace
}  // namespace vorlo::audio::test

int main(int argc, char** argv) {
    if (::access("/dev/snd/seq", F_OK) != 0) {
        std::puts("no ALSA sequencer on this machine (/dev/snd/seq missing)");
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
