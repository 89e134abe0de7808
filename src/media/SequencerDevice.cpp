#include "media/SequencerDevice.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "media/EMCIDeviceError.h"

namespace vorlo::media {

SequencerDevice::SequencerDevice(SynthHost& host, const std::string& path, PlayEndHandler onEnd)
    : host_(host), endState_(std::make_shared<EndState>()) {
    std::string error;
    if (host.usesPort()) {
        port_ = host.portSequencer(error);
        if (port_ == nullptr) throw EMCIOutputError(error);
    } else {
        // A synthesizer that cannot start (its soundfont unreadable) fails every song alike: no song is to blame.
        engine_ = host.engine(error);
        if (engine_ == nullptr) throw EMCIOutputError(error);
    }
    if (!(port_ ? port_->open(path, error) : engine_->open(path, error)))
        throw EMCIDeviceError("Cannot open \"" + path + "\" as a MIDI file: " + error);
    endState_->onEnd = std::move(onEnd);
    auto ended = [state = endState_](std::uint64_t playId, bool failed) {
        PlayEndHandler handler;
        {
            std::lock_guard lock(state->mutex);
            state->lastEnded = playId;
            handler = state->onEnd;
        }
        state->ended.notify_all();
        if (handler) handler(playId, failed);
    };
    if (port_)
        port_->setEndCallback(ended);
    else
        engine_->setEndCallback([ended](std::uint64_t playId) { ended(playId, false); });
}

SequencerDevice::~SequencerDevice() {
    {
        // An end callback already running on the audio thread finds no handler to call any more.
        std::lock_guard lock(endState_->mutex);
        endState_->onEnd = nullptr;
    }
    if (port_) {
        port_->setEndCallback(nullptr);
        port_->close();
        return;
    }
    engine_->setEndCallback(nullptr);
    engine_->close();
}

std::uint64_t SequencerDevice::play(std::int64_t fromMs, std::int64_t toMs) {
    return port_ ? port_->play(fromMs, toMs) : engine_->play(fromMs, toMs);
}

void SequencerDevice::stop() {
    if (port_)
        port_->stop();
    else
        engine_->stop();
    endState_->ended.notify_all();
}

void SequencerDevice::seek(std::int64_t ms) {
    if (port_) {
        port_->seek(ms);
    } else {
        engine_->stop();
        engine_->seek(ms);
    }
    endState_->ended.notify_all();
}

bool SequencerDevice::waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) {
    const auto over = [&] { return endState_->lastEnded >= token || !isPlaying(); };
    if (host_.isOffline()) {
        std::vector<float> left(512), right(512);
        while (!over()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            renderOffline(left.data(), right.data(), left.size());
        }
        return true;
    }
    // The short waits only guard against a wake-up lost to a stop from another thread.
    std::unique_lock lock(endState_->mutex);
    while (!over()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        endState_->ended.wait_for(lock, std::chrono::milliseconds(100));
    }
    return true;
}

bool SequencerDevice::renderOffline(float* left, float* right, std::size_t frames) {
    if (!host_.isOffline()) return false;
    if (port_) {
        // An external synthesizer is heard elsewhere: here only its clock moves on, by the frames asked for.
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        // The frames count at the rate the built-in synthesizer renders offline.
        const std::int64_t rate = audio::AudioOutputOptions{}.sampleRate;
        port_->advanceOffline(static_cast<std::int64_t>(frames) * 1'000'000 / rate);
        return true;
    }
    engine_->renderOffline(left, right, frames);
    return true;
}

}  // namespace vorlo::media
