#pragma once
// Owns the one MIDI engine (sequencer, soundfont synth, audio output) of the media device. The
// soundfont is loaded once and kept: the reset file and the song after it, and the MIDI output of
// a reset, all use the same synthesizer, until the settings name another soundfont or output.
#include <future>
#include <memory>
#include <string>

#include "media/MediaSettings.h"
#include "media/audio/MidiEngine.h"

namespace vorlo::media {

class SynthHost {
public:
    explicit SynthHost(MediaSettings settings) : settings_(std::move(settings)) {}
    // Waits for a preload still running.
    ~SynthHost();
    SynthHost(const SynthHost&) = delete;
    SynthHost& operator=(const SynthHost&) = delete;

    // Starts creating the engine (reading the soundfont, opening the audio output) on a thread of its own, so that
    // the first MIDI file opens without waiting for it. Does nothing once started. Thread: the owner's.
    void preload();
    // The engine, created on first use or taken from the preload (waiting for it to finish); null when the
    // synthesizer cannot start, with `error` set. A later call tries again. Thread: the owner's.
    audio::MidiEngine* engine(std::string& error);
    bool isOffline() const { return settings_.audioMode == AudioMode::Offline; }
    // The audio output's notice (no sound device, playing silently), handed out once.
    std::string takeOutputNotice();

    // The soundfont the synthesizer plays (the one it will load, while it is still being made), empty when none
    // can be found; the audio output it opened (empty while it is being made).
    std::string soundFontInUse() const;
    std::string outputInUse() const { return engine_ ? engine_->outputName() : std::string(); }
    // The settings in force.
    const MediaSettings& settings() const { return settings_; }
    // Whether taking the synthesizer's part of `wanted` needs a new engine (another soundfont or audio output);
    // gain and effects change in place.
    bool needsNewEngine(const MediaSettings& wanted) const;
    // Takes the synthesizer's part of `wanted` (soundfont, gain, reverb, chorus, audio output; the audio mode, the
    // CD drive and the door stay) and applies it. Where a new engine is needed the old one is destroyed: the caller
    // lets go of everything that holds it (MIDI songs open on it) first. The new engine is made at the next
    // engine() call, so a soundfont that cannot be read is reported there. Waits for a preload still running, which
    // reads the settings on its own thread. Thread: the owner's.
    void apply(const MediaSettings& wanted);

private:
    struct Created {
        std::unique_ptr<audio::MidiEngine> engine;
        std::string error;
    };
    // Touches nothing but the settings, which apply() changes only after the preload finished: safe on the
    // preload's thread.
    Created create() const;
    // Takes the preload's engine, if one is running; its error is left for the next engine() call.
    void finishPreload();

    MediaSettings settings_;
    std::unique_ptr<audio::MidiEngine> engine_;
    std::future<Created> preloading_;
};

}  // namespace vorlo::media
