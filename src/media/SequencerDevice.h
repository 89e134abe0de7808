#pragma once
// MIDI files (.mid, .rmi, .kar) played by the shared MIDI engine, or by an external synthesizer on a MIDI port when
// the settings name one.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "media/MediaBackend.h"
#include "media/SynthHost.h"

namespace vorlo::media {

class SequencerDevice final : public MediaBackend {
public:
    // Throws EMCIDeviceError when the synthesizer cannot start or the file cannot be read, EMCIOutputError when the
    // MIDI port cannot be opened.
    SequencerDevice(SynthHost& host, const std::string& path, PlayEndHandler onEnd);
    ~SequencerDevice() override;

    std::int64_t lengthMs() const override { return port_ ? port_->lengthMs() : engine_->lengthMs(); }
    std::int64_t positionMs() const override { return port_ ? port_->positionMs() : engine_->positionMs(); }
    bool isPlaying() const override { return port_ ? port_->isPlaying() : engine_->isPlaying(); }
    std::uint64_t play(std::int64_t fromMs, std::int64_t toMs) override;
    void stop() override;
    void seek(std::int64_t ms) override;
    bool waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) override;
    bool renderOffline(float* left, float* right, std::size_t frames) override;
    std::string failureMessage() const override { return port_ ? port_->failure() : std::string(); }

private:
    // Shared with the engine's end callback, which may outlive this device on the audio thread.
    struct EndState {
        std::mutex mutex;
        std::condition_variable ended;
        std::uint64_t lastEnded = 0;
        PlayEndHandler onEnd;
    };

    SynthHost& host_;
    // One of the two plays the song.
    audio::MidiEngine* engine_ = nullptr;
    audio::PortSequencer* port_ = nullptr;
    std::shared_ptr<EndState> endState_;
};

}  // namespace vorlo::media
