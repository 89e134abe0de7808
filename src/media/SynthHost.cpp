#include "media/SynthHost.h"

#include "media/audio/AlsaSequencerPort.h"
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
    // An external synthesizer needs no soundfont: the built-in one is made only when it is wanted.
    if (engine_ || preloading_.valid() || usesPort()) return;
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

audio::PortSequencer* SynthHost::portSequencer(std::string& error) {
    if (portSequencer_) {
        // A port that went away may be back (a synthesizer started again, a device plugged in): connect anew.
        std::string why;
        if (!portSequencer_->portGone(why)) return portSequencer_.get();
        portSequencer_.reset();
    }
    const MidiPortOpener& opener = settings_.midiPortOpener;
    std::unique_ptr<audio::MidiPort> port =
        opener ? opener(settings_.midiPort, error) : audio::openAlsaSequencerPort(settings_.midiPort, error);
    if (!port) return nullptr;
    audio::PortSequencer::Timing timing;
    // Offline, nothing runs by itself: the offline pull moves the play on.
    timing.worker = !isOffline();
    portSequencer_ = std::make_unique<audio::PortSequencer>(std::move(port), timing);
    return portSequencer_.get();
}

bool SynthHost::ready(std::string& error) {
    return usesPort() ? portSequencer(error) != nullptr : engine(error) != nullptr;
}

std::string SynthHost::takeOutputNotice() { return engine_ ? engine_->takeOutputNotice() : std::string(); }

std::string SynthHost::soundFontInUse() const {
    return engine_ ? engine_->soundFontPath() : audio::findSoundFont(settings_.soundFontPath).path;
}

bool SynthHost::engineChanges(const MediaSettings& wanted) const {
    // The audio output is chosen only where a driver is opened at all.
    const bool outputMatters = settings_.audioMode == AudioMode::Device;
    return wanted.soundFontPath != settings_.soundFontPath ||
           (outputMatters &&
            (wanted.audioDriverOrder != settings_.audioDriverOrder || wanted.audioDevice != settings_.audioDevice));
}

bool SynthHost::needsNewEngine(const MediaSettings& wanted) const {
    return engineChanges(wanted) || wanted.midiPort != settings_.midiPort;
}

void SynthHost::apply(const MediaSettings& wanted) {
    finishPreload();
    const bool renew = engineChanges(wanted);
    if (wanted.midiPort != settings_.midiPort) portSequencer_.reset();
    settings_.midiPort = wanted.midiPort;
    if (wanted.midiPortOpener) settings_.midiPortOpener = wanted.midiPortOpener;
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
