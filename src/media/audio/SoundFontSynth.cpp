#include "media/audio/SoundFontSynth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <set>

#include "media/audio/FluidLog.h"
#include "media/audio/SoundFontLookup.h"
#include "media/audio/SoundFontPadding.h"

namespace vorlo::audio {

std::unique_ptr<SoundFontSynth> SoundFontSynth::create(const SynthSettings& settings, std::string& error) {
    quietFluidLog();
    const SoundFontChoice choice = findSoundFont(settings.soundFontPath);
    if (choice.path.empty()) {
        error = choice.error;
        return nullptr;
    }
    std::unique_ptr<SoundFontSynth> synth(new SoundFontSynth());
    synth->sampleRate_ = settings.sampleRate;
    synth->soundFontPath_ = choice.path;
    synth->settings_ = new_fluid_settings();
    fluid_settings_t* s = synth->settings_;
    fluid_settings_setnum(s, "synth.sample-rate", settings.sampleRate);
    fluid_settings_setnum(s, "synth.gain", settings.gain.value_or(defaultGainFor(choice.path)));
    fluid_settings_setint(s, "synth.polyphony", settings.polyphony);
    fluid_settings_setint(s, "synth.reverb.active", settings.reverb ? 1 : 0);
    fluid_settings_setint(s, "synth.chorus.active", settings.chorus ? 1 : 0);
    // A warm room rather than FluidSynth's small one, and a gentler chorus.
    fluid_settings_setnum(s, "synth.reverb.room-size", 0.5);
    fluid_settings_setnum(s, "synth.reverb.damp", 0.3);
    fluid_settings_setnum(s, "synth.reverb.width", 0.8);
    fluid_settings_setnum(s, "synth.reverb.level", 0.6);
    fluid_settings_setnum(s, "synth.chorus.level", 1.2);
    // GS Reset and XG System On carry device number 0x10; FluidSynth only answers them when its
    // device id is 16 (GM System On is sent to all devices and always works).
    fluid_settings_setint(s, "synth.device-id", 16);
    synth->samplesOnDemand_ = settings.loadSamplesOnDemand && samplesArePadded(choice.path);
    fluid_settings_setint(s, "synth.dynamic-sample-loading", synth->samplesOnDemand_ ? 1 : 0);
    synth->limiter_ = std::make_unique<PeakLimiter>(settings.sampleRate);
    synth->synth_ = new_fluid_synth(s);
    if (synth->synth_ == nullptr) {
        error = "The synthesizer could not be started: " + takeFluidError();
        return nullptr;
    }
    synth->soundFontId_ = fluid_synth_sfload(synth->synth_, choice.path.c_str(), 1);
    if (synth->soundFontId_ == FLUID_FAILED) {
        const std::string reason = takeFluidError();
        error = "The soundfont " + choice.path + " cannot be loaded" + (reason.empty() ? "." : ": " + reason);
        return nullptr;
    }
    return synth;
}

bool SoundFontSynth::hasPreset(const PresetRef& preset) const {
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(synth_, soundFontId_);
    return soundFont != nullptr && fluid_sfont_get_preset(soundFont, preset.bank, preset.program) != nullptr;
}

// The fallbacks of FluidSynth's own program change.
PresetRef SoundFontSynth::resolved(const PresetRef& preset) const {
    if (hasPreset(preset)) return preset;
    if (preset.bank == kPercussionBank) return {kPercussionBank, 0};
    const PresetRef sameProgram{0, preset.program};
    return hasPreset(sameProgram) ? sameProgram : PresetRef{0, 0};
}

bool SoundFontSynth::keepLoaded(const std::vector<PresetRef>& presets, const std::function<bool()>& cancelled) {
    std::set<PresetRef> wanted;
    for (const PresetRef& preset : presets) {
        const PresetRef found = resolved(preset);
        if (hasPreset(found)) wanted.insert(found);
    }
    std::vector<PresetRef> before = keptPresets();
    for (const PresetRef& preset : wanted) {
        if (cancelled && cancelled()) return false;
        if (std::binary_search(before.begin(), before.end(), preset)) continue;
        // A preset whose samples cannot be read plays silent samples, as FluidSynth does on a program change.
        fluid_synth_pin_preset(synth_, soundFontId_, preset.bank, preset.program);
        std::lock_guard lock(keptMutex_);
        kept_.insert(std::upper_bound(kept_.begin(), kept_.end(), preset), preset);
    }
    for (const PresetRef& preset : before) {
        if (wanted.contains(preset)) continue;
        fluid_synth_unpin_preset(synth_, soundFontId_, preset.bank, preset.program);
        std::lock_guard lock(keptMutex_);
        kept_.erase(std::lower_bound(kept_.begin(), kept_.end(), preset));
    }
    return true;
}

std::vector<PresetRef> SoundFontSynth::keptPresets() const {
    std::lock_guard lock(keptMutex_);
    return kept_;
}

SoundFontSynth::~SoundFontSynth() {
    if (synth_ != nullptr) delete_fluid_synth(synth_);
    if (settings_ != nullptr) delete_fluid_settings(settings_);
}

ChannelState SoundFontSynth::channelState(int channel) const {
    ChannelState state;
    int soundFont = 0;
    fluid_synth_get_program(synth_, channel, &soundFont, &state.bank, &state.program);
    fluid_synth_get_pitch_bend(synth_, channel, &state.pitchBend);
    for (int controller = 0; controller < 128; ++controller)
        fluid_synth_get_cc(synth_, channel, controller, &state.controllers[static_cast<std::size_t>(controller)]);
    return state;
}

int SoundFontSynth::activeVoices() const { return fluid_synth_get_active_voice_count(synth_); }

double SoundFontSynth::gain() const { return fluid_synth_get_gain(synth_); }

void SoundFontSynth::setGain(double gain) {
    fluid_synth_set_gain(synth_, static_cast<float>(std::clamp(gain, 0.0, 10.0)));
}

void SoundFontSynth::setEffects(bool reverb, bool chorus) {
    // -1: every effects group. The echo already in the effects dies away on its own.
    fluid_synth_reverb_on(synth_, -1, reverb ? 1 : 0);
    fluid_synth_chorus_on(synth_, -1, chorus ? 1 : 0);
}

void sendChannelMessage(fluid_synth_t* synth, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, data1); break;
        case 0x90:
            // Velocity 0 is a note-off; FluidSynth knows that too, but says so with a warning.
            if (data2 == 0)
                fluid_synth_noteoff(synth, channel, data1);
            else
                fluid_synth_noteon(synth, channel, data1, data2);
            break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, data1, data2); break;
        case 0xB0: fluid_synth_cc(synth, channel, data1, data2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7)); break;
        default: break;
    }
}

