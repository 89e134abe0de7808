#pragma once
// The ALSA sequencer's output ports: where MIDI can go to an external synthesizer (a hardware synth on a USB MIDI
// interface, or a software synth running as a sequencer client).
#include <string>
#include <vector>

namespace vorlo::audio {

struct SequencerPort {
    int client = 0;
    int port = 0;
    std::string clientName;
    std::string portName;
    // "CLIENT:PORT", as the sequencer's tools name a port.
    std::string address() const { return std::to_string(client) + ":" + std::to_string(port); }
};

// The ports that take MIDI from other clients (writable and open to subscription), the system's own client
// excepted, in client and port order. Nothing, with `error` set, when the machine has no sequencer (no
// /dev/snd/seq) or it cannot be opened. Thread: any.
std::vector<SequencerPort> sequencerOutputPorts(std::string& error);

}  // namespace vorlo::audio
