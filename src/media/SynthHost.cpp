#include "media/SynthHost.h"

namespace vorlo::media {

SynthHost::~SynthHost() {
    if (preloading_.valid()) preloading_.wait();
}

SynthHost::Created SynthHost::create() const {
    audio::EngineOptions options;
    options.synth.soundFontPath = settings_.soundFontPath;
    options.synth.gain = settings_.synthGain;
    if (!settings_.audioDriverOrder.empty()) options.output.driverOrder = settings_.audioDriverOrder;
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

}  // namespace vorlo::media
