// The external-synthesizer back end: songs scheduled on a MIDI port's queue. The port here is the recording stand-in
// of RecordingPort.h (this machine has no ALSA sequencer; AlsaPortTest plays to a real one where there is one).
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "AudioTestSupport.h"
#include "RecordingPort.h"
#include "media/audio/PortSequencer.h"

namespace vorlo::audio::test {
namespace {

constexpr std::int64_t kStepUs = 10'000;  // the offline pull's step: well inside the window

// Two seconds at 120 beats a minute (480 ticks a beat), then 240: a note every beat on channel 1, a program on
// channel 3, a sustained chord on channel 2 with its pedal down across the tempo change.
midi::SmfWriter tempoChangeSong() {
    midi::SmfWriter writer(1, 480);
    auto& track = writer.addTrack();
    track.tempo(0, 500'000).tempo(1920, 250'000);
    track.programChange(0, 2, 40);
    for (int beat = 0; beat < 8; ++beat) track.note(static_cast<std::uint64_t>(beat) * 480, 240, 0, 60 + beat, 100);
    track.controlChange(960, 1, 64, 127).note(960, 1920, 1, 48, 90).note(960, 1920, 1, 55, 90);
    track.controlChange(3000, 1, 64, 0);
    return writer;
}

// Where a tick of tempoChangeSong() falls, in microseconds: worked out by hand, not by the tempo map under test.
std::int64_t tempoChangeMicros(std::int64_t tick) {
    return tick <= 1920 ? tick * 500'000 / 480 : 2'000'000 + (tick - 1920) * 250'000 / 480;
}

struct Played {
    std::shared_ptr<PortLog> log = std::make_shared<PortLog>();
    PortSequencer sequencer{std::make_unique<RecordingPort>(log), PortSequencer::Timing{300'000, 40, false}};
    std::vector<std::pair<std::uint64_t, bool>> reports;

    Played() {
        sequencer.setEndCallback([this](std::uint64_t id, bool failed) { reports.emplace_back(id, failed); });
    }
    void run(std::int64_t us) {
        for (std::int64_t done = 0; done < us; done += kStepUs) sequencer.advanceOffline(kStepUs);
    }
    // The messages queued for the song (not the direct ones) that were delivered.
    std::vector<Delivered> fromQueue() {
        std::vector<Delivered> queued;
        for (const Delivered& message : log->snapshot())
            if (!message.direct) queued.push_back(message);
        return queued;
    }
};

TEST(PortSequencer, EventsArriveInOrderAtTheTempoMapsTimes) {
    TempSong song(tempoChangeSong());
    Played played;
    std::string error;
    ASSERT_TRUE(played.sequencer.open(song.path(), error)) << error;
    EXPECT_EQ(played.sequencer.lengthMs(), 2'875);  // the last beat's note ends at tick 3600: 2 s + 875 ms
    const std::uint64_t id = played.sequencer.play(0);
    played.run(3'500'000);

    std::vector<std::int64_t> noteOnTimes;
    std::int64_t last = -1;
    for (const Delivered& message : played.fromQueue()) {
        EXPECT_GE(message.atUs, last) << "out of order";
        last = message.atUs;
        if (message.isNoteOn() && message.channel() == 0) noteOnTimes.push_back(message.atUs);
    }
    ASSERT_EQ(noteOnTimes.size(), 8u);
    for (int beat = 0; beat < 8; ++beat)
        EXPECT_LE(std::abs(noteOnTimes[beat] - tempoChangeMicros(beat * 480)), 5'000) << "beat " << beat;
    // The pedal comes up at tick 3000, before the end.
    const std::vector<Delivered> queued = played.fromQueue();
    const auto pedalUp = std::find_if(queued.begin(), queued.end(), [](const Delivered& m) {
        return m.kind() == 0xB0 && m.channel() == 1 && m.bytes[1] == 64 && m.bytes[2] == 0;
    });
    ASSERT_NE(pedalUp, queued.end());
    EXPECT_LE(std::abs(pedalUp->atUs - tempoChangeMicros(3000)), 5'000);
    EXPECT_EQ(hangingNotes(played.log->snapshot()), "");
    ASSERT_EQ(played.reports.size(), 1u);
    EXPECT_EQ(played.reports[0], std::make_pair(id, false));
    EXPECT_FALSE(played.sequencer.isPlaying());
    EXPECT_EQ(played.sequencer.positionMs(), 2'875);
}

TEST(PortSequencer, ThePositionFollowsThePortsClockAndTheEndReportComesOnce) {
    TempSong song(tempoChangeSong());
    Played played;
    std::string error;
    ASSERT_TRUE(played.sequencer.open(song.path(), error)) << error;
    const std::uint64_t id = played.sequencer.play(500, 1'200);
    played.run(400'000);
    EXPECT_NEAR(played.sequencer.positionMs(), 900, 1);
    EXPECT_TRUE(played.reports.empty());
    played.run(800'000);
    ASSERT_EQ(played.reports.size(), 1u);
    EXPECT_EQ(played.reports[0], std::make_pair(id, false));
    EXPECT_EQ(played.sequencer.positionMs(), 1'200);
    // Nothing more comes: not by running on, not by a stop after the end.
    played.run(500'000);
    played.sequencer.stop();
    played.run(100'000);
    EXPECT_EQ(played.reports.size(), 1u);
    // A play stopped before its end never reports.
    played.sequencer.play(0);
    played.run(200'000);
    played.sequencer.stop();
    played.run(4'000'000);
    EXPECT_EQ(played.reports.size(), 1u);
    EXPECT_FALSE(played.sequencer.isPlaying());
}

TEST(PortSequencer, APlayFromASeekPointSendsTheSongsStateThereAndNoEarlierNote) {
    midi::SmfWriter writer(1, 480);
    auto& track = writer.addTrack();  // 120 beats a minute: a beat is 500 ms
    track.programChange(0, 3, 19).controlChange(240, 3, 7, 77).pitchBend(480, 3, 12000).controlChange(960, 3, 7, 55);
    track.note(0, 960, 3, 64, 100).note(1200, 240, 3, 67, 100).endAt(1920);
    TempSong song(writer);
    Played played;
    std::string error;
    ASSERT_TRUE(played.sequencer.open(song.path(), error)) << error;
    played.sequencer.seek(1'100);  // past the volume change at 1 s, inside the first note (0 to 1 s: ended)
    EXPECT_EQ(played.sequencer.positionMs(), 1'100);
    played.sequencer.play(1'100);
    played.run(2'000'000);

    const std::vector<Delivered> all = played.log->snapshot();
    std::vector<Delivered> chase;
    for (const Delivered& message : all)
        if (message.direct && message.channel() == 3) chase.push_back(message);
    const auto has = [&](std::vector<std::uint8_t> bytes) {
        return std::any_of(chase.begin(), chase.end(), [&](const Delivered& m) { return m.bytes == bytes; });
    };
    EXPECT_TRUE(has({0xC3, 19}));
    for (const Delivered& message : all)  // the channels' reset included: a program change is two bytes
        if (message.kind() == 0xC0 || message.kind() == 0xD0) {
            EXPECT_EQ(message.bytes.size(), 2u);
        }
    EXPECT_TRUE(has({0xE3, 12000 & 0x7F, 12000 >> 7}));
    // The later volume wins: it comes after the earlier one.
    const auto volume = [&](int value) {
        return std::find_if(chase.begin(), chase.end(), [&](const Delivered& m) {
            return m.kind() == 0xB0 && m.bytes[1] == 7 && m.bytes[2] == value;
        });
    };
    ASSERT_NE(volume(55), chase.end());
    EXPECT_LT(volume(77), volume(55));
    for (const Delivered& message : all)
        EXPECT_FALSE(message.isNoteOn() && message.bytes[1] == 64) << "a note from before the seek";
    // The note at 1.25 s sounds 150 ms after the play began.
    const std::vector<Delivered> queued = played.fromQueue();
    const auto note = std::find_if(queued.begin(), queued.end(), [](const Delivered& m) { return m.isNoteOn(); });
    ASSERT_NE(note, queued.end());
    EXPECT_EQ(note->bytes[1], 67);
    EXPECT_NEAR(static_cast<double>(note->atUs), 150'000.0, 5'000.0);
}

// Stop (the player's pause too), seek and close in the middle of the chord: nothing hangs, and what was queued for
// later never arrives.
TEST(PortSequencer, StopSeekAndCloseLeaveNoNoteOnAndDropWhatWasQueued) {
    TempSong song(tempoChangeSong());
    for (const char* how : {"stop", "seek", "close"}) {
        SCOPED_TRACE(how);
        Played played;
        std::string error;
        ASSERT_TRUE(played.sequencer.open(song.path(), error)) << error;
        played.sequencer.play(0);
        played.run(1'300'000);  // the chord on channel 2 sounds, its pedal down
        ASSERT_NE(hangingNotes(played.log->snapshot()), "");
        const std::string command = how;
        if (command == "stop") played.sequencer.stop();
        if (command == "seek") played.sequencer.seek(100);
        if (command == "close") played.sequencer.close();
        EXPECT_EQ(hangingNotes(played.log->snapshot()), "");
        const std::size_t count = played.log->snapshot().size();
        played.run(3'000'000);
        EXPECT_EQ(played.log->snapshot().size(), count) << "queued messages arrived after the " << how;
        EXPECT_TRUE(played.reports.empty());
        // All notes off and sustain off went to each of the 16 channels.
        int silenced = 0;
        for (const Delivered& message : played.log->snapshot())
            if (message.direct && message.kind() == 0xB0 && (message.bytes[1] == 123 || message.bytes[1] == 64) &&
                message.bytes[2] == 0)
                ++silenced;
        EXPECT_GE(silenced, 32);
    }
}

TEST(PortSequencer, APortThatGoesAwayStopsThePlayAndSaysWhich) {
    TempSong song(tempoChangeSong());
    Played played;
    std::string error;
    ASSERT_TRUE(played.sequencer.open(song.path(), error)) << error;
    const std::uint64_t id = played.sequencer.play(0);
    played.run(600'000);
    {
        std::lock_guard lock(played.log->mutex);
        played.log->gone = true;
    }
    played.run(100'000);
    ASSERT_EQ(played.reports.size(), 1u);
    EXPECT_EQ(played.reports[0], std::make_pair(id, true));
    EXPECT_FALSE(played.sequencer.isPlaying());
    EXPECT_NE(played.sequencer.failure().find("Test Synth, Port 1 (129:0)"), std::string::npos)
        << played.sequencer.failure();
    EXPECT_NEAR(played.sequencer.positionMs(), 600, 20);
    // A play on a port that is gone fails at once, reported like the one before.
    const std::uint64_t again = played.sequencer.play(0);
    ASSERT_EQ(played.reports.size(), 2u);
    EXPECT_EQ(played.reports[1], std::make_pair(again, true));
    played.run(3'000'000);
    EXPECT_EQ(played.reports.size(), 2u);
}

TEST(PortSequencer, AFullQueueTakesTheRestAtTheNextRefillInOrder) {
    TempSong song(tempoChangeSong());
    Played played;
    played.log->capacity = 2;
    std::string error;
    ASSERT_TRUE(played.sequencer.open(song.path(), error)) << error;
    played.sequencer.play(0);
    played.run(3'500'000);
    int notes = 0;
    std::int64_t last = -1;
    for (const Delivered& message : played.fromQueue()) {
        EXPECT_GE(message.atUs, last);
        last = message.atUs;
        if (message.isNoteOn() && message.channel() == 0) ++notes;
    }
    EXPECT_EQ(notes, 8);
    EXPECT_EQ(hangingNotes(played.log->snapshot()), "");
    EXPECT_EQ(played.reports.size(), 1u);
}

// The worker thread keeps the window filled while the port's clock runs by itself (here moved by the test), and a
// sequencer destroyed in the middle of a play leaves nothing sounding.
TEST(PortSequencer, TheWorkerRefillsAsTheClockRunsAndStopsInOrder) {
    TempSong song(tempoChangeSong());
    auto log = std::make_shared<PortLog>();
    std::mutex mutex;
    std::condition_variable ended;
    int reports = 0;
    {
        PortSequencer sequencer(std::make_unique<RecordingPort>(log), PortSequencer::Timing{300'000, 5, true});
        sequencer.setEndCallback([&](std::uint64_t, bool) {
            std::lock_guard lock(mutex);
            ++reports;
            ended.notify_all();
        });
        std::string error;
        ASSERT_TRUE(sequencer.open(song.path(), error)) << error;
        sequencer.play(0);
        // 20 ms of the port's clock every millisecond, until the end is reported (or far past it: a fault).
        for (int step = 0; step < 1000; ++step) {
            std::unique_lock lock(mutex);
            if (ended.wait_for(lock, std::chrono::milliseconds(1), [&] { return reports > 0; })) break;
            lock.unlock();
            log->advance(20'000);
        }
        {
            std::lock_guard lock(mutex);
            ASSERT_EQ(reports, 1);
        }
        int notes = 0;
        for (const Delivered& message : log->snapshot())
            if (message.isNoteOn() && message.channel() == 0) ++notes;
        EXPECT_EQ(notes, 8);

        sequencer.play(0);
        for (int step = 0; step < 60; ++step) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            log->advance(20'000);
        }
    }
    // Destroyed playing: the worker is gone, the queue dropped, the channels silenced.
    EXPECT_EQ(hangingNotes(log->snapshot()), "");
    const std::size_t count = log->snapshot().size();
    log->advance(3'000'000);
    EXPECT_EQ(log->snapshot().size(), count);
    EXPECT_EQ(reports, 1);
}

TEST(PortSequencer, PortAddressesAreTwoNumbers) {
    int client = -1;
    int port = -1;
    EXPECT_TRUE(parsePortAddress("128:0", client, port));
    EXPECT_EQ(client, 128);
    EXPECT_EQ(port, 0);
    for (const char* bad : {"", "128", "128:", ":0", "a:b", "128:0x", "-1:0", "300:0", "128:0:1"})
        EXPECT_FALSE(parsePortAddress(bad, client, port)) << bad;
}

}  // namespace
}  // namespace vorlo::audio::test
