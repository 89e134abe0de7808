#include "platform/media/PcmPlayer.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace vorlo::media {

PcmPlayer::PcmPlayer(std::unique_ptr<PcmSource> source, const MediaSettings& settings, PlayEndHandler onEnd)
    : source_(std::move(source)),
      sampleRate_(source_->sampleRate()),
      frameCount_(source_->frameCount()),
      onEnd_(std::move(onEnd)) {
  audio::RenderCallback pull = [this](float* left, float* right, std::size_t frames) { render(left, right, frames); };
  if (settings.audioMode == AudioMode::Offline) {
    auto sink = std::make_unique<audio::OfflineSink>(std::move(pull));
    offline_ = sink.get();
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
  // The output's thread stops pulling before the source goes.
  output_.reset();
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

std::uint64_t PcmPlayer::play(std::int64_t fromMs, std::int64_t toMs) {
  std::lock_guard lock(mutex_);
  positionFrame_ = std::clamp<std::int64_t>(msToFrame(fromMs), 0, frameCount_);
  // The last millisecond of a medium is a fraction of a frame short of its frame count.
  endFrame_ = toMs >= frameToMs(frameCount_) ? frameCount_ : std::clamp<std::int64_t>(msToFrame(toMs), 0, frameCount_);
  endFrame_ = std::max(endFrame_, positionFrame_);
  playing_ = true;
  return ++token_;
}

void PcmPlayer::stop() {
  {
    std::lock_guard lock(mutex_);
    playing_ = false;
  }
  changed_.notify_all();
}

void PcmPlayer::seek(std::int64_t ms) {
  {
    std::lock_guard lock(mutex_);
    playing_ = false;
    positionFrame_ = std::clamp<std::int64_t>(msToFrame(ms), 0, frameCount_);
  }
  changed_.notify_all();
}

void PcmPlayer::waitForEnd(std::uint64_t token) {
  const auto over = [&] { return token_ != token || !playing_; };
  if (offline_ != nullptr) {
    std::vector<float> left(1024), right(1024);
    while (true) {
      {
        std::lock_guard lock(mutex_);
        if (over()) return;
      }
      offline_->pull(left.data(), right.data(), left.size());
    }
  }
  std::unique_lock lock(mutex_);
  // The timeout only guards against a wake-up lost to a stop from another thread.
  while (!over()) changed_.wait_for(lock, std::chrono::milliseconds(100));
}

bool PcmPlayer::renderOffline(float* left, float* right, std::size_t frames) {
  if (offline_ == nullptr) return false;
  offline_->pull(left, right, frames);
  return true;
}

std::string PcmPlayer::takeOutputNotice() { return std::exchange(notice_, {}); }

void PcmPlayer::render(float* left, float* right, std::size_t frames) {
  std::fill(left, left + frames, 0.0f);
  std::fill(right, right + frames, 0.0f);
  std::uint64_t ended = 0;
  bool failed = false;
  {
    std::lock_guard lock(mutex_);
    if (!playing_) return;
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(frames),
                                                                        endFrame_ - positionFrame_));
    std::int64_t got = 0;
    if (wanted > 0) {
      if (sourceFrame_ != positionFrame_ && !source_->seekFrame(positionFrame_)) {
        got = -1;
      } else {
        got = source_->read(left, right, wanted);
      }
    }
    if (got < 0) {
      sourceFrame_ = -1;
      failed = true;
    } else {
      positionFrame_ += got;
      sourceFrame_ = positionFrame_;
      // Fewer frames than the medium claims to hold: its data is cut short.
      failed = static_cast<std::size_t>(got) < wanted;
    }
    if (failed || positionFrame_ >= endFrame_) {
      playing_ = false;
      ended = token_;
    }
  }
  if (ended == 0) return;
  changed_.notify_all();
  if (onEnd_) onEnd_(ended, failed);
}

}  // namespace vorlo::media
