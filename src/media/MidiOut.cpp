#include "media/MidiOut.h"

namespace vorlo::media {

bool MidiOut::open() {
    error_.clear();
    if (host_.usesPort())
        port_ = host_.portSequencer(error_);
    else
        engine_ = host_.engine(error_);
    return isOpen();
}

bool MidiOut::shortMessage(std::uint32_t message) {
    if (port_ != nullptr)
        port_->sendShortMessage(message);
    else if (engine_ != nullptr)
        engine_->sendShortMessage(message);
    else
        return false;
    return true;
}

bool MidiOut::close() {
    const bool wasOpen = isOpen();
    engine_ = nullptr;
    port_ = nullptr;
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
