#pragma once
// Plays MIDI files: the sequencer, the soundfont synthesizer and an audio output together, safe
// to drive from one thread while the output's thread pulls audio.
//
// The soundfont's samples are read as songs need them: opening a song hands the presets it uses to the engine's
// preparation thread, and the song makes no sound until they are in memory. A real-time output hears silence
// meanwhile, with the position held at the start; an offline pull waits for them. So neither the caller nor the
// audio thread ever waits for the disk, and no note of the song is lost or cut short.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "media/audio/AudioOutput.h"
#include "media/audio/SoundFontSynth.h"
#include "midi/Sequencer.h"

namespace vorlo::audio {

struct EngineOptions {
    SynthSettings synth;
    AudioOutputOptions output;
    // No device: audio is pulled with renderOffline() only.
    bool offline = false;
};

class MidiEngine {
public:
    // Nothing when the synthesizer cannot start (no soundfont, for example); `error` says why.
    static std::unique_ptr<MidiEngine> create(const EngineOptions& options, std::string& error);
    ~MidiEngine();
    MidiEngine(const MidiEngine&) = delete;
    MidiEngine& operator=(const MidiEngine&) = delete;

    // Reads a MIDI file and makes it the current song, stopped at its start; its instruments load on the
    // preparation thread (see above). On failure the previous song is closed and `error` holds the reason.
    bool open(const std::string& path, std::string& error);
    // True once the open song's instruments are in memory (or no song is open).
    bool isPrepared() const;
    void close();
    bool isOpen() const;

    std::int64_t lengthMs() const;
    std::int64_t positionMs() const;
    bool isPlaying() const;

    // Plays from `fromMs` to `toMs` (negative: to the end). Returns the play's id, which the end
    // report carries, so a report of an earlier play can be told apart.
    std::uint64_t play(std::int64_t fromMs, std::int64_t toMs = -1);
    // Plays on from where a stop left off.
    std::uint64_t resume();
    void stop();
    void seek(std::int64_t ms);

    // Called on the audio thread, with no lock held, when a play reaches its end position.
    void setEndCallback(std::function<void(std::uint64_t playId)> callback);

    // The synthesizer's gain (0 to 10), changed while it plays; the limiter after it keeps any gain from clipping.
    double gain() const;
    void setGain(double gain);

    // A short message as a MIDI output takes it (for example 0x78B0: all sound off on channel 1;
    // 0xFF: system reset), and a complete SysEx, straight to the synthesizer.
    void sendShortMessage(std::uint32_t message);
    void sendSysEx(std::span<const std::uint8_t> message);

    // Only for an offline engine: renders the next `frames` frames.
    void renderOffline(float* left, float* right, std::size_t frames);

    std::string outputName() const;
    // The output's notice (no device, playing silently), handed out once.
    std::string takeOutputNotice();
    // The synthesizer's state, for tests and diagnostics; call while nothing renders.
    ChannelState channelState(int channel) const;
    int activeVoices() const;
    // The presets whose samples are kept in memory, and whether samples are read as needed at all (else the
    // soundfont was loaded whole).
    std::vector<PresetRef> keptPresets() const;
    bool loadsSamplesOnDemand() const { return synth_->loadsSamplesOnDemand(); }

private:
    MidiEngine() = default;
    void pull(float* left, float* right, std::size_t frames);
    void renderLocked(float* left, float* right, std::size_t frames);
    void prepareSongs();

    mutable std::mutex mutex_;
    // The preparation thread's work: the presets of song number songSerial_, taken when jobSerial_ changes.
    std::thread preparer_;
    std::condition_variable jobArrived_;
    std::condition_variable prepared_;  // preparedSerial_ moved on
    std::vector<PresetRef> job_;
    std::atomic<std::uint64_t> jobSerial_ = 0;
    std::atomic<bool> quit_ = false;
    std::uint64_t songSerial_ = 0;      // counts the songs opened
    std::uint64_t preparedSerial_ = 0;  // the last song whose instruments are in memory
    std::unique_ptr<SoundFontSynth> synth_;
    std::unique_ptr<midi::Sequencer> sequencer_;
    std::uint64_t playId_ = 0;
    std::uint64_t endedPlayId_ = 0;  // set by the sequencer's end handler inside a render
    std::function<void(std::uint64_t)> endCallback_;
    std::unique_ptr<AudioOutput> output_;
    OfflineSink* offline_ = nullptr;
    std::string notice_;
};

}  // namespace vorlo::audio
