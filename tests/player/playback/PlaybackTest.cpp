#include "controls/TLabel2.h"
#include "media/MIDIPlayer.h"
#include "os/Registry.h"
#include "player/app/PlayerActions.h"
#include "player/app/PlayerControls.h"
#include "player/app/TFormPlayer.h"
#include "player/playlist/PlaylistPanel.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class PlaybackTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        storeOptions([](Registry& reg) {
            reg.writeString("RESETFILE", "");  // no reset unless a test asks for one
            reg.writeBool("LoopPlay", false);
        });
    }
    void TearDown() override {
        form_.reset();
        PlayerSandbox::TearDown();
    }
    QString song(const QString& name, int lengthMs = 250) {
        const QString path = dir_.path() + "/" + name;
        EXPECT_TRUE(test::writeSong(path, lengthMs));
        return path;
    }
    // The real window on the real media device, paced by a silent clock: no sound card needed.
    TFormPlayer& makeForm(const QStringList& arguments = {},
                          std::unique_ptr<media::MIDIPlayer> device = test::silentDevice()) {
        form_ = std::make_unique<TFormPlayer>(dir_.path(), nullptr, std::move(device));
        EXPECT_TRUE(form_->FormCreate(arguments));
        QObject::connect(form_.get(), &QWidget::windowTitleChanged, [this](const QString& title) {
            if (title.endsWith(" - MIDI Vorlo")) songs_ << title.section(" - ", 0, 0);
            captions_ << title;
        });
        return *form_;
    }
    void fill(const QStringList& paths, std::initializer_list<int> checked = {}) {
        Playlist& playlist = form_->playlistPanel().playlist();
        for (const QString& path : paths) playlist.append({path, path.section('/', -1), false});
        for (int i : checked) playlist.setChecked(i, true);
        playlist.setCurrentIndex(-1);
        playlist.MarkListSaved();  // as if it came from its list file
    }
    bool stoppedReady() {
        return form_->controls().play->isEnabled() && form_->device().mode() != media::Mode::Playing;
    }
    std::unique_ptr<TFormPlayer> form_;
    QStringList songs_;
    QStringList captions_;
};

TEST_F(PlaybackTest, InOrderACheckedEntryIsSkippedAndTheListStopsReadyOnTheFirst) {
    TFormPlayer& form = makeForm();
    fill({song("a.mid"), song("b.mid"), song("c.mid")}, {1});
    form.engine().ShowPlayingButtons();
    form.engine().EntryFinished();  // what adding to an empty list does with Auto on
    ASSERT_TRUE(QTest::qWaitFor([&] { return songs_.size() >= 3 && stoppedReady(); }, 8000))
        << songs_.join(",").toStdString();
    EXPECT_EQ(songs_, (QStringList{"a.mid", "c.mid", "a.mid"}));  // the last one is opened, not played
    EXPECT_EQ(form.playlistPanel().playlist().CurrentIndex(), 0);
    EXPECT_TRUE(form.device().isOpen());
}

TEST_F(PlaybackTest, WithoutASoundDeviceTheListPlaysOnAndTheUserIsToldOnce) {
    // An output that cannot open stands for a machine without a sound card.
    media::MediaSettings settings;
    settings.audioDriverOrder = {"no-such-output"};
    TFormPlayer& form = makeForm({}, std::make_unique<media::MIDIPlayer>(settings));
    boxes_.expect("Warning - Sound Output",
                  "No audio output could be opened (tried no-such-output). Songs play on silently.", BoxIcon::Warning,
                  BoxButtons::Ok, BoxButton::Ok);
    fill({song("a.mid"), song("b.mid")});
    form.engine().ShowPlayingButtons();
    form.engine().EntryFinished();
    ASSERT_TRUE(QTest::qWaitFor([&] { return songs_.size() >= 3 && stoppedReady(); }, 8000))
        << songs_.join(",").toStdString();
    EXPECT_EQ(songs_, (QStringList{"a.mid", "b.mid", "a.mid"}));
    EXPECT_EQ(boxes_.pending(), 0U);  // one box for the three openings
}

TEST_F(PlaybackTest, WithLoopTheListGoesRoundUntilStopped) {
    TFormPlayer& form = makeForm({"/mode", "+l"});
    fill({song("a.mid"), song("b.mid"), song("c.mid")}, {1});
    form.engine().ShowPlayingButtons();
    form.engine().EntryFinished();
    ASSERT_TRUE(QTest::qWaitFor([&] { return songs_.size() >= 4; }, 8000));
    form.engine().SpdBtnStopClick();
    EXPECT_EQ(songs_.mid(0, 4), (QStringList{"a.mid", "c.mid", "a.mid", "c.mid"}));
    EXPECT_TRUE(stoppedReady());
}

