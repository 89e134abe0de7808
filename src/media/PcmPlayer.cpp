#include "media/PcmPlayer.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace vorlo::media {
namespace {

constexpr std::size_t kAheadFrames = 32768;  // about 0.75 s at 44.1 kHz
constexpr std::size_t kReadFrames = 4096;

}  // namespace

PcmPlayer::PcmPlayer(std::unique_ptr<PcmSource> source, const MediaSettings& settings, PlayEndHandler onEnd)
    : source_(std::move(source)),
      sampleRate_(source_->sampleRate()),
      frameCount_(source_->frameCount()),
      offline_(settings.audioMode == AudioMode::Offline),
      aheadLeft_(kAheadFrames),
      aheadRight_(kAheadFrames),
      onEnd_(std::move(onEnd)) {
    reader_ = std::thread([this] { readAhead(); });
    audio::RenderCallback pull = [this](float* left, float* right, std::size_t frames) { render(left, right, frames); };
    if (offline_) {
        auto sink = std::make_unique<audio::OfflineSink>(std::move(pull));
        offlineSink_ = sink.get();
        output_ = std::move(sink);
        return;
    }
    audio::AudioOutputOptions options;
    options.sampleRate = sampleRate_;
    if (!settings.audioDriverOrder.empty()) options.driverOrder = settings.audioDriverOrder;
    if (settings.audioMode == AudioMode::SilentClock) options.driverOrder.clear();
    audio::OpenedOutput opened = audio::openAudioOutput(std::move(pull), options);
    output_ = std::move(opened.output);
    notice_ = std::move(opened.notice);
}

PcmPlayer::~PcmPlayer() {
    // The output stops pulling first, then the reader stops, then the source goes.
    output_.reset();
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    readerWake_.notify_all();
    reader_.join();
}

// Rounded up, so that a position given in milliseconds reads back as the same number.
std::int64_t PcmPlayer::msToFrame(std::int64_t ms) const { return (ms * sampleRate_ + 999) / 1000; }

std::int64_t PcmPlayer::frameToMs(std::int64_t frame) const { return frame * 1000 / sampleRate_; }

std::int64_t PcmPlayer::lengthMs() const { return frameToMs(frameCount_); }

std::int64_t PcmPlayer::positionMs() const {
    std::lock_guard lock(mutex_);
    return frameToMs(positionFrame_);
}

bool PcmPlayer::isPlaying() const {
    std::lock_guard lock(mutex_);
    return playing_;
}

void PcmPlayer::moveReaderTo(std::int64_t frame) {
    aheadStart_ = 0;
    aheadCount_ = 0;
    readFrame_ = frame;
    readFailed_ = false;
    ++readEpoch_;
}

std::uint64_t PcmPlayer::play(std::int64_t fromMs, std::int64_t toMs) {
    std::uint64_t token = 0;
    {
        std::lock_guard lock(mutex_);
        positionFrame_ = std::clamp<std::int64_t>(msToFrame(fromMs), 0, frameCount_);
        // The last millisecond of a medium is a fraction of a frame short of its frame count.
        endFrame_ =
            toMs >= frameToMs(frameCount_) ? frameCount_ : std::clamp<std::int64_t>(msToFrame(toMs), 0, frameCount_);
        endFrame_ = std::max(endFrame_, positionFrame_);
        moveReaderTo(positionFrame_);
        playing_ = true;
        token = ++token_;
    }
    readerWake_.notify_all();
    return token;
}

void PcmPlayer::stop() {
    {
        std::lock_guard lock(mutex_);
        playing_ = false;
    }
    changed_.notify_all();
    dataArrived_.notify_all();
}

void PcmPlayer::seek(std::int64_t ms) {
    {
        std::lock_guard lock(mutex_);
        playing_ = false;
        positionFrame_ = std::clamp<std::int64_t>(msToFrame(ms), 0, frameCount_);
    }
    changed_.notify_all();
    dataArrived_.notify_all();
}

