#pragma once
// Owns the one MIDI engine (sequencer, soundfont synth, audio output) of the media device. The
// soundfont is loaded once and kept: the reset file and the song after it, and the MIDI output of
// a reset, all use the same synthesizer, until the settings name another soundfont or output.
// When the settings name a MIDI port, songs and the reset's messages go to that external synthesizer instead, through
// one connection to it (`portSequencer`), kept while the port is there.
#include <future>
#include <memory>
#include <string>

#include "media/MediaSettings.h"
#include "media/audio/MidiEngine.h"
#include "media/audio/PortSequencer.h"

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
    // Whether MIDI goes to an external synthesizer on a MIDI port.
    bool usesPort() const { return !settings_.midiPort.empty(); }
    // The connection to the MIDI port of the settings, made on first use and made anew when the port went away
    // since; null, with `error` set, when the port cannot be opened (it does not exist, no sequencer). Thread: the
    // owner's.
    audio::PortSequencer* portSequencer(std::string& error);
    // What MIDI plays on, made ready: the MIDI port's connection or the engine. False, with `error` set, when it
    // cannot be. Thread: the owner's.
    bool ready(std::string& error);
    // The audio output's notice (no sound device, playing silently), handed out once.
    std::string takeOutputNotice();

    // The soundfont the synthesizer plays (the one it will load, while it is still being made), empty when none
    // can be found; the audio output it opened (empty while it is being made).
    std::string soundFontInUse() const;
    std::string outputInUse() const { return engine_ ? engine_->outputName() : std::string(); }
    // The settings in force.
    const MediaSettings& settings() const { return settings_; }
    // Whether taking the synthesizer's part of `wanted` needs a new engine (another soundfont or audio output) or
    // another MIDI port; gain and effects change in place.
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
    // Whether `wanted` names another soundfont or audio output than the engine's.
    bool engineChanges(const MediaSettings& wanted) const;
    // Takes the preload's engine, if one is running; its error is left for the next engine() call.
    void finishPreload();

    MediaSettings settings_;
    std::unique_ptr<audio::MidiEngine> engine_;
    std::future<Created> preloading_;
    std::unique_ptr<audio::PortSequencer> portSequencer_;
};

}  // namespace vorlo::media
