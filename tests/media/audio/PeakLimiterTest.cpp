#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "media/audio/PeakLimiter.h"

namespace vorlo::audio {
namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

Stereo sine(double amplitude, double hz, std::size_t frames) {
    Stereo s{std::vector<float>(frames), std::vector<float>(frames)};
    for (std::size_t i = 0; i < frames; ++i) {
        s.left[i] = static_cast<float>(amplitude * std::sin(2 * kPi * hz * static_cast<double>(i) / kRate));
        s.right[i] = -s.left[i];
    }
    return s;
}

// Runs the whole signal through in blocks of `block` frames, as an audio output would.
void limit(PeakLimiter& limiter, Stereo& s, std::size_t block = 256) {
    for (std::size_t at = 0; at < s.left.size(); at += block) {
        const std::size_t n = std::min(block, s.left.size() - at);
        limiter.process(s.left.data() + at, s.right.data() + at, n);
    }
}

float peakOf(const Stereo& s, std::size_t from = 0, std::size_t to = std::numeric_limits<std::size_t>::max()) {
    float peak = 0.0f;
    for (std::size_t i = from; i < std::min(to, s.left.size()); ++i)
        peak = std::max({peak, std::abs(s.left[i]), std::abs(s.right[i])});
    return peak;
}

TEST(PeakLimiter, NormalLevelsPassUntouchedOnlyDelayedByTheLookAhead) {
    PeakLimiter limiter(kRate);
    const Stereo original = sine(0.5, 440, kRate / 2);  // -6 dB: below the knee
    Stereo s = original;
    limit(limiter, s, 100);
    const std::size_t lag = limiter.latencyFrames();
    ASSERT_GT(lag, 0u);
    EXPECT_LT(lag, static_cast<std::size_t>(kRate / 100));  // a few milliseconds, not more
    for (std::size_t i = 0; i < lag; ++i) EXPECT_EQ(s.left[i], 0.0f);
    for (std::size_t i = lag; i < s.left.size(); ++i) {
        ASSERT_EQ(s.left[i], original.left[i - lag]) << i;
        ASSERT_EQ(s.right[i], original.right[i - lag]) << i;
    }
}

TEST(PeakLimiter, NoSampleReachesTheCeilingHoweverLoudOrSudden) {
    // A sustained overload 20 dB above full scale, a single-sample spike from silence, and a square wave: the
    // look-ahead must catch each of them before it leaves the delay line.
    Stereo loud = sine(10.0, 440, kRate);
    Stereo spike{std::vector<float>(4096, 0.0f), std::vector<float>(4096, 0.0f)};
    spike.left[2000] = 30.0f;
    spike.right[3000] = -8.0f;
    Stereo square{std::vector<float>(kRate), std::vector<float>(kRate)};
    for (std::size_t i = 0; i < square.left.size(); ++i) square.left[i] = square.right[i] = (i / 50) % 2 ? 3.0f : -3.0f;
    for (Stereo* s : {&loud, &spike, &square}) {
        PeakLimiter limiter(kRate);
        limit(limiter, *s, 64);
        EXPECT_LE(peakOf(*s), PeakLimiter::ceiling());
        EXPECT_LT(PeakLimiter::ceiling(), 1.0f);
    }
    // The overload is held just under the ceiling, not squashed far below it.
    EXPECT_GT(peakOf(loud, kRate / 2), PeakLimiter::ceiling() * 0.9f);
}

TEST(PeakLimiter, TheGainEasesBackAfterALoudPassageWithoutJumps) {
    // A loud second followed by a quiet one: the quiet part comes back to its own level within the release, and the
    // gain never steps from one sample to the next (a step would click).
    PeakLimiter limiter(kRate);
    Stereo s = sine(4.0, 100, kRate);
    const Stereo quiet = sine(0.25, 100, kRate);
    s.left.insert(s.left.end(), quiet.left.begin(), quiet.left.end());
    s.right.insert(s.right.end(), quiet.right.begin(), quiet.right.end());
    limit(limiter, s);
    EXPECT_NEAR(peakOf(s, kRate + kRate / 2), 0.25f, 0.001f);
    float largestStep = 0.0f;
    for (std::size_t i = 1; i < s.left.size(); ++i)
        largestStep = std::max(largestStep, std::abs(s.left[i] - s.left[i - 1]));
    // A 100 Hz sine of amplitude 1 moves at most 2*pi*100/44100 = 0.014 per sample.
    EXPECT_LT(largestStep, 0.03f);
}

TEST(PeakLimiter, ACutFadesWhatIsHeldBackAndStartsAfresh) {
    PeakLimiter limiter(kRate);
    Stereo loud = sine(5.0, 1000, 4096);
    limit(limiter, loud);
    limiter.cut();
    Stereo after{std::vector<float>(1024, 0.0f), std::vector<float>(1024, 0.0f)};
    limiter.process(after.left.data(), after.right.data(), after.left.size());
    EXPECT_LE(peakOf(after), PeakLimiter::ceiling());
    EXPECT_EQ(peakOf(after, limiter.latencyFrames()), 0.0f);  // silence once the held-back frames are out
    // A value the synthesizer should never produce (no number at all) counts as silence and spoils nothing.
    Stereo broken = sine(0.5, 440, 2048);
    broken.left[10] = std::numeric_limits<float>::quiet_NaN();
    broken.right[20] = std::numeric_limits<float>::infinity();
    limit(limiter, broken);
    for (std::size_t i = 0; i < broken.left.size(); ++i)
        ASSERT_TRUE(std::isfinite(broken.left[i]) && std::isfinite(broken.right[i]));
    EXPECT_NEAR(peakOf(broken, 1024), 0.5f, 0.001f);  // the gain was not touched
}

}  // namespace
}  // namespace vorlo::audio
