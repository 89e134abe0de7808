// What the window shows for each state of the transport and the playlist.
#include "core/playback/PlayerView.h"

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

struct TransportButtons {
    bool play, pause, stop, next, previous, forward, reverse, eject;
    bool operator==(const TransportButtons&) const = default;
};

TransportButtons buttons(const PlayerView& v) {
    return {v.play, v.pause, v.stop, v.next, v.previous, v.forward, v.reverse, v.eject};
}

// Order: play, pause, stop, next, previous, forward, reverse, eject.
TransportButtons on(bool play, bool pause, bool stop, bool next, bool previous, bool forward, bool reverse,
                    bool eject) {
    return {play, pause, stop, next, previous, forward, reverse, eject};
}

TransportState ready() {
    TransportState s;
    s.entryOpen = true;
    s.openFile = "/m/a.mid";
    s.trackBar = {true, 185, 0, 0, 185};
    return s;
}

TransportState playing() {
    TransportState s = ready();
    s.playWanted = true;
    s.devicePlaying = true;
    return s;
}

const PlaylistState kThreeLines{3, -1, 0, false, false, true};
const PlayModes kAutoLoop{};

}  // namespace

TEST(PlayerView, NothingOpenOffersNoTransportAndNoListCommands) {
    const PlayerView v = playerView({}, {}, kAutoLoop);
    EXPECT_EQ(buttons(v), on(false, false, false, false, false, false, false, false));
    EXPECT_FALSE(v.replay);
    EXPECT_FALSE(v.trayPlaying);
    EXPECT_EQ(v.trayPause, "P&ause");
    EXPECT_EQ(v.ejectHint, "Eject CD(F9)");
    EXPECT_FALSE(v.saveList || v.saveListAs || v.sortList || v.clearList || v.closeList);
    EXPECT_TRUE(v.addList);
    EXPECT_TRUE(v.switchCounter);
    EXPECT_EQ(v.trackBar, TrackBarView{});
}

TEST(PlayerView, ReadyPlayingAndPausedLightTheirButtons) {
    const PlayerView stopped = playerView(ready(), kThreeLines, kAutoLoop);
    EXPECT_EQ(buttons(stopped), on(true, false, false, true, true, true, true, false));
    EXPECT_TRUE(stopped.replay);
    EXPECT_FALSE(stopped.trayPlaying);

    const PlayerView running = playerView(playing(), kThreeLines, kAutoLoop);
    EXPECT_EQ(buttons(running), on(false, true, true, true, true, true, true, false));
    EXPECT_TRUE(running.trayPlaying);
    EXPECT_EQ(running.trayPause, "P&ause");

    TransportState paused = ready();
    paused.paused = true;
    const PlayerView held = playerView(paused, kThreeLines, kAutoLoop);
    EXPECT_EQ(buttons(held), on(true, true, true, true, true, true, true, false));
    EXPECT_FALSE(held.trayPlaying);  // greyed while paused
    EXPECT_EQ(held.trayPause, "C&ontinue");

    // One line: nothing to step to.
    const PlayerView single = playerView(ready(), {1, 0, 0, false, false, false}, kAutoLoop);
    EXPECT_EQ(buttons(single), on(true, false, false, false, false, true, true, false));
}

TEST(PlayerView, DuringTheWaitPauseAndStopActAndTheCounterCannotBeSwitched) {
    for (WaitPhase phase : {WaitPhase::Counting, WaitPhase::Frozen}) {
        TransportState waiting = playing();
        waiting.devicePlaying = false;
        waiting.wait = phase;
        waiting.waitSeconds = 5;
        waiting.waitRemaining = 3;
        waiting.counter = {0, 2};
        const PlayerView v = playerView(waiting, kThreeLines, kAutoLoop);
        EXPECT_EQ(buttons(v), on(false, true, true, true, true, true, true, false));
        EXPECT_FALSE(v.switchCounter);
        EXPECT_EQ(v.trayPause, "C&ontinue");
        EXPECT_EQ(v.counter, (CounterReading{0, 2}));
    }
}

TEST(PlayerView, ACdTrackOffersEjectAndAnOpenDoorOnlyCloseDrive) {
    TransportState cd = playing();
    cd.cdAudio = true;
    EXPECT_EQ(buttons(playerView(cd, kThreeLines, kAutoLoop)), on(false, true, true, true, true, true, true, true));

    cd.doorOpened = true;
    cd.playWanted = cd.devicePlaying = false;
    const PlayerView open = playerView(cd, kThreeLines, kAutoLoop);
    EXPECT_EQ(buttons(open), on(false, false, false, false, false, false, false, true));
    EXPECT_EQ(open.ejectHint, "Close Drive(F9)");
    EXPECT_FALSE(open.replay);

    // The door matters while a disc's track is open; a file plays as ever.
    TransportState file = ready();
    file.doorOpened = true;
    EXPECT_EQ(buttons(playerView(file, kThreeLines, kAutoLoop)), on(true, false, false, true, true, true, true, false));
}

