// Fuzz harness for everything that reads outside MIDI data: the RIFF/SMF reader, the fast length
// scan, the tempo map, the texts and their encodings, and the sequencer playing what was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "midi/Sequencer.h"
#include "midi/SmfReader.h"
#include "midi/SongLength.h"
#include "midi/SongText.h"
#include "midi/TempoMap.h"
#include "midi/TextEncoding.h"

namespace {

// Takes every message and renders nothing: the harness is about the sequencer's bookkeeping.
class NullSynth final : public vorlo::midi::Synth {
public:
    int sampleRate() const override { return 8000; }
    void channelMessage(std::uint8_t, std::uint8_t, std::uint8_t) override { ++messages; }
    void systemExclusive(std::span<const std::uint8_t> message) override {
        if (message.empty() || message.front() != 0xF0 || message.back() != 0xF7)
            std::abort();  // always whole messages
        ++messages;
    }
    void allNotesOff() override {}
    void allSoundsOff() override {}
    void systemReset() override {}
    void render(float* left, float* right, std::size_t frames) override {
        for (std::size_t i = 0; i < frames; ++i) left[i] = right[i] = 0.0f;
    }
    std::size_t messages = 0;
};

void play(const vorlo::midi::MidiFile& file, std::uint8_t choice) {
    NullSynth synth;
    vorlo::midi::Sequencer sequencer(synth, file);
    int ends = 0;
    sequencer.setEndHandler([&] { ++ends; });
    const std::int64_t length = sequencer.lengthMs();
    std::vector<float> left(1024), right(1024);
    sequencer.play(0, length / 2);
    for (int block = 0; block < 8; ++block) sequencer.render(left.data(), right.data(), left.size());
    sequencer.seek(length / 3 + choice);
    sequencer.play(sequencer.positionMs(), -1);
    for (int block = 0; block < 8; ++block) sequencer.render(left.data(), right.data(), left.size());
    sequencer.stop();
    sequencer.resume();
    sequencer.render(left.data(), right.data(), left.size());
    // Three plays (to the middle, to the end, resumed at the end): at most three end reports.
    if (ends > 3 || sequencer.positionMs() > length) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    vorlo::midi::ReadResult result = vorlo::midi::readMidi(bytes);
    const auto measured = vorlo::midi::measureSong(bytes);
    auto* file = std::get_if<vorlo::midi::MidiFile>(&result);
    // The fast scan and the full reader must agree on every input: readable or not, and the length.
    if ((file != nullptr) != std::holds_alternative<vorlo::midi::SongLength>(measured)) std::abort();
    if (file == nullptr) return 0;
    const vorlo::midi::TempoMap tempo = vorlo::midi::buildTempoMap(*file);
    const std::int64_t length = vorlo::midi::songLengthMs(*file, tempo);
    if (length != std::get<vorlo::midi::SongLength>(measured).lengthMs || length < 0) std::abort();
    const std::uint64_t endTick = vorlo::midi::songEndTick(*file);
    if (tempo.msToTicks(length) > endTick) std::abort();  // the conversions never run past each other
    const vorlo::midi::SongText text = vorlo::midi::collectSongText(*file, tempo, size % 2 == 0);
    for (const auto& event : text.texts) {
        if (event.timeMs > length) std::abort();
        // Whatever the bytes, the text comes out as valid UTF-8 (which the conversion leaves as it is).
        const std::string utf8 = vorlo::midi::songTextToUtf8(event.text);
        if (vorlo::midi::songTextToUtf8(utf8) != utf8) std::abort();
    }
    play(*file, size > 0 ? data[size - 1] : 0);
    return 0;
}
