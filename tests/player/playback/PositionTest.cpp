#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSTrackBar.h"
#include "core/settings/Options.h"
#include "os/Registry.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/TFormPlayer.h"
#include "player/playlist/PlaylistPanel.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

// The counter and the track bar on the real window, over a song opened on the real media device.
class PositionTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        storeOptions([](Registry& reg) {
            reg.writeString("RESETFILE", "");
            reg.writeBool("AutoPlay", false);
            reg.writeBool("TimeCount", true);  // remaining time
        });
        const QString song = dir_.path() + "/song.mid";
        ASSERT_TRUE(test::writeSong(song, 185000));  // 3:05
        form_ = std::make_unique<TFormPlayer>(dir_.path(), nullptr, test::silentDevice());
        ASSERT_TRUE(form_->FormCreate({}));
        Playlist& playlist = form_->playlistPanel().playlist();
        playlist.append({song, "song.mid", false});
        playlist.MarkListSaved();
        playlist.setCurrentIndex(0);
        ASSERT_TRUE(form_->engine().OpenCurrentEntry());
        form_->engine().ShowStoppedButtons();
    }
    void TearDown() override {
        form_.reset();
        PlayerSandbox::TearDown();
    }
    PlayerControls& ui() { return form_->controls(); }
    QString counter() {
        return QString("%1:%2").arg(ui().minutes->Value()).arg(ui().seconds->Value(), 2, 10, QChar('0'));
    }
    // Drags the thumb as a person does: press, move, release.
    void dragThumbTo(int second) {
        emit ui().trackBar->OnMouseDown(ui().trackBar, Qt::LeftButton, {}, {});
        ui().trackBar->setValue(second);
        emit ui().trackBar->OnMouseUp(ui().trackBar, Qt::LeftButton, {}, {});
    }
    std::unique_ptr<TFormPlayer> form_;
};

TEST_F(PositionTest, RemainingTimeShowsTheWholeLengthInRedThenElapsedShowsNothingPlayedInLime) {
    form_->positionDisplay().ThreadedTimerTimer();
    EXPECT_EQ(counter(), "3:05");
    EXPECT_EQ(ui().seconds->Color1(), PlayerControls::kRed);
    QTest::mouseClick(ui().counterLabel, Qt::LeftButton);
    EXPECT_EQ(counter(), "0:00");
    EXPECT_EQ(ui().seconds->Color1(), PlayerControls::kLime);
    EXPECT_EQ(ui().minutes->Color1(), PlayerControls::kLime);
    EXPECT_EQ(form_->options().timeCount, 0);
    EXPECT_EQ(ui().trackBar->maximum(), 185);
}

TEST_F(PositionTest, DraggingWhileStoppedMovesOnlyTheStartThenPlayStartsThere) {
    dragThumbTo(120);
    EXPECT_EQ(counter(), "1:05");  // remaining from the thumb
    EXPECT_NE(form_->device().mode(), media::Mode::Playing);
    EXPECT_EQ(form_->device().position(), 120000);
    form_->playerActions().play->trigger();
    QTest::qWait(300);
    EXPECT_EQ(form_->device().mode(), media::Mode::Playing);
    EXPECT_GE(form_->device().position(), 120000);
    EXPECT_LT(form_->device().position(), 125000);
}

TEST_F(PositionTest, DraggingWhilePlayingRestartsFromTheDroppedSecondAndKeepsTheEnd) {
    form_->playerActions().play->trigger();
    QTest::qWait(200);
    dragThumbTo(60);
    EXPECT_EQ(form_->device().mode(), media::Mode::Playing);
    EXPECT_GE(form_->device().position(), 60000);
    EXPECT_EQ(form_->engine().playEndPosition(), 185000);
    EXPECT_TRUE(form_->positionDisplay().timerActive());
}

TEST_F(PositionTest, TheTrackBarSelectionShowsWhatRemainsOfTheSong) {
    TSTrackBar& bar = *ui().trackBar;
    EXPECT_EQ(std::pair(bar.selStart(), bar.selEnd()), std::pair(0, 185));
    dragThumbTo(120);  // stopped: the thumb and the selection's start move together
    EXPECT_EQ(std::pair(bar.selStart(), bar.selEnd()), std::pair(120, 185));
    form_->playerActions().play->trigger();
    form_->device().seek(150000);
    form_->positionDisplay().ThreadedTimerTimer();  // playing: the timer moves both
    EXPECT_EQ(bar.value(), 150);
    EXPECT_EQ(std::pair(bar.selStart(), bar.selEnd()), std::pair(150, 185));
    form_->playerActions().stop->trigger();  // stopped and rewound: the whole song remains
    EXPECT_EQ(std::pair(bar.selStart(), bar.selEnd()), std::pair(0, 185));
    form_->core().editor().FileClearListClick();  // nothing open: nothing selected
    EXPECT_EQ(std::pair(bar.selStart(), bar.selEnd()), std::pair(0, 0));
}

TEST_F(PositionTest, ForwardStepsBySkipSecondsAndStopsAtTheEnd) {
    form_->options().skip = 7;
    ui().forward->pressed();
    ui().forward->released();
    EXPECT_EQ(form_->device().position(), 7000);
    form_->device().seek(182000);
    form_->positionDisplay().StepForward();
    EXPECT_EQ(form_->device().position(), 185000);
    form_->positionDisplay().StepBack();
    EXPECT_EQ(form_->device().position(), 178000);
}

}  // namespace
