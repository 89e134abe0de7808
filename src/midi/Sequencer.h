#pragma once
// Plays a song into a Synth: renders audio in blocks and sends every event at its exact frame.
// Not thread-safe by itself: one owner serialises the calls (see the audio engine).
#include <cstdint>
#include <functional>

#include "midi/MidiFile.h"
#include "midi/SongTimeline.h"
#include "midi/Synth.h"

namespace vorlo::midi {

class Sequencer {
public:
    Sequencer(Synth& synth, const MidiFile& file);

    std::int64_t lengthMs() const { return timeline_.lengthMs(); }
    std::int64_t positionMs() const;
    std::int64_t positionFrames() const { return positionFrame_; }
    bool isPlaying() const { return playing_; }

    // Plays from `fromMs` up to `toMs` (the end of the song when negative or beyond it). The
    // instruments, controllers and tempo are chased to `fromMs` unless the synthesizer holds the song's state there
    // already: the first play of a song starts from the synthesizer's power-on state, whatever an earlier song left.
    void play(std::int64_t fromMs, std::int64_t toMs = -1);
    // Plays on from the current position to the end position of the last play.
    void resume();
    // Silences every sounding note at once; the position stays.
    void stop();
    // Moves to `ms`, chasing the state of the song there; play goes on when it was playing.
    void seek(std::int64_t ms);

    // Called from render() when play reaches its end position: at the musical end, not when the
    // synthesizer's last sounds have faded. The pedals are lifted and every note released there, so only the
    // notes' own release and the effects' echo ring on.
    void setEndHandler(std::function<void()> handler) { endHandler_ = std::move(handler); }

    // Renders `frames` frames; while playing, events are sent at their frames within the block.
    void render(float* left, float* right, std::size_t frames);

private:
    std::int64_t clampMsToFrame(std::int64_t ms) const;
    void moveTo(std::int64_t frame);
    void chaseTo(std::size_t eventIndex);
    void dispatch(const TimedEvent& event);
    void finish();

    Synth& synth_;
    SongTimeline timeline_;
    std::int64_t positionFrame_ = 0;
    std::int64_t endFrame_ = 0;
    std::size_t next_ = 0;  // the first event not yet sent
    bool playing_ = false;
    // The synthesizer holds the song's state at positionFrame_ (false before the first play and after a stop, which
    // may reset the synthesizer's channels).
    bool chased_ = false;
    std::function<void()> endHandler_;
};

}  // namespace vorlo::midi
