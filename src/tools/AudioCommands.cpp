// `vorlo render`: through the soundfont synthesizer, offline.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Commands.h"
#include "SoundCommands.h"
#include "Usage.h"
#include "WavWriter.h"
#include "media/audio/MidiEngine.h"

namespace vorlo::tools {
namespace {

struct AudioArguments {
    audio::EngineOptions engine;
    std::vector<std::string> files;
    std::string error;  // a usage error
};

AudioArguments parseAudioArguments(const std::vector<std::string>& args) {
    AudioArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        try {
            if (arg == "--soundfont" && hasValue)
                parsed.engine.synth.soundFontPath = args[++i];
            else if (arg == "--rate" && hasValue)
                parsed.engine.output.sampleRate = std::stoi(args[++i]);
            else if (arg == "--gain" && hasValue) {
                parsed.engine.synth.gain = parseGain(args[++i]);
                if (!parsed.engine.synth.gain) parsed.error = kBadGain;
            } else if (arg == "--no-reverb")
                parsed.engine.synth.reverb = false;
            else if (arg == "--no-chorus")
                parsed.engine.synth.chorus = false;
            else if (arg.rfind("--", 0) == 0)
                parsed.error = "unknown option " + arg;
            else
                parsed.files.push_back(arg);
        } catch (const std::exception&) {
            parsed.error = "bad value for " + arg;
        }
    }
    const int rate = parsed.engine.output.sampleRate;
    if (parsed.error.empty() && (rate < 8000 || rate > 192000)) parsed.error = "the rate must be 8000 to 192000";
    return parsed;
}

// Below this level (-80 dB) the sound has died away.
constexpr float kSilence = 1e-4f;
// A soundfont whose sounds never end (a broken release) must not make an endless file.
constexpr int kLongestTailSeconds = 60;

float peakOf(const std::vector<float>& left, const std::vector<float>& right) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < left.size(); ++i) peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
    return peak;
}

}  // namespace

std::optional<double> parseGain(const std::string& text) {
    try {
        std::size_t used = 0;
        const double gain = std::stod(text, &used);
        if (used == text.size() && gain >= 0.0 && gain <= 10.0) return gain;
    } catch (const std::exception&) {}
    return std::nullopt;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!item.empty()) items.push_back(item);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return items;
}

int runRender(const std::vector<std::string>& args) {
    AudioArguments parsed = parseAudioArguments(args);
    if (!parsed.error.empty() || parsed.files.size() != 2) {
        std::fprintf(stderr, "vorlo: %s\n%s",
                     parsed.error.empty() ? "render takes one MIDI file and one WAV file" : parsed.error.c_str(),
                     kRenderUsage);
        return kExitUsage;
    }
    const std::string& input = parsed.files[0];
    const std::string& output = parsed.files[1];
    parsed.engine.offline = true;
    std::string error;
    auto engine = audio::MidiEngine::create(parsed.engine, error);
    if (!engine) {
        std::fprintf(stderr, "vorlo: %s\n", error.c_str());
        return kExitNoAudio;
    }
    if (!engine->open(input, error)) {
        std::fprintf(stderr, "vorlo: %s: %s\n", input.c_str(), error.c_str());
        return kExitFileFailed;
    }
    const int rate = parsed.engine.output.sampleRate;
    WavWriter wav(output, rate);
    if (!wav.isOpen()) {
        std::fprintf(stderr, "vorlo: %s: cannot be written\n", output.c_str());
        return kExitFileFailed;
    }
    bool ended = false;
    engine->setEndCallback([&](std::uint64_t) { ended = true; });
    engine->play(0);
    constexpr std::size_t kBlock = 1024;
    std::vector<float> left(kBlock), right(kBlock);
    std::uint64_t frames = 0;
    while (!ended) {
        engine->renderOffline(left.data(), right.data(), kBlock);
        wav.write(left.data(), right.data(), kBlock);
        frames += kBlock;
    }
    // At the musical end the notes are released; their release and the reverb's echo go on until they have died
    // away, however long that takes.
    const std::uint64_t tailLimit = frames + static_cast<std::uint64_t>(rate) * kLongestTailSeconds;
    for (;;) {
        engine->renderOffline(left.data(), right.data(), kBlock);
        wav.write(left.data(), right.data(), kBlock);
        frames += kBlock;
        if (engine->activeVoices() == 0 && peakOf(left, right) < kSilence) break;
        if (frames >= tailLimit) {
            std::fprintf(stderr, "vorlo: %s: the sound had not died away %d s after the end; the file ends there\n",
                         input.c_str(), kLongestTailSeconds);
            break;
        }
    }
    if (!wav.finish()) {
        std::fprintf(stderr, "vorlo: %s: writing failed\n", output.c_str());
        return kExitFileFailed;
    }
    std::printf("rendered\t%lld\t%s\n", static_cast<long long>(frames * 1000 / static_cast<std::uint64_t>(rate)),
                output.c_str());
    return kExitOk;
}

}  // namespace vorlo::tools
