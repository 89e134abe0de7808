#include "media/SynthHost.h"

namespace vorlo::media {

audio::MidiEngine* SynthHost::engine(std::string& error) {
    if (engine_) return engine_.get();
    audio::EngineOptions options;
    options.synth.soundFontPath = settings_.soundFontPath;
    if (!settings_.audioDriverOrder.empty()) options.output.driverOrder = settings_.audioDriverOrder;
    if (settings_.audioMode == AudioMode::SilentClock) options.output.driverOrder.clear();
    options.offline = settings_.audioMode == AudioMode::Offline;
    std::string why;
    engine_ = audio::MidiEngine::create(options, why);
    if (!engine_) {
        error = "The MIDI synthesizer cannot start: " + why;
        return nullptr;
    }
    return engine_.get();
}

std::string SynthHost::takeOutputNotice() { return engine_ ? engine_->takeOutputNotice() : std::string(); }

}  // namespace vorlo::media
