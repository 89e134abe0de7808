#include "media/video/VideoDevice.h"
#include "media/Sentence.h"

#include <QApplication>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "media/EMCIDeviceError.h"

namespace vorlo::media {
namespace {

// A file the framework has not sorted out by then is treated as unplayable instead of hanging.
constexpr int kLoadLimitMs = 15000;
constexpr int kStartSlackMs = 500;

bool isUtf8(const std::string& bytes) {
    const QByteArray view = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(view).toUtf8() == view;
}

}  // namespace

VideoDevice::VideoDevice(const std::string& path, PlayEndHandler onEnd) : onEnd_(std::move(onEnd)) {
    if (QCoreApplication::instance() == nullptr) throw EMCIDeviceError("Video needs the application to be running.");
    // The GStreamer back end plays what the system's codecs play; choose it unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");

    player_ = std::make_unique<QMediaPlayer>();
    // A sound track needs an audio output to play into, or the whole clip fails.
    audio_ = std::make_unique<QAudioOutput>();
    player_->setAudioOutput(audio_.get());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        window_ = std::make_unique<QVideoWidget>();
        window_->setWindowTitle(QFileInfo(QString::fromUtf8(path.c_str())).fileName());
        player_->setVideoOutput(window_.get());
    }
    endTimer_.setSingleShot(true);
    endTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&endTimer_, &QTimer::timeout, [this] { finish(endMs_, false); });
    waitUntilLoaded(path);

    QObject::connect(player_.get(), &QMediaPlayer::positionChanged, [this](qint64 ms) { onPosition(ms); });
    QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia && playing_) finish(endMs_, false);
    });
    QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, [this](QMediaPlayer::Error, const QString&) {
        if (playing_) finish(positionMs(), true);
    });
}

VideoDevice::~VideoDevice() {
    endTimer_.stop();
    // Disconnect first: stopping must not report. The player goes before its outputs.
    QObject::disconnect(player_.get(), nullptr, nullptr, nullptr);
    player_->stop();
    player_.reset();
    if (sourceFd_ >= 0) ::close(sourceFd_);
}

void VideoDevice::waitUntilLoaded(const std::string& path) {
    QEventLoop loop;
    QString error;
    bool done = false;
    QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::LoadedMedia) done = true;
        if (status == QMediaPlayer::InvalidMedia) {
            done = true;
            if (error.isEmpty()) error = QStringLiteral("the file is not a video that can be played");
        }
        if (done) loop.quit();
    });
    QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, &loop, [&](QMediaPlayer::Error, const QString& text) {
        error = text.isEmpty() ? QStringLiteral("the video cannot be played") : text;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(kLoadLimitMs, &loop, &QEventLoop::quit);
    QString source = QString::fromUtf8(path.c_str());
    if (!isUtf8(path)) {
        sourceFd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (sourceFd_ < 0)
            throw EMCIDeviceError(withFullStop("Cannot open \"" + path + "\" as a video: " + std::strerror(errno)));
        source = QStringLiteral("/proc/self/fd/%1").arg(sourceFd_);
    }
    player_->setSource(QUrl::fromLocalFile(source));
    if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(player_.get(), nullptr, &loop, nullptr);
    if (!done) error = QStringLiteral("the file did not load");
    if (!error.isEmpty()) {
        player_->setSource(QUrl());
        if (sourceFd_ >= 0) ::close(std::exchange(sourceFd_, -1));  // the destructor does not run for a throw here
        throw EMCIDeviceError(withFullStop("Cannot open \"" + path + "\" as a video: " + error.toStdString()));
    }
    lengthMs_ = std::max<qint64>(0, player_->duration());
    if (window_) {
        const QSize size = player_->metaData().value(QMediaMetaData::Resolution).toSize();
        window_->resize(size.isValid() && !size.isEmpty() ? size.expandedTo(QSize(160, 120)) : QSize(320, 240));
    }
}

std::int64_t VideoDevice::positionMs() const {
    if (!playing_) return stoppedAtMs_;
    return std::clamp<std::int64_t>(player_->position(), 0, endMs_);
}

std::uint64_t VideoDevice::play(std::int64_t fromMs, std::int64_t toMs) {
    endTimer_.stop();
    endMs_ = toMs;
    stoppedAtMs_ = fromMs;
    if (player_->position() != fromMs) player_->setPosition(fromMs);
    playing_ = true;
    ++token_;
    if (window_) window_->show();
    if (fromMs >= toMs) {
        // Nothing to play: it ends at once, but reports from the event loop like every end.
        endTimer_.start(0);
    } else {
        player_->play();
        // A fallback until the first position update aims the timer from the framework's own clock,
        // which starts a little after this call.
        if (toMs < lengthMs_) endTimer_.start(static_cast<int>(toMs - fromMs) + kStartSlackMs);
    }
    return token_;
}

void VideoDevice::onPosition(std::int64_t ms) {
    if (!playing_) return;
    if (ms >= endMs_) {
        finish(endMs_, false);
    } else if (endMs_ < lengthMs_) {
        // The framework's clock is the truth: aim the end timer from its latest position.
        endTimer_.start(static_cast<int>(endMs_ - ms));
    }
}

void VideoDevice::finish(std::int64_t atMs, bool failed) {
    if (!playing_) return;
    endTimer_.stop();
    playing_ = false;
    stoppedAtMs_ = std::clamp<std::int64_t>(atMs, 0, lengthMs_);
    player_->pause();
    if (onEnd_) onEnd_(token_, failed);
}

void VideoDevice::stop() {
    endTimer_.stop();
    if (playing_) stoppedAtMs_ = positionMs();
    playing_ = false;
    player_->pause();
}

void VideoDevice::seek(std::int64_t ms) {
    stop();
    stoppedAtMs_ = ms;
    player_->setPosition(ms);
}

bool VideoDevice::waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) {
    // The framework works through the event loop; the user's input waits until the play is over.
    while (playing_ && token_ == token) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

}  // namespace vorlo::media
