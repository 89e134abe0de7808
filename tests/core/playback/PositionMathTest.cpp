#include "core/playback/PositionMath.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

const EntrySpan kFile{0, 185000, false};       // a 3:05 file
const EntrySpan kTrack{600000, 185000, true};  // a 3:05 CD track starting 10 minutes into the disc

TEST(PositionMathTest, TheCounterShowsTimePlayedOrTimeLeft) {
    EXPECT_EQ(counterAt(CounterMode::Remaining, kFile, 0), (CounterReading{3, 5}));
    EXPECT_EQ(counterAt(CounterMode::Elapsed, kFile, 0), (CounterReading{0, 0}));
    EXPECT_EQ(counterAt(CounterMode::Elapsed, kFile, 61999), (CounterReading{1, 1}));  // divisions truncate
    EXPECT_EQ(counterAt(CounterMode::Remaining, kFile, 61999), (CounterReading{2, 3}));
    // On a CD the track's own time counts, not the disc's.
    EXPECT_EQ(counterAt(CounterMode::Elapsed, kTrack, 600000 + 5000), (CounterReading{0, 5}));
    EXPECT_EQ(counterAt(CounterMode::Remaining, kTrack, 600000 + 5000), (CounterReading{3, 0}));
    EXPECT_EQ(counterAtThumb(CounterMode::Remaining, 185, 65), (CounterReading{2, 0}));
    EXPECT_EQ(counterAtThumb(CounterMode::Elapsed, 185, 65), (CounterReading{1, 5}));
}

TEST(PositionMathTest, ForwardStopsAtTheEndOfAFileAndShortOfTheEndOfATrack) {
    EXPECT_EQ(stepForward(kFile, 10000, 5), 15000);
    EXPECT_EQ(stepForward(kFile, 182000, 5), 185000);
    EXPECT_EQ(stepForward(kTrack, 600000, 5), 605000);
    EXPECT_EQ(stepForward(kTrack, 600000 + 182000, 5), 600000 + 185000 - 300);
}

TEST(PositionMathTest, ReverseWithinTheFirstStepGoesToTheStart) {
    EXPECT_EQ(stepBack(kFile, 12000, 5), 7000);
    EXPECT_EQ(stepBack(kFile, 3000, 5), 0);
    EXPECT_EQ(stepBack(kTrack, 600000 + 3000, 5), 600000);
    EXPECT_EQ(stepBack(kTrack, 600000 + 9000, 5), 604000);
}

}  // namespace