void SoundFontSynth::channelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    channelsAtPowerOn_ = false;
    sendChannelMessage(synth_, status, data1, data2);
}

void SoundFontSynth::systemExclusive(std::span<const std::uint8_t> message) {
    channelsAtPowerOn_ = false;
    // FluidSynth takes the bytes between F0 and F7.
    if (message.size() < 2 || message.front() != 0xF0) return;
    const std::size_t end = message.back() == 0xF7 ? message.size() - 1 : message.size();
    if (end <= 1) return;
    fluid_synth_sysex(synth_, reinterpret_cast<const char*>(message.data() + 1), static_cast<int>(end - 1), nullptr,
                      nullptr, nullptr, 0);
}

void SoundFontSynth::allNotesOff() { fluid_synth_all_notes_off(synth_, -1); }

// FluidSynth's all-sounds-off leaves the reverb and chorus ringing, and only its system reset empties them. The
// reset must come first: FluidSynth's reset turns voices that an all-sounds-off has just stopped, and that have not
// rendered since, into voices in their release.
void SoundFontSynth::allSoundsOff() {
    fluid_synth_system_reset(synth_);
    fluid_synth_all_sounds_off(synth_, -1);
    limiter_->cut();
    channelsAtPowerOn_ = true;
}

// A system reset silences a MIDI device, effects included.
void SoundFontSynth::systemReset() { allSoundsOff(); }

// FluidSynth's system reset returns every channel to its power-on state and keeps the GM/GS/XG
// bank-select mode that a reset message chose. Right after a cut (a seek: the sounds are cut, then the channels
// reset and the song's state chased) the channels are at power-on already, and a second reset would turn the voices
// just cut back into voices in their release (see above), so it is left out.
void SoundFontSynth::resetChannels() {
    if (channelsAtPowerOn_) return;
    fluid_synth_system_reset(synth_);
    fluid_synth_all_sounds_off(synth_, -1);
    channelsAtPowerOn_ = true;
}

void SoundFontSynth::render(float* left, float* right, std::size_t frames) {
    fluid_synth_write_float(synth_, static_cast<int>(frames), left, 0, 1, right, 0, 1);
    limiter_->process(left, right, frames);
}

}  // namespace vorlo::audio
