#pragma once
// The player's MIDI output to an external synthesizer: a client of the ALSA sequencer with one output port,
// connected to the synthesizer's port, and a queue of its own whose real-time clock times the song.
#include <memory>
#include <string>

#include "media/audio/MidiPort.h"

namespace vorlo::audio {

// Opens a client connected to the port at `address` ("CLIENT:PORT"). Nothing, with `error` saying why, when the
// machine has no sequencer, the address is no port's, the port does not exist or takes no connection. Never waits:
// the client is opened without blocking. Thread: any.
std::unique_ptr<MidiPort> openAlsaSequencerPort(const std::string& address, std::string& error);

}  // namespace vorlo::audio
