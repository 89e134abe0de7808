// The transport without a window and without waiting in real time: the real engine on the real media device
// with offline audio, on songs written by the test. The device moves only when a test renders it; its reports
// are queued signals that arrive when the test lets events through.
#include "CoreRig.h"
#include "MediaFixtures.h"
#include "QtPrinters.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class Transport : public ::testing::Test {
protected:
    // A one-note song of `lengthMs`.
    QString song(const QString& name, int lengthMs = 300) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(test::writeSong(path, lengthMs));
        return path;
    }
    // Starts `rig` as adding its entries to an empty list does: Auto plays the first, otherwise it waits.
    static void start(test::CoreRig& rig, const QStringList& paths) {
        rig.fill(paths);
        rig.engine().entriesArrived();
    }
    static QString playing(test::CoreRig& rig) {
        return rig.device().mode() == media::Mode::Playing ? rig.state().openFile : QString();
    }
    // The captions the window would show, in order.
    static QStringList captions(QSignalSpy& spy) {
        QStringList texts;
        for (const QList<QVariant>& call : spy) texts << call.at(0).toString();
        return texts;
    }

    QTemporaryDir dir_;
    test::ScriptedMessageBoxes boxes_;
};

TEST_F(Transport, NextAndPreviousStepInListOrderWrapAndIgnoreCheckMarks) {
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    const QStringList songs{song("a.mid"), song("b.mid"), song("c.mid")};
    start(rig, songs);
    rig.playlist().setChecked(1, true);
    ASSERT_EQ(rig.state().openFile, songs[0]);
    EXPECT_TRUE(rig.view().play);

    PlaybackEngine& engine = rig.engine();
    engine.SpdBtnNextClick();
    EXPECT_EQ(rig.state().openFile, songs[1]);  // checked, and chosen all the same
    engine.SpdBtnNextClick();
    EXPECT_EQ(rig.state().openFile, songs[2]);
    engine.SpdBtnNextClick();
    EXPECT_EQ(rig.state().openFile, songs[0]);  // from the last to the first
    engine.SpdBtnPrevClick();
    EXPECT_EQ(rig.state().openFile, songs[2]);  // and back
    EXPECT_EQ(playing(rig), QString());         // stepping never starts play by itself
    EXPECT_TRUE(rig.view().play);

    // Playing goes on with the entry stepped to.
    engine.SpdBtnPlayClick();
    engine.SpdBtnNextClick();
    EXPECT_EQ(playing(rig), songs[0]);
    EXPECT_FALSE(rig.view().play);
    EXPECT_EQ(rig.playlist().selectedLine(), 0);
}

// Stands in for the door of a drive, which this machine does not have.
struct RecordingDoor final : media::DriveDoor {
    bool open(const std::string&) override { return record("open"); }
    bool close(const std::string&) override { return record("close"); }
    bool record(const std::string& call) {
        calls.push_back(call);
        return true;
    }
    std::vector<std::string> calls;
};

TEST_F(Transport, EjectStopsTheDiscAndOpensTheDoorAndCloseDrivePlaysTheSelectedTrack) {
    media::MediaSettings settings = vorlo::testing::offlineSettings(vorlo::testing::writeDiscImage(dir_));
    auto door = std::make_shared<RecordingDoor>();
    settings.driveDoor = door;
    test::CoreRig rig(settings);
    const QStringList tracks{dir_.filePath("Track01.cda"), dir_.filePath("Track02.cda")};
    start(rig, tracks);
    ASSERT_TRUE(rig.state().cdAudio);
    ASSERT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_TRUE(rig.view().eject);
    EXPECT_EQ(rig.view().ejectHint, "Eject CD(F9)");
    vorlo::testing::runFor(rig.device(), 100);
    rig.position().ThreadedTimerTimer();

    rig.engine().SpdEjectClick();
    EXPECT_EQ(door->calls, std::vector<std::string>{"open"});
    EXPECT_EQ(rig.device().mode(), media::Mode::Open);
    EXPECT_TRUE(rig.state().doorOpened);
    EXPECT_FALSE(rig.position().timerActive());
    const PlayerView open = rig.view();
    EXPECT_EQ(open.ejectHint, "Close Drive(F9)");
    EXPECT_TRUE(open.eject);
    for (bool command : {open.play, open.pause, open.stop, open.next, open.previous, open.forward, open.reverse})
        EXPECT_FALSE(command);
    EXPECT_EQ(open.counter, (CounterReading{0, 0}));
    EXPECT_EQ(open.trackBar.position, 0);

    // A double click waits for the door to be closed.
    rig.playlist().selectLine(1);
    rig.core().editor().SongListDblClick();
    EXPECT_EQ(rig.playlist().CurrentIndex(), 0);
    EXPECT_EQ(door->calls.size(), 1u);

    // Close Drive: the selected line's track opens and, with Auto on, plays.
    rig.engine().SpdEjectClick();
    EXPECT_EQ(door->calls, (std::vector<std::string>{"open", "close"}));
    EXPECT_FALSE(rig.state().doorOpened);
    EXPECT_EQ(rig.playlist().CurrentIndex(), 1);
    EXPECT_EQ(rig.state().cdTrack, 2);
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(rig.device().position(), 240);  // track 2 starts 240 ms into the disc
    EXPECT_EQ(rig.view().ejectHint, "Eject CD(F9)");
    EXPECT_TRUE(rig.view().next);
}

