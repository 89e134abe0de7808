#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "AudioTestSupport.h"
#include "media/audio/AudioOutput.h"

namespace vorlo::audio {
namespace {

// There is no sound card here; a driver list that names none that can open gives the silent
// clock, which must keep pulling audio so that songs still end.
TEST(AudioOutput, WithoutADriverTheSilentClockKeepsPullingAndSaysSoOnce) {
    std::atomic<std::size_t> pulled{0};
    AudioOutputOptions options;
    options.driverOrder = {"no-such-driver"};
    OpenedOutput opened = openAudioOutput([&](float*, float*, std::size_t frames) { pulled += frames; }, options);
    ASSERT_TRUE(opened.output);
    EXPECT_TRUE(opened.output->isSilent());
    EXPECT_EQ(opened.output->name(), "silent clock");
    EXPECT_EQ(opened.notice, "No audio output could be opened (tried no-such-driver). Songs play on silently.");
    for (int i = 0; i < 500 && pulled < 4096; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(pulled.load(), 4096u);
    opened.output.reset();
    const std::size_t afterClose = pulled;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(pulled.load(), afterClose);
}

TEST(AudioOutput, AnEmptyDriverListAsksForTheSilentClockAndGetsNoNotice) {
    AudioOutputOptions options;
    options.driverOrder.clear();
    OpenedOutput opened = openAudioOutput([](float*, float*, std::size_t) {}, options);
    ASSERT_TRUE(opened.output);
    EXPECT_TRUE(opened.output->isSilent());
    EXPECT_TRUE(opened.notice.empty());
}

TEST(AudioOutput, AnEngineOnTheSilentClockReportsTheEndOfASong) {
    EngineOptions options = test::offlineOptions();
    options.offline = false;
    options.output.driverOrder = {"no-such-driver"};
    std::string error;
    auto engine = MidiEngine::create(options, error);
    ASSERT_TRUE(engine) << error;
    EXPECT_FALSE(engine->takeOutputNotice().empty());
    EXPECT_TRUE(engine->takeOutputNotice().empty());  // told once
    midi::SmfWriter writer(0, 96);
    writer.addTrack().tempo(0, 250000).note(0, 48, 0, 60, 100);  // 125 ms
    test::TempSong song(writer);
    ASSERT_TRUE(engine->open(song.path(), error)) << error;
    std::atomic<std::uint64_t> ended{0};
    engine->setEndCallback([&](std::uint64_t id) { ended = id; });
    const std::uint64_t id = engine->play(0);
    for (int i = 0; i < 500 && ended != id; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ended.load(), id);
    EXPECT_EQ(engine->positionMs(), 125);
}

}  // namespace
}  // namespace vorlo::audio
