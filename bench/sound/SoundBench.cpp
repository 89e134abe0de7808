// The sound's benchmark: does the synthesizer's output stay below full scale, and how loud do songs come out?
//
//   vorlo_bench_sound stress FOLDER [SONG...]
//       writes the stress set: dense files (all 16 channels fortissimo with drums, stacked chords, a drum storm) and
//       each SONG again at full volume (every velocity, volume and expression at 127)
//   vorlo_bench_sound measure [--soundfont SF2] [--gain G] FILE...
//       renders each file twice, offline: as the synthesizer sounded before it had a limiter (FluidSynth alone at
//       gain 0.5), and as the player sounds now (the soundfont's own gain, the limiter after it). For each it prints
//       the peak, the share of 50 ms windows that reach full scale, and the integrated loudness (ITU-R BS.1770).
//
// It prints figures and never fails on them.
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "media/audio/SoundFontLookup.h"
#include "media/audio/SoundFontSynth.h"
#include "midi/Sequencer.h"
#include "midi/SmfReader.h"
#include "midi/SmfWriter.h"

namespace {

using vorlo::midi::MidiFile;
using vorlo::midi::SmfWriter;

constexpr int kRate = 44100;

// ---------------------------------------------------------------------------------------------------------------
// The stress set.

void writeDense(const std::string& folder) {
    // All 16 channels at full volume, four-note chords on loud instruments, the drums on channel 10.
    SmfWriter all(1, 480);
    all.addTrack().tempo(0, 500000);
    const int programs[16] = {19, 61, 30, 48, 56, 62, 81, 29, 16, 0, 27, 87, 50, 57, 90, 38};
    for (int channel = 0; channel < 16; ++channel) {
        auto& track = all.addTrack();
        track.controlChange(0, channel, 7, 127)
            .controlChange(0, channel, 11, 127)
            .programChange(0, channel, programs[channel]);
        for (int bar = 0; bar < 6; ++bar) {
            const std::uint64_t tick = static_cast<std::uint64_t>(bar) * 1920;
            if (channel == 9) {
                for (int beat = 0; beat < 8; ++beat)
                    for (int key : {35, 36, 38, 40, 42, 49, 57})
                        track.note(tick + static_cast<std::uint64_t>(beat) * 240, 200, 9, key, 127);
                continue;
            }
            const int root = 36 + (channel * 5 + bar * 7) % 36;
            for (int step : {0, 4, 7, 12}) track.note(tick, 1900, channel, root + step, 127);
        }
    }
    all.writeTo(folder + "/dense-all-16-channels.mid");

    // Stacked chords: one piano channel, five octaves of a full chord at once.
    SmfWriter stacked(0, 480);
    auto& piano = stacked.addTrack();
    piano.tempo(0, 500000).controlChange(0, 0, 7, 127).controlChange(0, 0, 11, 127).programChange(0, 0, 0);
    for (int bar = 0; bar < 8; ++bar) {
        const std::uint64_t tick = static_cast<std::uint64_t>(bar) * 960;
        for (int octave = 0; octave < 5; ++octave)
            for (int step : {0, 4, 7, 10, 14}) piano.note(tick, 900, 0, 28 + (bar % 3) * 2 + octave * 12 + step, 127);
    }
    stacked.writeTo(folder + "/dense-stacked-chords.mid");

    // Every drum of the kit at once, on every eighth note.
    SmfWriter drums(0, 480);
    auto& kit = drums.addTrack();
    kit.tempo(0, 400000).controlChange(0, 9, 7, 127).controlChange(0, 9, 11, 127);
    for (int hit = 0; hit < 48; ++hit)
        for (int key = 35; key <= 81; key += 2) kit.note(static_cast<std::uint64_t>(hit) * 240, 120, 9, key, 127);
    drums.writeTo(folder + "/dense-drum-storm.mid");
}

// The song again with every velocity, volume and expression at the top.
bool writeFullVolume(const std::string& song, const std::string& out) {
    const vorlo::midi::ReadResult result = vorlo::midi::readMidiFile(song);
    const auto* file = std::get_if<MidiFile>(&result);
    if (file == nullptr) return false;
    SmfWriter writer(file->format, file->division.smpte ? 96 : file->division.ticksPerQuarter);
    for (const auto& track : file->tracks) {
        auto& copy = writer.addTrack();
        for (const auto& event : track.events) {
            if (event.isChannel()) {
                std::uint8_t data2 = event.data2;
                if (event.kind() == 0x90 && data2 > 0) data2 = 127;
                if (event.kind() == 0xB0 && (event.data1 == 7 || event.data1 == 11)) data2 = 127;
                if (event.kind() == 0xC0 || event.kind() == 0xD0)
                    copy.raw(event.tick, {event.status, event.data1});
                else
                    copy.raw(event.tick, {event.status, event.data1, data2});
            } else if (event.isMeta()) {
                copy.meta(event.tick, event.data1, file->payloadOf(event));
            } else if (event.status == vorlo::midi::kStatusSysEx) {
                copy.sysEx(event.tick, file->payloadOf(event));
            }
        }
        copy.endAt(track.endTick);
    }
    return writer.writeTo(out);
}

// ---------------------------------------------------------------------------------------------------------------
// Rendering.

// FluidSynth alone, as the player's synthesizer was set up before it had a limiter.
class PlainFluidSynth final : public vorlo::midi::Synth {
public:
    explicit PlainFluidSynth(const std::string& soundFont) {
        settings_ = new_fluid_settings();
        fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
        fluid_settings_setnum(settings_, "synth.gain", 0.5);
        fluid_settings_setint(settings_, "synth.polyphony", 256);
        fluid_settings_setnum(settings_, "synth.reverb.room-size", 0.5);
        fluid_settings_setnum(settings_, "synth.reverb.damp", 0.3);
        fluid_settings_setnum(settings_, "synth.reverb.width", 0.8);
        fluid_settings_setnum(settings_, "synth.reverb.level", 0.6);
        fluid_settings_setnum(settings_, "synth.chorus.level", 1.2);
        fluid_settings_setint(settings_, "synth.device-id", 16);
        synth_ = new_fluid_synth(settings_);
        fluid_synth_sfload(synth_, soundFont.c_str(), 1);
    }
    ~PlainFluidSynth() override {
        delete_fluid_synth(synth_);
        delete_fluid_settings(settings_);
    }
    PlainFluidSynth(const PlainFluidSynth&) = delete;
    PlainFluidSynth& operator=(const PlainFluidSynth&) = delete;

