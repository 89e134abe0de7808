// Wave files of every encoding come out of the wave device as the samples they hold.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "MediaFixtures.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"

namespace vorlo::testing {
namespace {

double rmsError(const std::vector<float>& heard, int channel, int firstFrame, std::size_t frames) {
    double sum = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double difference = heard.at(i) - testTone(firstFrame + static_cast<int>(i), channel);
        sum += difference * difference;
    }
    return std::sqrt(sum / static_cast<double>(frames));
}

TEST(WaveAudioDevice, EveryEncodingPlaysTheSamplesItHolds) {
    const struct {
        int subtype;
        double tolerance;  // root-mean-square error against the written tone
    } encodings[] = {{SF_FORMAT_PCM_U8, 0.01},  {SF_FORMAT_PCM_16, 0.001},   {SF_FORMAT_PCM_24, 0.001},
                     {SF_FORMAT_PCM_32, 0.001}, {SF_FORMAT_FLOAT, 0.0001},   {SF_FORMAT_ULAW, 0.02},
                     {SF_FORMAT_ALAW, 0.02},    {SF_FORMAT_IMA_ADPCM, 0.05}, {SF_FORMAT_MS_ADPCM, 0.05}};
    for (const auto& encoding : encodings) {
        SCOPED_TRACE(encoding.subtype);
        QTemporaryDir dir;
        const QString path = dir.filePath("tone.wav");
        const int frames = 44100 / 4;
        ASSERT_TRUE(writeWave(path, encoding.subtype, 2, 44100, frames, testTone));
        media::MIDIPlayer player(offlineSettings());
        player.setFileName(path);
        player.open();
        // ADPCM fills its last block, so the file holds a little more than was written.
        EXPECT_GE(player.length(), 250);
        EXPECT_LE(player.length(), 300);
        player.play();
        const RenderedAudio audio = runToStop(player);
        EXPECT_LT(rmsError(audio.left, 0, 0, frames), encoding.tolerance);
        EXPECT_LT(rmsError(audio.right, 1, 0, frames), encoding.tolerance);
    }
}

TEST(WaveAudioDevice, MonoIsHeardOnBothSidesFromTheStartPosition) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mono.wav");
    ASSERT_TRUE(writeWave(path, SF_FORMAT_PCM_16, 1, 22050, 22050 / 2, testTone));
    media::MIDIPlayer player(offlineSettings());
    player.setFileName(path);
    player.open();
    EXPECT_EQ(player.length(), 500);
    player.setStartPos(100);
    player.play();
    const RenderedAudio audio = runFor(player, 20);
    EXPECT_LT(rmsError(audio.left, 0, 2205, audio.left.size()), 0.001);  // 100 ms at 22050 Hz
    EXPECT_EQ(audio.left, audio.right);
}

TEST(WaveAudioDevice, AFileCutShortWhilePlayingEndsInFailure) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cut.wav");
    ASSERT_TRUE(writeWave(path, SF_FORMAT_PCM_16, 2, 44100, 44100 / 2, testTone));
    media::MIDIPlayer player(offlineSettings());
    Reports reports(player);
    player.setFileName(path);
    player.open();
    ASSERT_TRUE(QFile::resize(path, 44 + 4 * 4410));  // the header and 100 ms are left
    player.play();
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values, std::vector{media::NotifyValue::Failure});
    EXPECT_EQ(player.position(), 100);
}

// libsndfile's own texts end in a full stop; the message still ends in one.
TEST(WaveAudioDevice, AFileThatIsNoWaveIsRefusedInOneSentence) {
    QTemporaryDir dir;
    const QString path = dir.filePath("noise.wav");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("garbage garbage garbage garbage garbage");
    file.close();
    media::MIDIPlayer player(offlineSettings());
    player.setFileName(path);
    try {
        player.open();
        FAIL() << "opened";
    } catch (const media::EMCIDeviceError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open \"" + path.toStdString() + "\" as wave audio: Format not recognised.");
    }
}

// Without a sound card every wave file's own output finds none: the device tells it once a run, never once a file,
// so a list of wave files in Loop cannot pile up warnings.
TEST(WaveAudioDevice, TheMissingOutputIsToldOnceARunHoweverManyFilesFindIt) {
    QTemporaryDir dir;
    media::MediaSettings settings = offlineSettings();
    settings.audioMode = media::AudioMode::Device;
    settings.audioDriverOrder = {"no-such-output"};
    media::MIDIPlayer player(settings);
    const QString tone = dir.filePath("tone.wav");
    const QString headerOnly = dir.filePath("empty.wav");
    ASSERT_TRUE(writeWave(tone, 0x0002, 2, 44100, 441, testTone));
    ASSERT_TRUE(writeWave(headerOnly, 0x0002, 2, 44100, 0, testTone));
    int notices = 0;
    for (int round = 0; round < 60; ++round) {
        player.setFileName(round % 2 ? tone : headerOnly);
        player.open();
        player.play();
        if (!player.takeOutputNotice().isEmpty()) ++notices;
        player.close();
    }
    EXPECT_EQ(notices, 1);
}

}  // namespace
}  // namespace vorlo::testing
