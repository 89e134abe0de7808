// The synthesizer's settings changed while a song plays: another soundfont, gain and effects.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

#include "MediaFixtures.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

using media::MIDIPlayer;
using media::Mode;
using media::NotifyValue;

const char* const kOtherSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

// How far apart two renderings are: the mean absolute difference of their samples.
double difference(const RenderedAudio& a, const RenderedAudio& b) {
    const std::size_t frames = std::min(a.left.size(), b.left.size());
    double sum = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
        sum += std::fabs(a.left[i] - b.left[i]) + std::fabs(a.right[i] - b.right[i]);
    return frames == 0 ? 0.0 : sum / static_cast<double>(2 * frames);
}

// Two devices play the same song side by side: one keeps its settings, the other is changed halfway.
class SynthSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        song = dir.filePath("song.mid");
        ASSERT_TRUE(writeMidiSong(song, 2000));
        for (MIDIPlayer* player : {&kept, &changed}) {
            player->setFileName(song);
            player->open();
            player->play();
            runFor(*player, 500);
        }
    }

    QTemporaryDir dir;
    QString song;
    MIDIPlayer kept{offlineSettings()};
    MIDIPlayer changed{offlineSettings()};
    Reports reports{changed};
};

TEST_F(SynthSettingsTest, AnotherSoundfontSoundsAtOnceAndTheSongGoesOnFromWhereItWas) {
    if (!QFile::exists(kOtherSoundFont)) GTEST_SKIP() << kOtherSoundFont << " is not installed (fluid-soundfont-gm)";
    const std::int64_t before = changed.position();
    media::MediaSettings wanted = changed.synthHost().settings();
    wanted.soundFontPath = kOtherSoundFont;
    changed.applySynthSettings(wanted);
    EXPECT_EQ(changed.mode(), Mode::Playing);
    EXPECT_EQ(changed.position(), before);

    const RenderedAudio same = runFor(kept, 400);
    const RenderedAudio other = runFor(changed, 400);
    EXPECT_GT(other.peak(), 0.01);
    EXPECT_GT(difference(same, other), 0.1 * (same.peak() + other.peak()) / 20);
    EXPECT_EQ(changed.position(), kept.position());

    // The play goes on to its end and reports once, as the play it was.
    runToStop(changed);
    ASSERT_TRUE(reports.waitFor(1));
    reports.settle();
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
    EXPECT_EQ(changed.position(), 2000);
}

TEST_F(SynthSettingsTest, GainAndEffectsChangeInPlace) {
    media::MediaSettings wanted = changed.synthHost().settings();
    wanted.synthGain = 0.2;  // against the 0.65 that suits the small soundfont
    wanted.reverb = false;
    changed.applySynthSettings(wanted);
    // Notes already sounding keep a little of the gain they started with: compare the notes after.
    runFor(kept, 300);
    runFor(changed, 300);
    const RenderedAudio loud = runFor(kept, 400);
    const RenderedAudio soft = runFor(changed, 400);
    EXPECT_LT(soft.peak(), loud.peak() * 0.5);
    EXPECT_GT(soft.peak(), 0.0);
    EXPECT_EQ(changed.position(), kept.position());
    // Stopping the song and changing the soundfont keeps it stopped where it was, with no report.
    if (!QFile::exists(kOtherSoundFont)) return;
    changed.stop();
    reports.settle();
    reports.values.clear();
    const std::int64_t at = changed.position();
    wanted.soundFontPath = kOtherSoundFont;
    changed.applySynthSettings(wanted);
    EXPECT_EQ(changed.mode(), Mode::Stopped);
    EXPECT_EQ(changed.position(), at);
    reports.settle();
    EXPECT_TRUE(reports.values.empty());
}

TEST_F(SynthSettingsTest, ASoundfontThatCannotBeReadIsRefusedAndTheSongPlaysOnAsBefore) {
    const std::int64_t before = changed.position();
    media::MediaSettings wanted = changed.synthHost().settings();
    const std::string previous = wanted.soundFontPath;
    const QString broken = dir.filePath("broken.sf2");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("RIFF not a soundfont at all");
    file.close();
    wanted.soundFontPath = broken.toStdString();
    try {
        changed.applySynthSettings(wanted);
        ADD_FAILURE() << "a broken soundfont was taken";
    } catch (const media::EMCIDeviceError& error) {
        EXPECT_NE(std::string(error.what()).find("cannot start"), std::string::npos) << error.what();
    }
    EXPECT_EQ(changed.synthHost().settings().soundFontPath, previous);
    EXPECT_EQ(changed.mode(), Mode::Playing);
    EXPECT_EQ(changed.position(), before);
    EXPECT_GT(runFor(changed, 300).peak(), 0.01);
    runToStop(changed);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
}

}  // namespace
}  // namespace vorlo::testing