    int sampleRate() const override { return kRate; }
    void channelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        vorlo::audio::sendChannelMessage(synth_, status, data1, data2);
    }
    void systemExclusive(std::span<const std::uint8_t> message) override {
        if (message.size() < 3) return;
        const std::size_t end = message.back() == 0xF7 ? message.size() - 1 : message.size();
        fluid_synth_sysex(synth_, reinterpret_cast<const char*>(message.data() + 1), static_cast<int>(end - 1), nullptr,
                          nullptr, nullptr, 0);
    }
    void allNotesOff() override { fluid_synth_all_notes_off(synth_, -1); }
    void allSoundsOff() override {
        fluid_synth_system_reset(synth_);
        fluid_synth_all_sounds_off(synth_, -1);
    }
    void systemReset() override { allSoundsOff(); }
    void resetChannels() override { allSoundsOff(); }
    void render(float* left, float* right, std::size_t frames) override {
        fluid_synth_write_float(synth_, static_cast<int>(frames), left, 0, 1, right, 0, 1);
    }

private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
};

struct Audio {
    std::vector<float> left;
    std::vector<float> right;
};

// The song from its start to its end, and on until the sound has died away (at most 10 s more).
Audio renderSong(vorlo::midi::Synth& synth, const MidiFile& file) {
    vorlo::midi::Sequencer sequencer(synth, file);
    bool ended = false;
    sequencer.setEndHandler([&] { ended = true; });
    sequencer.play(0);
    Audio audio;
    constexpr std::size_t kBlock = 1024;
    std::vector<float> left(kBlock), right(kBlock);
    std::size_t tail = 0;
    while (tail < 10 * kRate / kBlock) {
        sequencer.render(left.data(), right.data(), kBlock);
        audio.left.insert(audio.left.end(), left.begin(), left.end());
        audio.right.insert(audio.right.end(), right.begin(), right.end());
        if (!ended) continue;
        ++tail;
        float peak = 0.0f;
        for (std::size_t i = 0; i < kBlock; ++i) peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
        if (peak < 1e-4f) break;
    }
    return audio;
}

// ---------------------------------------------------------------------------------------------------------------
// Measures.

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;
    double run(double x) {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two filters of the K weighting, for any sample rate.
std::vector<Biquad> kWeighting(int rate) {
    const double pi = 3.14159265358979323846;
    double k = std::tan(pi * 1681.974450955533 / rate);
    double q = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    Biquad shelf{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    k = std::tan(pi * 38.13547087602444 / rate);
    q = 0.5003270373238773;
    a0 = 1.0 + k / q + k * k;
    Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    return {shelf, highPass};
}

// Integrated loudness in LUFS: 400 ms blocks overlapping by three quarters, gated at -70 LUFS and 10 LU below.
double loudness(const Audio& audio) {
    std::vector<double> power(audio.left.size());
    for (const std::vector<float>* channel : {&audio.left, &audio.right}) {
        std::vector<Biquad> filters = kWeighting(kRate);
        for (std::size_t i = 0; i < channel->size(); ++i) {
            double x = (*channel)[i];
            for (Biquad& filter : filters) x = filter.run(x);
            power[i] += x * x;
        }
    }
    const std::size_t block = kRate * 4 / 10;
    const std::size_t step = block / 4;
    std::vector<double> blocks;
    for (std::size_t at = 0; at + block <= power.size(); at += step) {
        double sum = 0;
        for (std::size_t i = at; i < at + block; ++i) sum += power[i];
        blocks.push_back(sum / static_cast<double>(block));
    }
    const auto lufs = [](double meanSquare) { return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-20)); };
    const auto gatedMean = [&](double gate) {
        double sum = 0;
        int count = 0;
        for (const double b : blocks)
            if (lufs(b) > gate) {
                sum += b;
                ++count;
            }
        return count == 0 ? 0.0 : sum / count;
    };
    const double absolute = gatedMean(-70.0);
    if (absolute <= 0) return -99.0;
    return lufs(gatedMean(lufs(absolute) - 10.0));
}