TEST_F(Transport, ResetMidiNowStopsAndReopensTheSongReadyToPlay) {
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    const QString a = song("a.mid", 2000);
    start(rig, {a});
    rig.engine().SpdBtnPlayClick();
    vorlo::testing::runFor(rig.device(), 300);
    rig.position().ThreadedTimerTimer();
    ASSERT_GT(rig.device().position(), 200);

    rig.engine().MIDIResetNowClick();
    EXPECT_TRUE(rig.device().isOpen());
    EXPECT_EQ(rig.device().fileName(), a);
    EXPECT_NE(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(rig.device().position(), 0);
    EXPECT_TRUE(rig.view().play);
    EXPECT_FALSE(rig.view().pause);
    EXPECT_EQ(rig.view().trackBar.position, 0);
    EXPECT_EQ(rig.device().timeFormat(), media::TimeFormat::Milliseconds);

    // With nothing open it only resets the synthesizer.
    test::CoreRig idle;
    idle.engine().MIDIResetNowClick();
    EXPECT_FALSE(idle.device().isOpen());
}

TEST_F(Transport, ReplayStartsTheSongAgainFromItsBeginning) {
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    start(rig, {song("a.mid", 2000)});
    rig.engine().SpdBtnPlayClick();
    vorlo::testing::runFor(rig.device(), 500);
    ASSERT_GE(rig.device().position(), 400);
    rig.engine().PopReplayClick();
    EXPECT_EQ(rig.device().mode(), media::Mode::Playing);
    EXPECT_EQ(rig.device().position(), 0);
    EXPECT_TRUE(rig.state().playWanted);
}

TEST_F(Transport, AStoppedPlayReportsButNothingAdvances) {
    test::CoreRig rig;
    const QStringList songs{song("a.mid", 2000), song("b.mid")};
    start(rig, songs);
    vorlo::testing::runFor(rig.device(), 100);
    rig.engine().SpdBtnStopClick();
    test::CoreRig::settle();  // the aborted play's report
    EXPECT_EQ(rig.state().openFile, songs[0]);
    EXPECT_EQ(playing(rig), QString());
    EXPECT_TRUE(rig.view().play);
}

class TheWait : public Transport {
protected:
    // Plays a.mid to its end with a wait of three seconds before b.mid.
    void SetUp() override {
        rig_.options.wait = 3;
        rig_.modes.setLoop(false);
        songs_ = {song("a.mid", 200), song("b.mid", 200)};
        start(rig_, songs_);
        ASSERT_EQ(playing(rig_), songs_[0]);
        rig_.playToEnd();
    }
    test::CoreRig rig_;
    QStringList songs_;
};

TEST_F(TheWait, CountsItsSecondsOnItsOwnTimerThenTheNextEntryPlays) {
    QSignalSpy caption(&rig_.engine(), &PlaybackEngine::captionChanged);
    // The end report started it.
    ASSERT_EQ(rig_.state().wait, WaitPhase::Counting);
    EXPECT_TRUE(rig_.engine().waitTimerActive());
    EXPECT_FALSE(rig_.position().timerActive());
    EXPECT_FALSE(rig_.view().switchCounter);
    EXPECT_EQ(rig_.view().counter, (CounterReading{0, 0}));  // elapsed time counts up from 0

    rig_.engine().waitTick();
    rig_.engine().waitTick();
    EXPECT_EQ(rig_.view().counter, (CounterReading{0, 2}));
    EXPECT_EQ(rig_.state().waitRemaining, 1);
    EXPECT_EQ(rig_.state().openFile, songs_[0]);

    rig_.engine().waitTick();
    EXPECT_EQ(rig_.state().wait, WaitPhase::None);
    EXPECT_FALSE(rig_.engine().waitTimerActive());
    EXPECT_EQ(playing(rig_), songs_[1]);
    EXPECT_TRUE(rig_.view().switchCounter);
    EXPECT_TRUE(captions(caption).last().startsWith("b.mid - 0:00"));
}

TEST_F(Transport, TheWaitCountsDownInRemainingTimeUnderItsCaption) {
    test::CoreRig rig;
    rig.options.wait = 1;
    rig.options.timeCount = 1;
    QSignalSpy caption(&rig.engine(), &PlaybackEngine::captionChanged);
    start(rig, {song("c.mid", 200), song("d.mid", 200)});
    rig.playToEnd();
    EXPECT_TRUE(captions(caption).contains("Waiting 1 second"));
    EXPECT_EQ(rig.view().counter, (CounterReading{0, 1}));
    EXPECT_EQ(rig.view().counterColour, colours::kRed);
}

TEST_F(TheWait, StopEndsItWithoutPlayingTheNextEntryAndTheCounterSwitchesAgain) {
    rig_.engine().SpdBtnStopClick();
    EXPECT_EQ(rig_.state().wait, WaitPhase::None);
    EXPECT_FALSE(rig_.engine().waitTimerActive());
    rig_.engine().waitTick();
    EXPECT_EQ(rig_.state().openFile, songs_[0]);
    EXPECT_EQ(playing(rig_), QString());
    EXPECT_TRUE(rig_.view().play);
    const int mode = rig_.options.timeCount;
    rig_.position().TimeLabelClick(true);
    EXPECT_NE(rig_.options.timeCount, mode);
}

TEST_F(TheWait, PauseFreezesItSoItNoLongerEndsByItself) {
    rig_.engine().SpdBtnPauseClick();
    EXPECT_EQ(rig_.state().wait, WaitPhase::Frozen);
    EXPECT_FALSE(rig_.engine().waitTimerActive());
    for (int i = 0; i < 5; ++i) rig_.engine().waitTick();
    EXPECT_EQ(rig_.state().wait, WaitPhase::Frozen);
    EXPECT_EQ(rig_.state().openFile, songs_[0]);
    EXPECT_TRUE(rig_.view().stop);

    // Stop ends a frozen wait too, and the counter can be switched again.
    rig_.engine().SpdBtnStopClick();
    EXPECT_EQ(rig_.state().wait, WaitPhase::None);
    EXPECT_EQ(rig_.state().openFile, songs_[0]);
    EXPECT_TRUE(rig_.view().switchCounter);
}

TEST_F(TheWait, ForwardSkipsTheRestOfIt) {
    rig_.engine().waitTick();
    rig_.position().StepForward();
    EXPECT_EQ(rig_.state().wait, WaitPhase::None);
    EXPECT_EQ(playing(rig_), songs_[1]);
    EXPECT_TRUE(rig_.position().timerActive());
}

TEST_F(Transport, PlayingAChosenEntryFollowsAutoAndAHandedOverOnePlaysAnyway) {
    test::CoreRig rig;
    const QStringList songs{song("a.mid", 2000), song("b.mid", 2000), song("c.mid", 2000)};
    start(rig, songs);
    ASSERT_EQ(playing(rig), songs[0]);
    rig.playlist().selectLine(2);
    rig.core().editor().SongListDblClick();
    EXPECT_EQ(playing(rig), songs[2]);
    EXPECT_EQ(rig.playlist().CurrentIndex(), 2);

    // Without Auto a chosen entry is opened and waits; a handed-over one plays at once.
    rig.modes.setAuto(false);
    rig.playlist().selectLine(1);
    rig.core().editor().SongListDblClick();
    EXPECT_EQ(rig.state().openFile, songs[1]);
    EXPECT_EQ(playing(rig), QString());
    EXPECT_TRUE(rig.view().play);
    rig.engine().playEntry(0, PlayRequest::HandOver);
    EXPECT_EQ(playing(rig), songs[0]);
    EXPECT_EQ(rig.playlist().selectedLine(), 0);
}

TEST_F(Transport, RemovingThePlayingEntryPlaysTheNextAndNeverEndsTheProgram) {
    test::CoreRig rig;
    rig.options.listClose = true;  // the end of the list would end the program
    rig.modes.setLoop(false);
    const QStringList songs{song("a.mid", 2000), song("b.mid", 2000), song("c.mid", 2000)};
    start(rig, songs);
    QSignalSpy close(&rig.engine(), &PlaybackEngine::closeRequested);
    rig.playlist().selectLine(0);
    rig.core().editor().BtnRemoveClick();
    EXPECT_EQ(playing(rig), songs[1]);

    rig.engine().playEntry(1, PlayRequest::UserChoice);  // the last entry
    ASSERT_EQ(playing(rig), songs[2]);
    rig.playlist().selectLine(1);
    rig.core().editor().BtnRemoveClick();
    EXPECT_EQ(close.count(), 0);
    EXPECT_EQ(rig.state().openFile, songs[1]);
    EXPECT_EQ(rig.playlist().selectedLine(), 0);
}

TEST_F(Transport, NothingPlayableInTheListRemovesEveryEntryClosesTheListAndSaysSo) {
    test::CoreRig rig;
    QStringList broken;
    for (const char* name : {"x.mid", "y.wav"}) {
        QFile file(dir_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no medium");
        broken << file.fileName();
    }
    rig.core().fileNames().saveFileName = dir_.filePath("Broken.mpl");
    rig.core().lists().setListOpen(true);
    boxes_.expect("Error - " + dir_.filePath("Broken.mpl"), "Cannot play any file in this playlist.", BoxIcon::Error,
                  BoxButtons::Ok, BoxButton::Ok);
    start(rig, broken);
    EXPECT_TRUE(rig.playlist().isEmpty());
    EXPECT_FALSE(rig.device().isOpen());
    EXPECT_FALSE(rig.core().lists().listOpen());
    EXPECT_EQ(rig.core().fileNames().saveFileName, "*.mpl");
    EXPECT_EQ(boxes_.pending(), 0u);
}

TEST_F(Transport, TheNoticeOfMissingSoundComesOnceARunWhateverTheMedium) {
    media::MediaSettings settings = vorlo::testing::offlineSettings();
    settings.audioMode = media::AudioMode::Device;
    settings.audioDriverOrder = {"no-such-output"};
    test::CoreRig rig(settings);
    rig.modes.autoPlay = false;
    const QString wave = dir_.filePath("w.wav");
    ASSERT_TRUE(vorlo::testing::writeWave(wave, 0x0002, 2, 44100, 4410, vorlo::testing::testTone));  // 16-bit PCM
    boxes_.expect("Warning - Sound Output",
                  "No audio output could be opened (tried no-such-output). Songs play on silently.", BoxIcon::Warning,
                  BoxButtons::Ok, BoxButton::Ok);
    start(rig, {song("a.mid"), wave, song("b.mid")});
    test::CoreRig::settle();
    rig.engine().SpdBtnNextClick();  // the wave's own output finds no sound device either
    test::CoreRig::settle();
    rig.engine().SpdBtnNextClick();
    test::CoreRig::settle();
    EXPECT_EQ(rig.state().openFile, dir_.filePath("b.mid"));
    EXPECT_EQ(boxes_.shown().size(), 1u);
}

// Wave files in Loop without a sound card: each file's output finds none, the list goes round and round, and the
// user is told once.
TEST_F(Transport, WaveFilesInLoopWithoutASoundCardRaiseOneNotice) {
    media::MediaSettings settings = vorlo::testing::offlineSettings();
    settings.audioMode = media::AudioMode::Device;
    settings.audioDriverOrder = {"no-such-output"};
    test::CoreRig rig(settings);
    rig.modes.autoPlay = true;
    rig.modes.setLoop(true);
    QStringList waves;
    for (int i = 0; i < 3; ++i) {
        waves << dir_.filePath(QString("w%1.wav").arg(i));
        // A header without sound, as the hostile list had it, and short tones.
        ASSERT_TRUE(
            vorlo::testing::writeWave(waves.last(), 0x0002, 2, 44100, i == 0 ? 0 : 441, vorlo::testing::testTone));
    }
    boxes_.expect("Warning - Sound Output",
                  "No audio output could be opened (tried no-such-output). Songs play on silently.", BoxIcon::Warning,
                  BoxButtons::Ok, BoxButton::Ok);
    start(rig, waves);
    QStringList opened;
    for (int change = 0; change < 90; ++change) {
        test::CoreRig::settle();
        opened << rig.state().openFile;
        rig.engine().SpdBtnNextClick();
    }
    test::CoreRig::settle();
    // The empty wave may end on its own while events pass and move the list on: every file came round often.
    for (const QString& wave : waves) EXPECT_GE(opened.count(wave), 20) << qPrintable(wave);
    EXPECT_EQ(boxes_.shown().size(), 1u);
}

}  // namespace
