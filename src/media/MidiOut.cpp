#include "media/MidiOut.h"

namespace vorlo::media {

bool MidiOut::open() {
    error_.clear();
    engine_ = host_.engine(error_);
    return engine_ != nullptr;
}

bool MidiOut::shortMessage(std::uint32_t message) {
    if (engine_ == nullptr) return false;
    engine_->sendShortMessage(message);
    return true;
}

bool MidiOut::close() {
    const bool wasOpen = engine_ != nullptr;
    engine_ = nullptr;
    return wasOpen;
}

std::vector<std::uint32_t> midiResetMessages() {
    std::vector<std::uint32_t> messages;
    for (std::uint32_t controller : {120u, 121u})
        for (std::uint32_t channel = 0; channel < 16; ++channel) messages.push_back(controller << 8 | (0xB0 + channel));
    messages.push_back(0xFF);
    return messages;
}

}  // namespace vorlo::media