struct Levels {
    double peakDb = -99;
    double clippedWindows = 0;  // share of 50 ms windows with a sample at full scale
    double lufs = -99;
};

Levels levelsOf(const Audio& audio) {
    Levels levels;
    float peak = 0;
    const std::size_t window = kRate / 20;
    std::size_t windows = 0;
    std::size_t clipped = 0;
    for (std::size_t at = 0; at < audio.left.size(); at += window, ++windows) {
        bool full = false;
        for (std::size_t i = at; i < std::min(at + window, audio.left.size()); ++i) {
            const float p = std::max(std::abs(audio.left[i]), std::abs(audio.right[i]));
            peak = std::max(peak, p);
            full = full || p >= 1.0f;
        }
        clipped += full ? 1 : 0;
    }
    levels.peakDb = 20.0 * std::log10(std::max(peak, 1e-10f));
    levels.clippedWindows = windows == 0 ? 0.0 : static_cast<double>(clipped) / static_cast<double>(windows);
    levels.lufs = loudness(audio);
    return levels;
}

int measure(const std::vector<std::string>& args) {
    vorlo::audio::SynthSettings settings;
    settings.sampleRate = kRate;
    settings.loadSamplesOnDemand = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--soundfont" && i + 1 < args.size())
            settings.soundFontPath = args[++i];
        else if (args[i] == "--gain" && i + 1 < args.size())
            settings.gain = std::stod(args[++i]);
        else
            files.push_back(args[i]);
    }
    std::string error;
    auto synth = vorlo::audio::SoundFontSynth::create(settings, error);
    if (!synth) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    PlainFluidSynth before(synth->soundFontPath());
    std::printf("soundfont %s, gain %.3f (before: 0.5, no limiter)\n", synth->soundFontPath().c_str(), synth->gain());
    std::printf("%-44s %9s %8s %8s | %9s %8s %8s %7s\n", "file", "peak dB", "clipped", "LUFS", "now peak", "clipped",
                "LUFS", "change");
    int clippedBefore = 0;
    int clippedNow = 0;
    double worstPeak = -99;
    double largestDrop = 0;
    double largestDropUnclipped = 0;
    for (const std::string& path : files) {
        const vorlo::midi::ReadResult result = vorlo::midi::readMidiFile(path);
        const auto* file = std::get_if<MidiFile>(&result);
        if (file == nullptr) {
            std::printf("%-44s cannot be read\n", path.c_str());
            continue;
        }
        const Levels old = levelsOf(renderSong(before, *file));
        const Levels now = levelsOf(renderSong(*synth, *file));
        const double change = now.lufs - old.lufs;
        std::printf("%-44s %9.2f %7.1f%% %8.2f | %9.2f %7.1f%% %8.2f %+7.2f\n",
                    std::filesystem::path(path).filename().string().substr(0, 44).c_str(), old.peakDb,
                    old.clippedWindows * 100, old.lufs, now.peakDb, now.clippedWindows * 100, now.lufs, change);
        clippedBefore += old.clippedWindows > 0 ? 1 : 0;
        clippedNow += now.clippedWindows > 0 ? 1 : 0;
        worstPeak = std::max(worstPeak, now.peakDb);
        largestDrop = std::min(largestDrop, change);
        if (old.clippedWindows == 0) largestDropUnclipped = std::min(largestDropUnclipped, change);
    }
    std::printf("files that reach full scale: before %d, now %d of %zu; highest peak now %.2f dBFS\n", clippedBefore,
                clippedNow, files.size(), worstPeak);
    std::printf("largest loss of loudness: %.2f dB (%.2f dB among the files that did not clip before)\n", largestDrop,
                largestDropUnclipped);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "stress") {
        std::filesystem::create_directories(args[1]);
        writeDense(args[1]);
        for (std::size_t i = 2; i < args.size(); ++i) {
            const std::string out = args[1] + "/full-volume-" + std::filesystem::path(args[i]).filename().string();
            if (!writeFullVolume(args[i], out)) std::fprintf(stderr, "%s cannot be read\n", args[i].c_str());
        }
        return 0;
    }
    if (args.size() >= 2 && args[0] == "measure") return measure({args.begin() + 1, args.end()});
    std::fputs(
        "usage: vorlo_bench_sound stress FOLDER [SONG...]\n"
        "       vorlo_bench_sound measure [--soundfont SF2] [--gain G] FILE...\n",
        stderr);
    return 2;
}
