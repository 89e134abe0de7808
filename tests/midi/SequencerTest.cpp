#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/ResetMessages.h"
#include "midi/Sequencer.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"

namespace vorlo::midi {
namespace {

// Records what reaches the synthesizer and at which rendered frame. A sound card's timing
// cannot be observed in a test; the frame at which each message arrives can.
class RecordingSynth : public Synth {
public:
    struct Message {
        std::int64_t frame;
        std::string what;
    };
    int sampleRate() const override { return 44100; }
    void channelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        log(std::to_string(status) + " " + std::to_string(data1) + " " + std::to_string(data2));
    }
    void systemExclusive(std::span<const std::uint8_t> message) override {
        log("sysex " + std::to_string(message.size()));
    }
    void allNotesOff() override { log("notes off"); }
    void allSoundsOff() override { log("sounds off"); }
    void systemReset() override { log("reset"); }
    void render(float* left, float* right, std::size_t frames) override {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        rendered += static_cast<std::int64_t>(frames);
    }

    std::int64_t frameOf(const std::string& what) const {
        for (const Message& m : messages)
            if (m.what == what) return m.frame;
        return -1;
    }
    bool received(const std::string& what) const { return frameOf(what) >= 0; }

    std::vector<Message> messages;
    std::int64_t rendered = 0;

private:
    void log(std::string what) { messages.push_back({rendered, std::move(what)}); }
};

MidiFile makeFile(const SmfWriter& writer) { return std::get<MidiFile>(readMidi(writer.bytes())); }

// 96 ticks per quarter at 120 bpm: one tick is 5.208 ms; 48 ticks are 250 ms = 11025 frames.
MidiFile fourBeats() {
    SmfWriter writer(1, 96);
    writer.addTrack().tempo(0, 500000).tempo(192, 250000);  // twice as fast after two beats
    writer.addTrack()
        .programChange(0, 0, 33)
        .note(48, 48, 0, 60, 100)   // 250 ms .. 500 ms
        .note(240, 48, 0, 64, 100)  // 1000 + 125 ms .. 1250 ms
        .controlChange(250, 0, 7, 90)
        .note(288, 96, 0, 67, 100);  // 1250 ms .. 1500 ms (the end)
    return makeFile(writer);
}

void renderFor(Sequencer& sequencer, std::int64_t frames, std::size_t block = 512) {
    std::vector<float> left(block), right(block);
    for (std::int64_t done = 0; done < frames; done += static_cast<std::int64_t>(block))
        sequencer.render(left.data(), right.data(), block);
}

TEST(Sequencer, SendsEveryEventAtItsExactFrameAcrossTempoChanges) {
    RecordingSynth synth;
    Sequencer sequencer(synth, fourBeats());
    EXPECT_EQ(sequencer.lengthMs(), 1500);
    sequencer.play(0);
    renderFor(sequencer, 44100 * 2, 441);  // blocks that do not divide the event frames
    EXPECT_EQ(synth.frameOf("192 33 0"), 0);
    EXPECT_EQ(synth.frameOf("144 60 100"), 11025);
    EXPECT_EQ(synth.frameOf("128 60 0"), 22050);
    EXPECT_EQ(synth.frameOf("144 64 100"), 49612);  // 1125 ms
    EXPECT_EQ(synth.frameOf("176 7 90"), 50760);    // 1000 ms + 58 ticks * 2.604 ms
    EXPECT_EQ(synth.frameOf("128 67 0"), 66150);    // 1500 ms, the end
}

TEST(Sequencer, ReportsTheEndOnceWithinTheBlockOfTheMusicalEnd) {
    RecordingSynth synth;
    Sequencer sequencer(synth, fourBeats());
    std::vector<std::int64_t> endsAtFrame;
    sequencer.setEndHandler([&] { endsAtFrame.push_back(synth.rendered); });
    sequencer.play(0);
    renderFor(sequencer, 44100 * 3, 1024);
    ASSERT_EQ(endsAtFrame.size(), 1u);
    // 66150 frames: the block [65536, 66560) holds the end; the report comes while it renders.
    EXPECT_GE(endsAtFrame[0], 65536);
    EXPECT_LE(endsAtFrame[0], 66150);
    EXPECT_FALSE(sequencer.isPlaying());
    EXPECT_EQ(sequencer.positionMs(), 1500);
    EXPECT_EQ(synth.frameOf("notes off"), 66150);
}

// A pedal still down at the end would hold its notes for ever: both pedals are lifted on every channel before the
// notes are released.
TEST(Sequencer, TheEndLiftsThePedalsBeforeReleasingTheNotes) {
    SmfWriter writer(0, 96);
    writer.addTrack().tempo(0, 500000).controlChange(0, 2, 64, 127).note(0, 48, 2, 60, 100).endAt(96);
    RecordingSynth synth;
    Sequencer sequencer(synth, makeFile(writer));
    sequencer.play(0);
    renderFor(sequencer, 44100);
    const std::int64_t end = synth.frameOf("notes off");
    ASSERT_EQ(end, 22050);
    for (int channel = 0; channel < 16; ++channel) {
        EXPECT_EQ(synth.frameOf(std::to_string(0xB0 + channel) + " 64 0"), end) << channel;
        EXPECT_EQ(synth.frameOf(std::to_string(0xB0 + channel) + " 66 0"), end) << channel;
    }
    const auto index = [&](const std::string& what) {
        for (std::size_t i = 0; i < synth.messages.size(); ++i)
            if (synth.messages[i].what == what) return i;
        return synth.messages.size();
    };
    EXPECT_LT(index("178 64 0"), index("notes off"));
}

// Whatever an earlier song left in the synthesizer, a song's first play starts from the power-on state, also at
// its very beginning, and a play after a stop chases the song's state again.
TEST(Sequencer, TheFirstPlayAndAPlayAfterAStopStartFromTheSongsOwnState) {
    RecordingSynth synth;
    Sequencer sequencer(synth, fourBeats());
    sequencer.play(0);
    ASSERT_GE(synth.messages.size(), 2u);
    EXPECT_EQ(synth.messages[1].what, "176 121 0");
    renderFor(sequencer, 44100, 441);  // to 1000 ms
    EXPECT_TRUE(synth.received("192 33 0"));
    sequencer.stop();
    synth.messages.clear();
    sequencer.play(sequencer.positionMs());
    EXPECT_TRUE(synth.received("176 121 0"));
    EXPECT_TRUE(synth.received("192 33 0"));
    synth.messages.clear();
    sequencer.play(sequencer.positionMs());  // nothing was lost: no chase
    EXPECT_TRUE(synth.messages.empty());
}

// A joined file's notes play once.
TEST(Sequencer, AJoinedFilePlaysItsNotesOnce) {
    SmfWriter writer(0, 96);
    writer.addTrack().tempo(0, 500000).note(0, 48, 0, 60, 100);
    std::vector<std::uint8_t> bytes = writer.bytes();
    const std::vector<std::uint8_t> again = bytes;
    bytes.insert(bytes.end(), again.begin(), again.end());
    RecordingSynth synth;
    Sequencer sequencer(synth, std::get<MidiFile>(readMidi(bytes)));
    sequencer.play(0);
    renderFor(sequencer, 44100);
    int starts = 0;
    for (const auto& message : synth.messages) starts += message.what == "144 60 100" ? 1 : 0;
    EXPECT_EQ(starts, 1);
}

TEST(Sequencer, PlaysFromAPositionToAPositionAndSilencesTheRest) {
    RecordingSynth synth;
    Sequencer sequencer(synth, fourBeats());
    bool ended = false;
    sequencer.setEndHandler([&] { ended = true; });
    sequencer.play(300, 1200);  // inside the first note, up to inside the second
    renderFor(sequencer, 44100 * 2);
    EXPECT_TRUE(ended);
    EXPECT_EQ(sequencer.positionMs(), 1200);
    EXPECT_FALSE(synth.received("144 60 100"));  // began before 300 ms: not restarted
    EXPECT_TRUE(synth.received("128 60 0"));
    EXPECT_TRUE(synth.received("144 64 100"));
    EXPECT_FALSE(synth.received("144 67 100"));  // after the end position
    EXPECT_TRUE(synth.received("192 33 0"));     // the program was chased
    EXPECT_GE(synth.frameOf("notes off"), synth.frameOf("144 64 100"));
}

TEST(Sequencer, StopSilencesAndResumeGoesOnFromThere) {
    RecordingSynth synth;
    Sequencer sequencer(synth, fourBeats());
    sequencer.play(0);
    renderFor(sequencer, 15000, 500);
    sequencer.stop();
    EXPECT_TRUE(synth.received("sounds off"));
    const std::int64_t stoppedAt = sequencer.positionMs();
    renderFor(sequencer, 44100, 500);
    EXPECT_EQ(sequencer.positionMs(), stoppedAt);
    EXPECT_FALSE(synth.received("128 60 0"));
    sequencer.resume();
    renderFor(sequencer, 10000, 500);
    EXPECT_TRUE(synth.received("128 60 0"));
}

TEST(Sequencer, SeekChasesStateButNotNotes) {
    SmfWriter writer(0, 96);
    writer.addTrack()
        .controlChange(0, 3, 0, 8)
        .programChange(0, 3, 40)
        .sysEx(1, kGsReset)
        .controlChange(10, 3, 101, 0)  // RPN 0: pitch bend range 12
        .controlChange(10, 3, 100, 0)
        .controlChange(10, 3, 6, 12)
        .pitchBend(20, 3, 12000)
        .note(30, 200, 3, 70, 90)
        .programChange(300, 3, 41);
    RecordingSynth synth;
    Sequencer sequencer(synth, makeFile(writer));
    sequencer.seek(1000);  // tick 192
    ASSERT_GT(synth.messages.size(), 1u + 16 * 14);
    EXPECT_EQ(synth.messages.front().what, "sounds off");
    EXPECT_EQ(synth.messages[1].what, "176 121 0");  // then every channel back to its power-on state
    std::vector<std::string> chased;
    for (std::size_t i = 1 + 16 * 14; i < synth.messages.size(); ++i) chased.push_back(synth.messages[i].what);
    const std::vector<std::string> expected{"179 0 8",   "195 40 0", "sysex 11", "179 101 0",
                                            "179 100 0", "179 6 12", "227 96 93"};
    EXPECT_EQ(chased, expected);
    EXPECT_EQ(sequencer.positionMs(), 1000);
}

}  // namespace
}  // namespace vorlo::midi
