#pragma once
// Owns the one MIDI engine (sequencer, soundfont synth, audio output) of the media device. The
// soundfont is loaded once and kept: the reset file and the song after it, and the MIDI output of
// a reset, all use the same synthesizer.
#include <memory>
#include <string>

#include "media/MediaSettings.h"
#include "media/audio/MidiEngine.h"

namespace vorlo::media {

class SynthHost {
public:
    explicit SynthHost(MediaSettings settings) : settings_(std::move(settings)) {}

    // The engine, created on first use; null when the synthesizer cannot start, with `error` set.
    audio::MidiEngine* engine(std::string& error);
    bool isOffline() const { return settings_.audioMode == AudioMode::Offline; }
    // The audio output's notice (no sound device, playing silently), handed out once.
    std::string takeOutputNotice();

private:
    MediaSettings settings_;
    std::unique_ptr<audio::MidiEngine> engine_;
    std::string createError_;
};

}  // namespace vorlo::media
