#include "core/lyrics/LyricsSettings.h"
#include "media/MIDIPlayer.h"
#include "midi/SmfWriter.h"
#include "os/Registry.h"
#include "player/app/PlayerActions.h"
#include "player/app/TFormPlayer.h"
#include "player/lyrics/LyricsWindow.h"
#include "player/playlist/PlaylistPanel.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class LyricsWindowTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        storeOptions([](Registry& reg) {
            reg.writeString("RESETFILE", "");
            reg.writeBool("AutoPlay", false);
            reg.writeBool("LoopPlay", false);
        });
    }
    void TearDown() override {
        form_.reset();
        PlayerSandbox::TearDown();
    }
    // Karaoke at 120 beats a minute: "Sing " at 0.5 s, "a " at 1 s, "song" at 1.5 s, then a paragraph "Once "
    // at 3 s and "more" at 3.5 s; the song sounds for 8 s.
    QString karaokeSong(const QString& name) {
        midi::SmfWriter writer(1, 96);
        writer.addTrack().tempo(0, 500000).note(0, 96 * 16, 0, 60, 90);
        writer.addTrack()
            .text(0, midi::MetaType::Text, "@KMIDI KARAOKE FILE")
            .text(0, midi::MetaType::Text, "@TTest Song")
            .text(0, midi::MetaType::Text, "@IMade by the test")
            .text(96, midi::MetaType::Text, "Sing ")
            .text(192, midi::MetaType::Text, "a ")
            .text(288, midi::MetaType::Text, "song")
            .text(576, midi::MetaType::Text, "\\Once ")
            .text(672, midi::MetaType::Text, "more");
        const QString file = path(name);
        EXPECT_TRUE(writer.writeTo(QFile::encodeName(file).toStdString()));
        return file;
    }
    TFormPlayer& start(const QStringList& files) {
        form_ = std::make_unique<TFormPlayer>(dir_.path(), nullptr, test::silentDevice());
        EXPECT_TRUE(form_->FormCreate({}));
        Playlist& playlist = form_->playlistPanel().playlist();
        for (const QString& file : files) playlist.append({file, file.section('/', -1), false});
        playlist.MarkListSaved();
        form_->engine().playEntry(0, PlayRequest::UserChoice);
        return *form_;
    }
    LyricsWindow& openLyrics() {
        form_->playerActions().lyrics->trigger();
        LyricsWindow& window = form_->lyricsWindow();
        EXPECT_TRUE(window.isVisible());
        return window;
    }

    std::unique_ptr<TFormPlayer> form_;
};

TEST_F(LyricsWindowTest, TheKeyOpensTheWindowThatHighlightsWhatIsSungAndFollowsPauseAndSeeks) {
    TFormPlayer& form = start({karaokeSong("song.kar")});
    const QAction* action = form.playerActions().lyrics;
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(action->text(), "&Lyrics");
    LyricsWindow& window = openLyrics();
    EXPECT_EQ(window.windowTitle(), "Lyrics - song.kar");
    EXPECT_EQ(window.titleText(), "Test Song");
    EXPECT_EQ(window.informationText(), "Made by the test");
    EXPECT_EQ(window.plainText(), "Sing a song\nOnce more");
    EXPECT_EQ(window.sungText(), "");

    form.playerActions().play->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.sungText() == "Sing a "; }, 8000))
        << window.sungText().toStdString();
    form.playerActions().pause->trigger();
    const QString paused = window.sungText();
    QTest::qWait(3 * LyricsWindow::kRefreshMs);
    EXPECT_EQ(window.sungText(), paused);
    // A seek to the second paragraph while paused shows its first word sung.
    form.positionDisplay().seekTo(3200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.shownPlace() == midi::LyricsPlace{1, 1}; }, 2000));
    EXPECT_EQ(window.sungText(), "Once ");
}

TEST_F(LyricsWindowTest, ASongWithoutLyricsSaysSoAndTheNextSongBringsItsOwn) {
    const QString plain = path("plain.mid");
    ASSERT_TRUE(test::writeSong(plain, 500));
    TFormPlayer& form = start({plain, karaokeSong("song.kar")});
    LyricsWindow& window = openLyrics();
    EXPECT_EQ(window.plainText(), "This song has no lyrics.");
    EXPECT_EQ(window.titleText(), "");
    form.playerActions().next->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.titleText() == "Test Song"; }, 5000));
    EXPECT_EQ(window.plainText(), "Sing a song\nOnce more");
}

TEST_F(LyricsWindowTest, TextSizeEncodingAndPlaceAreRememberedForTheNextRun) {
    start({karaokeSong("song.kar")});
    LyricsWindow& window = openLyrics();
    const int size = window.pointSize();
    QMenu* view = window.findChild<QMenu*>("LyricsView");
    ASSERT_NE(view, nullptr);
    view->actions().at(0)->trigger();  // "&Larger Text"
    EXPECT_EQ(window.pointSize(), size + 2);
    QMenu* encoding = window.findChild<QMenu*>("LyricsEncoding");
    ASSERT_NE(encoding, nullptr);
    QAction* cyrillic = nullptr;
    for (QAction* action : encoding->actions())
        if (action->text().contains("1251")) cyrillic = action;
    ASSERT_NE(cyrillic, nullptr);
    cyrillic->trigger();
    EXPECT_EQ(window.follower().charset(), midi::TextCharset::Windows1251);
    window.setGeometry(40, 50, 420, 330);
    window.close();

    const LyricsSettings kept = LyricsSettings::read();
    EXPECT_EQ(kept.pointSize, size + 2);
    EXPECT_EQ(kept.encoding, "cp1251");
    ASSERT_TRUE(kept.place.has_value());
    EXPECT_EQ(kept.place->width, 420);

    // The next run's window starts as this one ended.
    form_.reset();
    start({karaokeSong("song.kar")});
    LyricsWindow& again = openLyrics();
    EXPECT_EQ(again.pointSize(), size + 2);
    EXPECT_EQ(again.follower().charset(), midi::TextCharset::Windows1251);
    QMenu* menu = again.findChild<QMenu*>("LyricsEncoding");
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) EXPECT_EQ(action->isChecked(), action->text().contains("1251"));
}

// The sample song sings its first verse. VORLO_SCREENSHOT_DIR set: the window is saved there as a picture.
TEST_F(LyricsWindowTest, TheSampleSongHasWordsToShow) {
    const QString sample = QDir(qEnvironmentVariable("VORLO_PROGRAM_DIR")).filePath("A_Walk_to_Seashore.mid");
    if (!QFile::exists(sample)) GTEST_SKIP() << "the sample songs were not made";
    TFormPlayer& form = start({sample});
    LyricsWindow& window = openLyrics();
    EXPECT_TRUE(window.plainText().startsWith("Down the lane to the blue sea\nwaves are calling me\n"))
        << window.plainText().toStdString();
    // Two bars of sea at 96 beats a minute (5 s), then the verse; its second line begins 5 s later, and "call"
    // is sung at 11.25 s.
    form.positionDisplay().seekTo(11400);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.shownPlace().line == 1; }, 2000));
    EXPECT_EQ(window.sungText(), "waves are call");
    const QString folder = qEnvironmentVariable("VORLO_SCREENSHOT_DIR");
    if (!folder.isEmpty()) window.grab().save(QDir(folder).filePath("lyrics-window.png"));
}

}  // namespace
