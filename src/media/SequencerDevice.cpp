#include "media/SequencerDevice.h"

#include <chrono>
#include <vector>

#include "media/EMCIDeviceError.h"

namespace vorlo::media {

SequencerDevice::SequencerDevice(SynthHost& host, const std::string& path, PlayEndHandler onEnd)
    : host_(host), endState_(std::make_shared<EndState>()) {
    std::string error;
    engine_ = host.engine(error);
    if (engine_ == nullptr) throw EMCIDeviceError(error);
    if (!engine_->open(path, error)) throw EMCIDeviceError("Cannot open \"" + path + "\" as a MIDI file: " + error);
    endState_->onEnd = std::move(onEnd);
    engine_->setEndCallback([state = endState_](std::uint64_t playId) {
        PlayEndHandler handler;
        {
            std::lock_guard lock(state->mutex);
            state->lastEnded = playId;
            handler = state->onEnd;
        }
        state->ended.notify_all();
        if (handler) handler(playId, false);
    });
}

SequencerDevice::~SequencerDevice() {
    {
        // An end callback already running on the audio thread finds no handler to call any more.
        std::lock_guard lock(endState_->mutex);
        endState_->onEnd = nullptr;
    }
    engine_->setEndCallback(nullptr);
    engine_->close();
}

std::uint64_t SequencerDevice::play(std::int64_t fromMs, std::int64_t toMs) { return engine_->play(fromMs, toMs); }

void SequencerDevice::stop() {
    engine_->stop();
    endState_->ended.notify_all();
}

void SequencerDevice::seek(std::int64_t ms) {
    engine_->stop();
    engine_->seek(ms);
    endState_->ended.notify_all();
}

bool SequencerDevice::waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) {
    const auto over = [&] { return endState_->lastEnded >= token || !engine_->isPlaying(); };
    if (host_.isOffline()) {
        std::vector<float> left(512), right(512);
        while (!over()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            engine_->renderOffline(left.data(), right.data(), left.size());
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
    engine_->renderOffline(left, right, frames);
    return true;
}

}  // namespace vorlo::media
