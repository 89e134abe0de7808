#pragma once
// The synthesizer: FluidSynth playing a soundfont, its output kept below full scale by a limiter.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/audio/PeakLimiter.h"
#include "media/audio/SongPresets.h"
#include "midi/Synth.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace vorlo::audio {

// Plays one channel message (note off/on, key and channel pressure, controller, program, pitch bend) on `synth`;
// velocity 0 is a note off. System messages are left out.
void sendChannelMessage(fluid_synth_t* synth, std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

struct SynthSettings {
    std::string soundFontPath;  // empty: $VORLO_SOUNDFONT, then the system's General MIDI soundfont
    int sampleRate = 44100;
    // The synthesizer's gain; empty: the level that suits the soundfont in use (defaultGainFor()). The limiter after
    // it keeps any gain from clipping.
    std::optional<double> gain;
    bool reverb = true;
    bool chorus = true;
    int polyphony = 256;
    // Sample data is read from the soundfont when an instrument needs it (keepLoaded(), or a program change), not
    // all at once: the system's soundfont is 148 MB, most of which a song never plays. Only for soundfonts whose
    // samples allow it (see SoundFontPadding.h); the others load whole.
    bool loadSamplesOnDemand = true;
};

// What a channel holds, for the player's tests and diagnostics.
struct ChannelState {
    int bank = 0;
    int program = 0;
    int pitchBend = 8192;
    std::array<int, 128> controllers{};
};

class SoundFontSynth final : public midi::Synth {
public:
    // Nothing when the soundfont is missing or cannot be loaded; `error` says why.
    static std::unique_ptr<SoundFontSynth> create(const SynthSettings& settings, std::string& error);
    ~SoundFontSynth() override;
    SoundFontSynth(const SoundFontSynth&) = delete;
    SoundFontSynth& operator=(const SoundFontSynth&) = delete;

    const std::string& soundFontPath() const { return soundFontPath_; }
    // True when the samples are read as instruments need them, false when the soundfont was loaded whole.
    bool loadsSamplesOnDemand() const { return samplesOnDemand_; }
    // The gain in use; a new one takes effect with the next block rendered (clamped to FluidSynth's 0 to 10).
    double gain() const;
    void setGain(double gain);
    // Turns the reverb and the chorus on or off; takes effect with the next block rendered.
    void setEffects(bool reverb, bool chorus);

    // Reads the samples of `presets` (as a program change resolves them: a preset the soundfont lacks falls back to
    // the same program of bank 0, then to the piano; a missing kit to the standard kit) and keeps them in memory;
    // the presets kept by the call before, and not named now, may be unloaded once no channel or voice uses them.
    // Stops early, keeping what it loaded, and returns false when `cancelled` says so between two presets.
    // Thread: any, one call at a time; safe while another thread renders or sends messages (FluidSynth's own lock
    // serialises them, so a message waits for at most one preset's samples).
    bool keepLoaded(const std::vector<PresetRef>& presets, const std::function<bool()>& cancelled = {});
    // The presets kept loaded, as resolved in the soundfont (for tests and diagnostics).
    std::vector<PresetRef> keptPresets() const;
    ChannelState channelState(int channel) const;
    // Voices still sounding (their releases included; the effects' echo is not a voice).
    int activeVoices() const;

    int sampleRate() const override { return sampleRate_; }
    void channelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void systemExclusive(std::span<const std::uint8_t> message) override;
    void allNotesOff() override;
    void allSoundsOff() override;
    void systemReset() override;
    void resetChannels() override;
    void render(float* left, float* right, std::size_t frames) override;

private:
    SoundFontSynth() = default;
    bool hasPreset(const PresetRef& preset) const;
    PresetRef resolved(const PresetRef& preset) const;

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int soundFontId_ = -1;
    bool samplesOnDemand_ = false;
    mutable std::mutex keptMutex_;
    std::vector<PresetRef> kept_;  // sorted
    int sampleRate_ = 44100;
    std::string soundFontPath_;
    std::unique_ptr<PeakLimiter> limiter_;
    // No message has changed a channel since the last reset (false at first: a soundfont's defaults are no reset).
    bool channelsAtPowerOn_ = false;
};

}  // namespace vorlo::audio
