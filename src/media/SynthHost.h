#pragma once
// Owns the one MIDI engine (sequencer, soundfont synth, audio output) of the media device. The
// soundfont is loaded once and kept: the reset file and the song after it, and the MIDI output of
// a reset, all use the same synthesizer.
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

private:
    struct Created {
        std::unique_ptr<audio::MidiEngine> engine;
        std::string error;
    };
    // Touches nothing but the settings, which never change: safe on the preload's thread.
    Created create() const;

    const MediaSettings settings_;
    std::unique_ptr<audio::MidiEngine> engine_;
    std::future<Created> preloading_;
};

}  // namespace vorlo::media