TEST(PlayerView, ModesSetMarksLabelColoursHintsAndTrayCaptions) {
    const PlayerView normal = playerView(ready(), kThreeLines, kAutoLoop);
    EXPECT_TRUE(normal.marks.autoPlay && normal.marks.loop);
    EXPECT_EQ(normal.autoLabel, colours::kWhite);
    EXPECT_EQ(normal.loopLabel, colours::kFuchsia);
    EXPECT_EQ(normal.repeatLabel, colours::kSilver);
    EXPECT_EQ(normal.randomLabel, colours::kSilver);
    EXPECT_EQ(normal.shuffleLabel, colours::kSilver);
    EXPECT_EQ(normal.nextHint, "Next(F5)");
    EXPECT_EQ(normal.previousHint, "Previous(F6)");
    EXPECT_EQ(normal.trayNext, "&Next");
    EXPECT_EQ(normal.trayPrevious, "&Pre&vious");

    PlayModes modes;
    modes.setRandom(true);
    modes.setAuto(false);
    const PlayerView random = playerView(ready(), kThreeLines, modes);
    EXPECT_EQ(random.autoLabel, colours::kSilver);
    EXPECT_EQ(random.loopLabel, colours::kSilver);
    EXPECT_EQ(random.randomLabel, colours::kYellow);
    EXPECT_EQ(random.nextHint, "Random Jump(F5)");
    EXPECT_EQ(random.previousHint, "Random Jump(F6)");
    EXPECT_EQ(random.trayNext, "&Random");
    EXPECT_EQ(random.trayPrevious, "&Random");

    modes.setShuffle(true);
    modes.setRepeat(false);
    const PlayerView shuffle = playerView(ready(), kThreeLines, modes);
    EXPECT_EQ(shuffle.shuffleLabel, colours::kRed);
    EXPECT_EQ(shuffle.randomLabel, colours::kSilver);
    EXPECT_EQ(shuffle.nextHint, "Shuffle(F5)");
    EXPECT_EQ(shuffle.previousHint, "Shuffle(F6)");
    EXPECT_EQ(shuffle.trayNext, "&Shuffle");

    modes.setRepeat(true);
    const PlayerView repeat = playerView(ready(), kThreeLines, modes);
    EXPECT_EQ(repeat.repeatLabel, colours::kLime);
    EXPECT_EQ(repeat.shuffleLabel, colours::kSilver);
    EXPECT_EQ(repeat.nextHint, "Next(F5)");
}

TEST(PlayerView, TheCounterIsLimeForElapsedAndRedForRemainingTime) {
    TransportState s = ready();
    EXPECT_EQ(playerView(s, kThreeLines, kAutoLoop).counterColour, colours::kLime);
    s.counterMode = CounterMode::Remaining;
    EXPECT_EQ(playerView(s, kThreeLines, kAutoLoop).counterColour, colours::kRed);
}

TEST(PlayerView, ListCommandsFollowTheListItsFileAndZipMode) {
    const PlayerView one = playerView(ready(), {1, -1, 0, false, true, false}, kAutoLoop);
    EXPECT_TRUE(one.saveList);  // the changed flag
    EXPECT_TRUE(one.saveListAs);
    EXPECT_TRUE(one.clearList);
    EXPECT_FALSE(one.sortList);   // nothing to sort in one line
    EXPECT_FALSE(one.closeList);  // no list file open
    EXPECT_TRUE(one.addList);

    const PlayerView open = playerView(ready(), kThreeLines, kAutoLoop);
    EXPECT_FALSE(open.saveList);
    EXPECT_TRUE(open.sortList);
    EXPECT_TRUE(open.closeList);

    const PlayerView zip = playerView(ready(), {3, 1, 1, true, false, true}, kAutoLoop);
    EXPECT_FALSE(zip.addList);
    EXPECT_EQ(zip.zipLabel, colours::kAqua);
    EXPECT_EQ(open.zipLabel, colours::kSilver);
    // The playlist's own buttons and popup follow their own rules.
    EXPECT_EQ(zip.midPanel, midPanelEnables({3, 1, 1, true}));
    EXPECT_EQ(zip.popup, popupEnables({3, 1, 1, true}));
}
