#pragma once
// Shared by the audio tests: the small soundfont every test loads, temporary song files, levels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "media/audio/MidiEngine.h"
#include "midi/SmfWriter.h"

namespace vorlo::audio::test {

// The small General MIDI soundfont (timgm6mb-soundfont) loads in a blink.
inline const char* const kSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
inline constexpr int kRate = 44100;

inline EngineOptions offlineOptions() {
    EngineOptions options;
    options.synth.soundFontPath = kSoundFont;
    options.offline = true;
    return options;
}

inline std::unique_ptr<MidiEngine> offlineEngine() {
    std::string error;
    auto engine = MidiEngine::create(offlineOptions(), error);
    EXPECT_TRUE(engine) << error;
    return engine;
}

class TempSong {
public:
    explicit TempSong(const midi::SmfWriter& writer) {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("vorlo-audio-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".mid"))
                    .string();
        EXPECT_TRUE(writer.writeTo(path_));
    }
    ~TempSong() { std::filesystem::remove(path_); }
    TempSong(const TempSong&) = delete;
    TempSong& operator=(const TempSong&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Renders `ms` milliseconds and returns the peak level.
inline float renderPeak(MidiEngine& engine, int ms) {
    std::vector<float> left(256), right(256);
    float peak = 0.0f;
    for (int frames = ms * kRate / 1000; frames > 0; frames -= 256) {
        engine.renderOffline(left.data(), right.data(), 256);
        for (std::size_t i = 0; i < 256; ++i) peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
    }
    return peak;
}

}  // namespace vorlo::audio::test
