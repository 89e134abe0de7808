#pragma once
// The MIDI output the player sends its own messages to (the "Reset MIDI Now!" command): the
// same synthesizer the sequencer plays on, built in or on a MIDI port.
#include <cstdint>
#include <string>
#include <vector>

#include "media/SynthHost.h"

namespace vorlo::media {

class MidiOut {
public:
    explicit MidiOut(SynthHost& host) : host_(host) {}

    // False when the synthesizer cannot start; error() says why.
    bool open();
    bool isOpen() const { return engine_ != nullptr || port_ != nullptr; }
    // A short message: the status in the low byte, then the data bytes; 0xFF alone is a system
    // reset. False when the output is not open.
    bool shortMessage(std::uint32_t message);
    // False when it was not open.
    bool close();
    const std::string& error() const { return error_; }

private:
    SynthHost& host_;
    audio::MidiEngine* engine_ = nullptr;
    audio::PortSequencer* port_ = nullptr;
    std::string error_;
};

// What a MIDI reset sends, in order: all sound off (controller 120) on the 16 channels, reset all
// controllers (controller 121) on the 16 channels, then a system reset.
std::vector<std::uint32_t> midiResetMessages();

}  // namespace vorlo::media
