#include "media/audio/PeakLimiter.h"

#include <algorithm>
#include <cmath>

namespace vorlo::audio {
namespace {

double fromDb(double db) { return std::pow(10.0, db / 20.0); }

// Below this magnitude no gain reduction is needed: the bottom of the knee.
const float kKneeStart = static_cast<float>(fromDb(PeakLimiter::kCeilingDb - PeakLimiter::kKneeDb / 2));
const float kCeiling = static_cast<float>(fromDb(PeakLimiter::kCeilingDb));

}  // namespace

float PeakLimiter::ceiling() { return kCeiling; }

float PeakLimiter::gainFor(float peak) {
    if (!(peak > kKneeStart)) return 1.0f;
    const double level = 20.0 * std::log10(static_cast<double>(peak));
    const double over = level - (kCeilingDb - kKneeDb / 2);
    // Inside the knee the output rises ever more slowly (a quadratic curve) until it meets the ceiling.
    const double out = over < kKneeDb ? level - over * over / (2 * kKneeDb) : kCeilingDb;
    return static_cast<float>(fromDb(out - level));
}

PeakLimiter::PeakLimiter(int sampleRate)
    : window_(std::max<std::size_t>(2, static_cast<std::size_t>(std::lround(sampleRate * kLookAheadMs / 1000.0)))),
      delay_(window_ - 1),
      releaseCoefficient_(static_cast<float>(std::exp(-1000.0 / (kReleaseMs * std::max(1, sampleRate))))),
      delayLeft_(delay_, 0.0f),
      delayRight_(delay_, 0.0f),
      holdFrame_(window_, 0),
      holdGain_(window_, 1.0f),
      smoothing_(window_, 1.0f) {
    resetGain();
}

void PeakLimiter::resetGain() {
    holdCount_ = 0;
    holdFirst_ = 0;
    envelope_ = 1.0f;
    std::fill(smoothing_.begin(), smoothing_.end(), 1.0f);
    smoothingAt_ = 0;
    smoothingSum_ = static_cast<double>(window_);
    gain_ = 1.0f;
}

void PeakLimiter::process(float* left, float* right, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i, ++frame_) {
        // A sample that is no number (a damaged soundfont) would spoil the gain for good: it counts as silence.
        float inLeft = std::isfinite(left[i]) ? left[i] : 0.0f;
        float inRight = std::isfinite(right[i]) ? right[i] : 0.0f;
        const float peak = std::max(std::abs(inLeft), std::abs(inRight));

        // The lowest gain any frame of the window needs.
        while (holdCount_ > 0 && frame_ - holdFrame_[holdFirst_] >= window_) {
            holdFirst_ = holdFirst_ + 1 == window_ ? 0 : holdFirst_ + 1;
            --holdCount_;
        }
        if (peak > kKneeStart) {
            const float need = gainFor(peak);
            while (holdCount_ > 0) {
                const std::size_t last = (holdFirst_ + holdCount_ - 1) % window_;
                if (holdGain_[last] < need) break;
                --holdCount_;
            }
            const std::size_t slot = (holdFirst_ + holdCount_) % window_;
            holdFrame_[slot] = frame_;
            holdGain_[slot] = need;
            ++holdCount_;
        }
        const float held = holdCount_ > 0 ? holdGain_[holdFirst_] : 1.0f;
        envelope_ = held < envelope_ ? held : held + (envelope_ - held) * releaseCoefficient_;

        // Averaged over the window, the gain falls in a smooth ramp that ends at the need of a peak just as the
        // peak leaves the delay line.
        smoothingSum_ += static_cast<double>(envelope_) - smoothing_[smoothingAt_];
        smoothing_[smoothingAt_] = envelope_;
        if (++smoothingAt_ == window_) {
            smoothingAt_ = 0;
            // Summed afresh once per window, so that rounding never drifts.
            smoothingSum_ = 0.0;
            for (const float value : smoothing_) smoothingSum_ += value;
        }
        gain_ = static_cast<float>(smoothingSum_ / static_cast<double>(window_));

        const float outLeft = delayLeft_[delayAt_] * gain_;
        const float outRight = delayRight_[delayAt_] * gain_;
        delayLeft_[delayAt_] = inLeft;
        delayRight_[delayAt_] = inRight;
        delayAt_ = delayAt_ + 1 == delay_ ? 0 : delayAt_ + 1;
        // Rounding aside the ramp already keeps the ceiling; the clamp makes it a promise.
        left[i] = std::clamp(outLeft, -kCeiling, kCeiling);
        right[i] = std::clamp(outRight, -kCeiling, kCeiling);
    }
}

void PeakLimiter::cut() {
    // Every frame held back needs at least the lowest gain of the window, so that gain keeps each of them below the
    // ceiling; a linear fade from there to nothing avoids a click.
    const float held = holdCount_ > 0 ? holdGain_[holdFirst_] : 1.0f;
    const float gain = std::min(held, gain_);
    for (std::size_t k = 0; k < delay_; ++k) {
        const std::size_t at = (delayAt_ + k) % delay_;
        const float fade = gain * static_cast<float>(delay_ - k) / static_cast<float>(delay_ + 1);
        delayLeft_[at] *= fade;
        delayRight_[at] *= fade;
    }
    resetGain();
}

}  // namespace vorlo::audio
