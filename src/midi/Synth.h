#pragma once
// What the sequencer plays into: a synthesizer that renders audio on demand.
#include <cstddef>
#include <cstdint>
#include <span>

namespace vorlo::midi {

class Synth {
public:
    virtual ~Synth() = default;

    virtual int sampleRate() const = 0;
    virtual void channelMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // A complete message, F0 ... F7.
    virtual void systemExclusive(std::span<const std::uint8_t> message) = 0;
    // Releases every note: they fade as their instruments let them (a held pedal keeps them, as on any synthesizer).
    virtual void allNotesOff() = 0;
    // Silences every voice at once, and the echo of the effects with them. A synthesizer may lose its channels' state
    // on the way (the sequencer chases the song's state again before it plays on).
    virtual void allSoundsOff() = 0;
    // Back to the state after power-on.
    virtual void systemReset() = 0;
    // Every channel back to its power-on program, bank, controllers and pitch bend, so that a seek
    // can rebuild the state of the song from there. Synthesizers that know their own power-on
    // state do better than this general default.
    virtual void resetChannels();
    // Overwrites `frames` samples of each channel.
    virtual void render(float* left, float* right, std::size_t frames) = 0;

    // A short message as an operating system's MIDI output takes it: the status in the low byte,
    // then the data bytes; 0xFF alone is a system reset.
    void shortMessage(std::uint32_t message);
};

}  // namespace vorlo::midi
