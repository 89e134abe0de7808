#pragma once
// Keeps the synthesizer's output below full scale. Loud songs, dense chords and many channels at full volume add up
// to more than a sample can hold; cut off there, they crackle. The limiter looks a few milliseconds ahead (it holds
// the audio back by that much) and lowers the gain smoothly before a peak arrives, with a soft knee, so that the
// output never exceeds its ceiling and the gain never jumps. Songs at normal levels pass untouched: the gain only
// moves above the knee, a few dB below the ceiling.
//
// The gain rises again with a release of about a tenth of a second after the last peak, slow enough not to pump on
// music and quick enough not to duck the next phrase.
//
// Thread: one thread at a time (the owner serialises process() and cut()). Throws nothing.
#include <cstddef>
#include <vector>

namespace vorlo::audio {

class PeakLimiter {
public:
    // The ceiling is 1 dB below full scale: no sample ever reaches it, even after conversion to 16 bits.
    static constexpr double kCeilingDb = -1.0;
    // The knee is 6 dB wide, centred on the ceiling: the gain starts to fall 4 dB below full scale.
    static constexpr double kKneeDb = 6.0;
    static constexpr double kLookAheadMs = 3.0;
    static constexpr double kReleaseMs = 120.0;

    explicit PeakLimiter(int sampleRate);

    // Limits `frames` frames in place. The output lags the input by latencyFrames().
    void process(float* left, float* right, std::size_t frames);
    // The synthesizer was silenced at once (stop, seek, a new song): what is held back fades out within the look-ahead
    // instead of playing on, and the gain starts afresh.
    void cut();

    std::size_t latencyFrames() const { return delay_; }
    // The largest sample the output can hold.
    static float ceiling();
    // The gain that `peak` (a sample's magnitude) needs to come out at or below the ceiling: 1 below the knee.
    static float gainFor(float peak);

private:
    void resetGain();

    std::size_t window_;  // look-ahead in frames: the gain hold and the smoothing span
    std::size_t delay_;   // window_ - 1: a peak leaves the delay line just as the smoothed gain reaches its need
    float releaseCoefficient_;

    // The audio held back.
    std::vector<float> delayLeft_;
    std::vector<float> delayRight_;
    std::size_t delayAt_ = 0;

    // The lowest gain needed within the window: a queue of (frame, gain) with rising gains (a sliding minimum).
    // Frames that need no reduction are never queued.
    std::vector<std::size_t> holdFrame_;
    std::vector<float> holdGain_;
    std::size_t holdFirst_ = 0;
    std::size_t holdCount_ = 0;
    std::size_t frame_ = 0;

    float envelope_ = 1.0f;
    // The envelope averaged over the window: the gain applied.
    std::vector<float> smoothing_;
    std::size_t smoothingAt_ = 0;
    double smoothingSum_ = 0.0;
    float gain_ = 1.0f;
};

}  // namespace vorlo::audio
