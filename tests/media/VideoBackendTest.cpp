// Video reaches the media device only through the back end a program installs: linked in, or as the module that
// is loaded from the program folder when the first video is opened.
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "AviWriter.h"
#include "MediaFixtures.h"
#include "media/EMCIDeviceError.h"
#include "media/MIDIPlayer.h"
#include "media/VideoBackend.h"
#include "media/video/VideoPlayback.h"
#include "os/NativePath.h"

#include <cstdio>

namespace vorlo::testing {
namespace {

using media::MIDIPlayer;
using media::NotifyValue;

class VideoBackend : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        clip = dir.filePath("clip.avi");
        ASSERT_TRUE(writeMjpegAvi(clip, AviClip{.audioSampleRate = 8000}));
        player.setFileName(clip);
    }
    // The test program runs with the linked-in back end, as the other media tests expect.
    void TearDown() override { media::installVideoPlayback(); }

    std::string openError() {
        try {
            player.open();
        } catch (const media::EMCIDeviceError& error) {
            return error.what();
        }
        return {};
    }

    QTemporaryDir dir;
    QString clip;
    MIDIPlayer player{offlineSettings()};
};

TEST_F(VideoBackend, WithoutOneAVideoFailsToOpenWithTheReasonAndOtherMediaStillPlay) {
    media::setVideoDeviceFactory({});
    EXPECT_FALSE(media::hasVideoDeviceFactory());
    EXPECT_EQ(openError(),
              "Cannot open \"" + clip.toStdString() + "\" as a video: this program has no video playback.");
    EXPECT_FALSE(player.isOpen());

    const QString song = dir.filePath("song.mid");
    ASSERT_TRUE(writeMidiSong(song, kMediumMs));
    player.setFileName(song);
    player.open();
    EXPECT_EQ(player.length(), kMediumMs);
}

TEST_F(VideoBackend, TheModuleFromTheProgramFolderPlaysAVideoToItsEnd) {
    media::setVideoDeviceFactory(media::videoModuleFactory(media::moduleFolders(VORLO_PROGRAM_FOLDER)));
    player.open();
    EXPECT_EQ(player.length(), kMediumMs);
    Reports reports(player);
    player.play();
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
    EXPECT_EQ(player.position(), kMediumMs);
    player.close();
}

TEST_F(VideoBackend, AMissingModuleIsNamedInTheError) {
    media::setVideoDeviceFactory(media::videoModuleFactory({dir.path().toStdString()}));
    const std::string error = openError();
    EXPECT_EQ(
        error.rfind("Cannot open \"" + clip.toStdString() + "\" as a video: the video module cannot be loaded (", 0),
        0u)
        << error;
    EXPECT_NE(error.find(dir.path().toStdString() + "/vorlo-video.so"), std::string::npos) << error;
}

TEST_F(VideoBackend, AFileThatIsNoVideoIsRefusedThroughTheModuleToo) {
    QFile notVideo(clip);
    ASSERT_TRUE(notVideo.open(QIODevice::WriteOnly | QIODevice::Truncate));
    notVideo.write("RIFF, but no video at all");
    notVideo.close();
    media::setVideoDeviceFactory(media::videoModuleFactory(media::moduleFolders(VORLO_PROGRAM_FOLDER)));
    const std::string error = openError();
    EXPECT_EQ(error.rfind("Cannot open \"" + clip.toStdString() + "\" as a video: ", 0), 0u) << error;
    EXPECT_FALSE(player.isOpen());
}

TEST_F(VideoBackend, AClipWhoseNameIsNoUtf8PlaysToItsEnd) {
    const QByteArray raw = encodePath(dir.path()) + "/clip\xe9.avi";
    ASSERT_EQ(std::rename(encodePath(clip).constData(), raw.constData()), 0);
    player.setFileName(decodePath(raw));
    player.open();
    EXPECT_EQ(player.length(), kMediumMs);
    Reports reports(player);
    player.play();
    runToStop(player);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.values, std::vector{NotifyValue::Successful});
    player.close();
}

}  // namespace
}  // namespace vorlo::testing