bool PcmPlayer::waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) {
    const auto over = [&] { return token_ != token || !playing_; };
    if (offlineSink_ != nullptr) {
        std::vector<float> left(1024), right(1024);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard lock(mutex_);
                if (over()) return true;
            }
            offlineSink_->pull(left.data(), right.data(), left.size());
        }
    }
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, deadline, over);
}

bool PcmPlayer::renderOffline(float* left, float* right, std::size_t frames) {
    if (offlineSink_ == nullptr) return false;
    offlineSink_->pull(left, right, frames);
    return true;
}

std::string PcmPlayer::takeOutputNotice() { return std::exchange(notice_, {}); }

bool PcmPlayer::needsReading() const {
    return playing_ && !readFailed_ && readFrame_ < endFrame_ && aheadCount_ < kAheadFrames;
}

void PcmPlayer::readAhead() {
    std::vector<float> left(kReadFrames), right(kReadFrames);
    std::int64_t sourceFrame = -1;  // where the source reads next; -1: unknown
    std::unique_lock lock(mutex_);
    while (true) {
        readerWake_.wait(lock, [&] { return quit_ || needsReading(); });
        if (quit_) return;
        const std::uint64_t epoch = readEpoch_;
        const std::int64_t from = readFrame_;
        const auto wanted = static_cast<std::size_t>(
            std::min<std::int64_t>({static_cast<std::int64_t>(kReadFrames), endFrame_ - readFrame_,
                                    static_cast<std::int64_t>(kAheadFrames - aheadCount_)}));
        lock.unlock();
        std::int64_t got = -1;
        if (sourceFrame == from || source_->seekFrame(from)) got = source_->read(left.data(), right.data(), wanted);
        sourceFrame = got < 0 ? -1 : from + got;
        lock.lock();
        if (epoch != readEpoch_) continue;  // moved meanwhile: this read is of no use
        for (std::int64_t i = 0; i < got; ++i) {
            const std::size_t at = (aheadStart_ + aheadCount_) % kAheadFrames;
            aheadLeft_[at] = left[static_cast<std::size_t>(i)];
            aheadRight_[at] = right[static_cast<std::size_t>(i)];
            ++aheadCount_;
        }
        readFrame_ += std::max<std::int64_t>(got, 0);
        // Fewer frames than the medium claims to hold: its data is cut short.
        if (got < static_cast<std::int64_t>(wanted)) readFailed_ = true;
        dataArrived_.notify_all();
    }
}

void PcmPlayer::render(float* left, float* right, std::size_t frames) {
    std::uint64_t ended = 0;
    bool failed = false;
    std::size_t done = 0;
    {
        std::unique_lock lock(mutex_);
        const auto wanted = static_cast<std::size_t>(
            std::clamp<std::int64_t>(endFrame_ - positionFrame_, 0, static_cast<std::int64_t>(frames)));
        while (playing_) {
            const std::size_t now = std::min(wanted - done, aheadCount_);
            for (std::size_t i = 0; i < now; ++i) {
                const std::size_t at = (aheadStart_ + i) % kAheadFrames;
                left[done + i] = aheadLeft_[at];
                right[done + i] = aheadRight_[at];
            }
            aheadStart_ = (aheadStart_ + now) % kAheadFrames;
            aheadCount_ -= now;
            done += now;
            // An underrun leaves silence and keeps the position at what was really heard.
            positionFrame_ += static_cast<std::int64_t>(now);
            failed = readFailed_ && aheadCount_ == 0 && positionFrame_ < endFrame_;
            if (failed || positionFrame_ >= endFrame_) {
                playing_ = false;
                ended = token_;
            }
            // Offline there is no clock to keep: wait for the reader rather than leave a gap.
            if (!offline_ || done == wanted || ended != 0) break;
            readerWake_.notify_all();
            dataArrived_.wait(lock, [&] { return !playing_ || readFailed_ || aheadCount_ > 0; });
        }
    }
    std::fill(left + done, left + frames, 0.0f);
    std::fill(right + done, right + frames, 0.0f);
    readerWake_.notify_all();
    if (ended == 0) return;
    changed_.notify_all();
    if (onEnd_) onEnd_(ended, failed);
}

}  // namespace vorlo::media
