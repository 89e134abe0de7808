#include "core/playback/PlaySequence.h"
#include "core/playlist/Playlist.h"
#include "core/settings/Options.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <set>

using namespace vorlo;

namespace {

class PlaySequenceTest : public ::testing::Test {
protected:
    void fill(int count, std::initializer_list<int> checked = {}) {
        std::vector<PlaylistEntry> entries;
        for (int i = 0; i < count; ++i)
            entries.push_back({QString("/m/%1.mid").arg(i), QString("%1.mid").arg(i), false});
        playlist_.append(std::move(entries));
        for (int i : checked) playlist_.setChecked(i, true);
        playlist_.setCurrentIndex(-1);  // as when a list has just been added
    }
    // Plays with Auto on: each finished entry leads to the next, as the device's end report does. Returns the
    // entries played, up to `limit`, and leaves `ending` with how the run stopped.
    std::vector<int> autoPlay(int limit, PlaySequence::Finish* ending = nullptr) {
        std::vector<int> played;
        QString device;
        for (;;) {
            const PlaySequence::Finish finish = sequence_.EntryFinished(device);
            if (finish != PlaySequence::Finish::PlayNext && finish != PlaySequence::Finish::Replay) {
                if (ending) *ending = finish;
                return played;
            }
            played.push_back(playlist_.CurrentIndex());
            device = playlist_.path(playlist_.CurrentIndex());
            if (static_cast<int>(played.size()) == limit) return played;
        }
    }
    Playlist playlist_;
    PlayModes modes_{true, false, false, false, false};  // Auto only
    RandomGenerator random_{1733616000};
    Options options_;
    PlaySequence sequence_{playlist_, modes_, random_, options_};
};

TEST_F(PlaySequenceTest, InOrderACheckedEntryIsSkippedAndTheEndWaitsOnTheFirst) {
    fill(3, {1});
    PlaySequence::Finish ending{};
    EXPECT_EQ(autoPlay(10, &ending), (std::vector<int>{0, 2}));
    EXPECT_EQ(ending, PlaySequence::Finish::StopReady);
    EXPECT_EQ(playlist_.CurrentIndex(), 0);
}

TEST_F(PlaySequenceTest, WithLoopTheListStartsAgainAtTheFirstUncheckedEntry) {
    modes_.setLoop(true);
    fill(3, {1});
    EXPECT_EQ(autoPlay(6), (std::vector<int>{0, 2, 0, 2, 0, 2}));
    playlist_.setChecked(0, true);
    playlist_.setCurrentIndex(2);
    EXPECT_EQ(autoPlay(3), (std::vector<int>{2, 2, 2}));
}

TEST_F(PlaySequenceTest, EveryEntryCheckedEndsAtOnceReadyOnTheFirst) {
    modes_.setLoop(true);
    fill(3, {0, 1, 2});
    playlist_.setCurrentIndex(1);
    EXPECT_EQ(sequence_.AdvanceToNext({}), PlaySequence::Advance::EndReached);
    EXPECT_EQ(playlist_.CurrentIndex(), 0);
}

TEST_F(PlaySequenceTest, CloseAtEndEndsTheProgramEvenWithLoop) {
    modes_.setLoop(true);
    options_.listClose = true;
    fill(2);
    PlaySequence::Finish ending{};
    EXPECT_EQ(autoPlay(10, &ending), (std::vector<int>{0, 1}));
    EXPECT_EQ(ending, PlaySequence::Finish::CloseProgram);
}

TEST_F(PlaySequenceTest, AutoCheckMarksEveryFinishedEntry) {
    options_.autoCheck = true;
    fill(3);
    autoPlay(10);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(playlist_.isChecked(i)) << i;
}

TEST_F(PlaySequenceTest, ShufflePlaysEachEntryOnceChecksThemAllAndStops) {
    modes_.setShuffle(true);
    fill(4);
    PlaySequence::Finish ending{};
    const std::vector<int> played = autoPlay(20, &ending);
    ASSERT_EQ(played.size(), 4u);
    EXPECT_EQ(std::set<int>(played.begin(), played.end()).size(), 4u);
    EXPECT_EQ(ending, PlaySequence::Finish::StopReady);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(playlist_.isChecked(i));
}

TEST_F(PlaySequenceTest, ShuffleWithLoopStartsEachPassWithAnotherEntryAndClearsTheMarks) {
    modes_.setShuffle(true);
    modes_.setLoop(true);
    fill(4);
    const std::vector<int> played = autoPlay(40);
    ASSERT_EQ(played.size(), 40u);
    for (std::size_t pass = 0; pass < 10; ++pass) {
        const std::set<int> entries(played.begin() + 4 * pass, played.begin() + 4 * pass + 4);
        EXPECT_EQ(entries.size(), 4u) << "pass " << pass;
        if (pass > 0) {
            EXPECT_NE(played[4 * pass], played[4 * pass - 1]) << "pass " << pass;
        }
    }
}

TEST_F(PlaySequenceTest, ShuffleWithLoopOnOneEntryDoesNotHang) {
    modes_.setShuffle(true);
    modes_.setLoop(true);
    fill(1);
    EXPECT_EQ(autoPlay(5), (std::vector<int>{0, 0, 0, 0, 0}));
}

TEST_F(PlaySequenceTest, RandomNeverEndsWhileAnUncheckedEntryExists) {
    modes_.setRandom(true);
    fill(5, {0, 1, 3, 4});
    const std::vector<int> played = autoPlay(200);
    ASSERT_EQ(played.size(), 200u);
    for (int index : played) EXPECT_EQ(index, 2);
}

TEST_F(PlaySequenceTest, RepeatPlaysTheSameEntryAgain) {
    modes_.setRepeat(true);
    fill(3);
    playlist_.setCurrentIndex(1);
    EXPECT_EQ(sequence_.EntryFinished("/m/1.mid"), PlaySequence::Finish::Replay);
    EXPECT_EQ(playlist_.CurrentIndex(), 1);
}

TEST_F(PlaySequenceTest, NextAndPreviousIgnoreCheckMarksAndWrap) {
    fill(3, {1});
    playlist_.setCurrentIndex(0);
    EXPECT_EQ(sequence_.step(true, {}), PlaySequence::Advance::Continue);
    EXPECT_EQ(playlist_.CurrentIndex(), 1);
    playlist_.setCurrentIndex(2);
    sequence_.step(true, {});
    EXPECT_EQ(playlist_.CurrentIndex(), 0);
    sequence_.step(false, {});
    EXPECT_EQ(playlist_.CurrentIndex(), 2);
}

TEST(RandomGeneratorTest, ASeededRunGivesTheKnownSequence) {
    RandomGenerator random(1733616000);
    // X := X * 22695477 + 1 mod 2^64, output bits 32..62, worked out independently.
    EXPECT_EQ(random.next(), 9160778u);
    EXPECT_EQ(random.next(), 1745237692u);
    EXPECT_EQ(random.pick(7), 1763046149 % 7);
    EXPECT_EQ(random.pick(7), 1729792633 % 7);
    EXPECT_EQ(random.pick(0), 0);
    // The seed is the local time of day counted in seconds since 1970, low 32 bits.
    const QDateTime noonAhead(QDate(2026, 12, 8), QTime(12, 0), QTimeZone(3600));
    EXPECT_EQ(RandomGenerator::seedFor(noonAhead), 1796731200u);
}

}  // namespace
