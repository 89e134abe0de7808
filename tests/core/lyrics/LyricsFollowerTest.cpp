// The lyrics that follow the player: the real engine on the offline media device, songs written by the test.
#include "core/lyrics/LyricsFollower.h"
#include "core/lyrics/LyricsSettings.h"
#include "midi/SmfWriter.h"
#include "os/Registry.h"

#include "CoreRig.h"
#include "MediaFixtures.h"
#include "ScriptedMessageBoxes.h"
#include "TestMedia.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

class LyricsFollowerTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("VORLO_CONFIG_DIR", QFile::encodeName(dir_.filePath("config"))); }
    void TearDown() override { qunsetenv("VORLO_CONFIG_DIR"); }

    // A karaoke song at 120 beats a minute: "Hel" at 500 ms, "lo" at 1000, a new line "world" at 2000 and "Mir"
    // in Windows-1251 at 2500; a note keeps it sounding to 5 seconds.
    QString karaokeSong(const QString& name) {
        midi::SmfWriter writer(1, 96);
        writer.addTrack().tempo(0, 500000).note(0, 960, 0, 60, 90);
        writer.addTrack()
            .text(0, midi::MetaType::Text, "@KMIDI KARAOKE FILE")
            .text(0, midi::MetaType::Text, "@TLittle Song")
            .text(96, midi::MetaType::Text, "Hel")
            .text(192, midi::MetaType::Text, "lo ")
            .text(384, midi::MetaType::Text, "/world ")
            .text(480, midi::MetaType::Text, "\xcc\xe8\xf0");
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(writer.writeTo(QFile::encodeName(path).toStdString()));
        return path;
    }
    QString plainSong(const QString& name) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(test::writeSong(path, 1000));
        return path;
    }
    static std::string lineText(const LyricsFollower& follower, int line) {
        return follower.lyrics().lines.at(static_cast<std::size_t>(line)).text();
    }

    QTemporaryDir dir_;
    test::ScriptedMessageBoxes boxes_;
};

TEST_F(LyricsFollowerTest, FollowsPlayPauseSeeksAndTheNextSong) {
    test::CoreRig rig;
    rig.modes.autoPlay = true;
    const QString kar = karaokeSong("song.kar");
    rig.fill({kar, plainSong("plain.mid")});
    rig.engine().entriesArrived();
    LyricsFollower follower(rig.engine());
    QSignalSpy changes(&follower, &LyricsFollower::lyricsChanged);
    follower.setActive(true);
    ASSERT_EQ(follower.file(), kar);
    EXPECT_EQ(follower.lyrics().title, "Little Song");
    EXPECT_EQ(follower.place(), (midi::LyricsPlace{-1, 0}));

    vorlo::testing::runFor(rig.device(), 600);
    EXPECT_EQ(follower.place(), (midi::LyricsPlace{0, 1}));
    vorlo::testing::runFor(rig.device(), 500);
    EXPECT_EQ(follower.place(), (midi::LyricsPlace{0, 2}));

    // Paused, the place stands; a seek while paused moves it.
    rig.engine().SpdBtnPauseClick();
    ASSERT_TRUE(rig.state().paused);
    const midi::LyricsPlace paused = follower.place();
    rig.position().seekTo(2200);
    EXPECT_EQ(follower.place(), (midi::LyricsPlace{1, 1}));
    EXPECT_NE(follower.place(), paused);
    rig.position().seekTo(0);
    EXPECT_EQ(follower.place(), (midi::LyricsPlace{-1, 0}));

    // Another encoding reads the words again.
    EXPECT_EQ(lineText(follower, 1), "world \u00cc\u00e8\u00f0");
    follower.setCharset(midi::TextCharset::Windows1251);
    EXPECT_EQ(lineText(follower, 1), "world \u041c\u0438\u0440");

    // The next song has no words, and says so.
    const int before = static_cast<int>(changes.size());
    rig.engine().SpdBtnNextClick();
    EXPECT_GT(changes.size(), before);
    EXPECT_TRUE(follower.lyrics().empty());
    EXPECT_EQ(follower.absence(), "This song has no lyrics.");
}

TEST_F(LyricsFollowerTest, AnInactiveFollowerReadsNothingUntilTurnedOn) {
    test::CoreRig rig;
    rig.modes.autoPlay = false;
    const QString kar = karaokeSong("a.kar");
    rig.fill({plainSong("first.mid"), kar});
    rig.engine().entriesArrived();
    LyricsFollower follower(rig.engine());
    rig.engine().SpdBtnNextClick();
    EXPECT_TRUE(follower.file().isEmpty());
    follower.setActive(true);
    EXPECT_EQ(follower.file(), kar);
    EXPECT_EQ(follower.lyrics().lines.size(), 2u);
}

TEST_F(LyricsFollowerTest, ADamagedMidiFileSaysWhyItHasNoLyrics) {
    test::CoreRig rig;
    LyricsFollower follower(rig.engine());
    const QString song = plainSong("song.mid");
    rig.fill({song});
    rig.engine().entriesArrived();
    ASSERT_EQ(rig.state().openFile, song);
    // The file goes bad under the open device.
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("MThd");
    file.close();
    follower.setActive(true);
    EXPECT_TRUE(follower.lyrics().empty());
    EXPECT_TRUE(follower.absence().startsWith("The lyrics cannot be read: ")) << follower.absence().toStdString();
}

TEST_F(LyricsFollowerTest, SettingsAreKeptAndOddStoredValuesKeepTheirDefaults) {
    EXPECT_EQ(LyricsSettings::read(), LyricsSettings{});
    LyricsSettings settings;
    settings.place = LyricsSettings::Place{10, 20, 300, 400};
    settings.pointSize = 30;
    settings.encoding = "shift-jis";
    settings.save();
    EXPECT_EQ(LyricsSettings::read(), settings);

    Registry registry;
    ASSERT_TRUE(registry.openKey(LyricsSettings::kKey, false));
    registry.writeInteger("FontSize", 500);
    registry.writeString("Encoding", "klingon");
    registry.writeInteger("Width", 0);
    const LyricsSettings odd = LyricsSettings::read();
    EXPECT_EQ(odd.pointSize, LyricsSettings::kMaximumPointSize);
    EXPECT_EQ(odd.encoding, "auto");
    EXPECT_FALSE(odd.place.has_value());
}

}  // namespace
