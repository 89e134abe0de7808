#pragma once
// The synthesizer: FluidSynth playing a soundfont.
#include <array>
#include <memory>
#include <string>

#include "midi/Synth.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace vorlo::audio {

struct SynthSettings {
    std::string soundFontPath;  // empty: $VORLO_SOUNDFONT, then the system's General MIDI soundfont
    int sampleRate = 44100;
    // FluidSynth's own gain of 0.2 leaves General MIDI songs far quieter than other players.
    double gain = 0.5;
    bool reverb = true;
    bool chorus = true;
    int polyphony = 256;
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
    ChannelState channelState(int channel) const;
    // Voices still sounding (releases and reverb tails included).
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

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    int sampleRate_ = 44100;
    std::string soundFontPath_;
};

}  // namespace vorlo::audio