TEST_F(PlaybackTest, StopDuringAWaitEndsItWithoutPlayingTheNextEntry) {
    {
        Registry reg;
        reg.openKey("\\SOFTWARE\\Brackwen\\MIDI Vorlo\\Options", false);
        reg.writeInteger("WAIT", 1);
    }
    TFormPlayer& form = makeForm();
    fill({song("a.mid"), song("b.mid")});
    form.engine().ShowPlayingButtons();
    form.engine().EntryFinished();
    ASSERT_TRUE(QTest::qWaitFor([&] { return captions_.contains("Waiting 1 second"); }, 5000));
    EXPECT_TRUE(form.engine().waitCounting());
    form.playerActions().stop->trigger();
    EXPECT_FALSE(form.engine().waitCounting());
    QTest::qWait(1500);
    EXPECT_EQ(songs_.last(), "a.mid");
    EXPECT_FALSE(songs_.contains("b.mid"));
    EXPECT_TRUE(stoppedReady());
    // The counter can be switched again after the wait.
    const int mode = form.options().timeCount;
    QTest::mouseClick(form.controls().counterLabel, Qt::LeftButton);
    EXPECT_NE(form.options().timeCount, mode);
}

TEST_F(PlaybackTest, PauseThenPlayGoesOnFromThereToTheEntrysEnd) {
    TFormPlayer& form = makeForm({"/mode", "-a"});
    fill({song("long.mid", 900)});
    form.playlistPanel().playlist().setCurrentIndex(0);
    ASSERT_TRUE(form.engine().OpenCurrentEntry());
    form.engine().ShowStoppedButtons();
    form.playerActions().play->trigger();
    QTest::qWait(300);
    form.playerActions().pause->trigger();
    ASSERT_EQ(form.device().mode(), media::Mode::Stopped);
    const std::int64_t paused = form.device().position();
    EXPECT_GT(paused, 100);
    form.playerActions().pause->trigger();  // continue
    QTest::qWait(50);
    EXPECT_EQ(form.device().mode(), media::Mode::Playing);
    EXPECT_GE(form.device().position(), paused);
    // Auto is off: the end rewinds and waits, ready.
    ASSERT_TRUE(QTest::qWaitFor([&] { return stoppedReady(); }, 5000));
    EXPECT_EQ(form.device().position(), 0);
}

TEST_F(PlaybackTest, ThreeUnplayableFilesAreRemovedAndTheListIsClosed) {
    TFormPlayer& form = makeForm();
    QStringList broken;
    for (const char* name : {"x.mid", "y.mid", "z.mid"}) {
        QFile f(dir_.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a MIDI file");
        broken << f.fileName();
    }
    boxes_.expect("Error!", "Cannot play any file in this playlist.", BoxIcon::Error, BoxButtons::Ok, BoxButton::Ok);
    fill(broken);
    form.engine().EntryFinished();
    EXPECT_TRUE(form.playlistPanel().playlist().isEmpty());
    EXPECT_FALSE(form.device().isOpen());
    EXPECT_TRUE(captions_.contains("Can't play file. Remove z.mid Now..."));
}

TEST_F(PlaybackTest, CaptionTitleAndResetNameWhileOpening) {
    QDir(dir_.path()).mkpath("Reset");
    ASSERT_TRUE(test::writeSong(dir_.path() + "/Reset/Gm_reset.mid", 10));
    TFormPlayer& form = makeForm({"/mode", "-a"});
    form.options().resetFile = dir_.path() + "//Reset//Gm_reset.mid";
    const QString longName = QString(60, 'n') + ".mid";
    fill({song(longName, 2000)});
    form.playlistPanel().playlist().setCurrentIndex(0);
    ASSERT_TRUE(form.engine().OpenCurrentEntry());
    ASSERT_GE(captions_.size(), 2);
    EXPECT_EQ(captions_[captions_.size() - 2], "GM Reset");
    const QString caption = longName + " - 0:02 - MIDI Vorlo";
    EXPECT_EQ(captions_.last(), caption);
    EXPECT_EQ(form.applicationTitle(), caption.left(60) + "...");
}

TEST_F(PlaybackTest, TheStoredCloseAtEndOptionEndsThePlayerAfterTheLastEntry) {
    storeOptions([](Registry& reg) { reg.writeBool("LISTCLOSE", true); });
    TFormPlayer& form = makeForm({"/mode", "+l"});
    fill({song("a.mid"), song("b.mid")});
    form.engine().ShowPlayingButtons();
    form.engine().EntryFinished();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.closeConfirmed(); }, 8000)) << songs_.join(",").toStdString();
    EXPECT_EQ(songs_, (QStringList{"a.mid", "b.mid"}));  // even with Loop on, nothing asked
}

TEST_F(PlaybackTest, StartedToPlayAndCloseThePlayerEndsWhenTheSongHasFinished) {
    const QString file = song("only.mid", 300);
    TFormPlayer& form = makeForm({"/play", "/close", file});
    EXPECT_TRUE(form.closeAfterPlay());
    EXPECT_EQ(form.device().mode(), media::Mode::Playing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.closeConfirmed(); }, 5000));
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
