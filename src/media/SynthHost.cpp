#include "media/SynthHost.h"

#include "media/audio/SoundFontLookup.h"

namespace vorlo::media {

SynthHost::~SynthHost() {
    if (preloading_.valid()) preloading_.wait();
}

SynthHost::Created SynthHost::create() const {
    audio::EngineOptions options;
    options.synth.soundFontPath = settings_.soundFontPath;
    options.synth.gain = settings_.synthGain;
    options.synth.reverb = settings_.reverb;
    options.synth.chorus = settings_.chorus;
    if (!settings_.audioDriverOrder.empty()) options.output.driverOrder = settings_.audioDriverOrder;
    options.output.device = settings_.audioDevice;
    if (settings_.audioMode == AudioMode::SilentClock) options.output.driverOrder.clear();
    options.offline = settings_.audioMode == AudioMode::Offline;
    Created created;
    std::string why;
    created.engine = audio::MidiEngine::create(options, why);
    if (!created.engine) created.error = "The MIDI synthesizer cannot start: " + why;
    return created;
}

void SynthHost::preload() {
    if (engine_ || preloading_.valid()) return;
    preloading_ = std::async(std::launch::async, [this] { return create(); });
}

void SynthHost::finishPreload() {
    if (!preloading_.valid()) return;
    Created created = preloading_.get();
    engine_ = std::move(created.engine);
}

audio::MidiEngine* SynthHost::engine(std::string& error) {
    if (engine_) return engine_.get();
    Created created = preloading_.valid() ? preloading_.get() : create();
    if (!created.engine) {
        error = created.error;
        return nullptr;
    }
    engine_ = std::move(created.engine);
    return engine_.get();
}

std::string SynthHost::takeOutputNotice() { return engine_ ? engine_->takeOutputNotice() : std::string(); }

std::string SynthHost::soundFontInUse() const {
    return engine_ ? engine_->soundFontPath() : audio::findSoundFont(settings_.soundFontPath).path;
}

bool SynthHost::needsNewEngine(const MediaSettings& wanted) const {
    // The audio output is chosen only where a driver is opened at all.
    const bool outputMatters = settings_.audioMode == AudioMode::Device;
    return wanted.soundFontPath != settings_.soundFontPath ||
           (outputMatters &&
            (wanted.audioDriverOrder != settings_.audioDriverOrder || wanted.audioDevice != settings_.audioDevice));
}

void SynthHost::apply(const MediaSettings& wanted) {
    finishPreload();
    const bool renew = needsNewEngine(wanted);
    settings_.soundFontPath = wanted.soundFontPath;
    settings_.synthGain = wanted.synthGain;
    settings_.reverb = wanted.reverb;
    settings_.chorus = wanted.chorus;
    settings_.audioDriverOrder = wanted.audioDriverOrder;
    settings_.audioDevice = wanted.audioDevice;
    if (renew) {
        engine_.reset();
        return;
    }
    if (!engine_) return;
    engine_->setGain(settings_.synthGain.value_or(audio::defaultGainFor(engine_->soundFontPath())));
    engine_->setEffects(settings_.reverb, settings_.chorus);
}

}  // namespace vorlo::media
