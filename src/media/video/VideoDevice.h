#pragma once
// Video clips (.avi) through Qt Multimedia, in a window of their own while they play. Lives on
// the user-interface thread: the media framework reports there, so its end report does too.
#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>

#include "media/MediaBackend.h"
#include "media/MediaSettings.h"

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;

namespace vorlo::media {

class VideoDevice final : public MediaBackend {
public:
    // Throws EMCIDeviceError when the file is not a video the media framework can play.
    VideoDevice(const std::string& path, PlayEndHandler onEnd);
    ~VideoDevice() override;

    std::int64_t lengthMs() const override { return lengthMs_; }
    std::int64_t positionMs() const override;
    bool isPlaying() const override { return playing_; }
    std::uint64_t play(std::int64_t fromMs, std::int64_t toMs) override;
    void stop() override;
    void seek(std::int64_t ms) override;
    bool waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) override;

    // The window the picture shows in; null without a widget application.
    QVideoWidget* window() const { return window_.get(); }

private:
    void waitUntilLoaded(const std::string& path);
    void onPosition(std::int64_t ms);
    void finish(std::int64_t atMs, bool failed);

    // A file whose name is no UTF-8 cannot travel in the framework's URL: it is opened here and the framework is
    // given this process's name of the open descriptor instead. Closed after the player is gone.
    int sourceFd_ = -1;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> audio_;
    std::unique_ptr<QVideoWidget> window_;
    QTimer endTimer_;  // ends a play at its end position between the framework's position updates
    PlayEndHandler onEnd_;
    std::int64_t lengthMs_ = 0;
    std::int64_t endMs_ = 0;
    std::int64_t stoppedAtMs_ = 0;
    bool playing_ = false;
    std::uint64_t token_ = 0;
};

}  // namespace vorlo::media
