#pragma once
// Plays sampled sound (a wave file, CD audio) through an audio output: play from/to, stop, seek,
// the position, and an end report from the audio thread.
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/MediaBackend.h"
#include "media/MediaSettings.h"
#include "media/audio/AudioOutput.h"

namespace vorlo::media {

// Where the sound comes from. Only the player calls it, always under the player's lock.
class PcmSource {
public:
    virtual ~PcmSource() = default;
    virtual int sampleRate() const = 0;
    virtual std::int64_t frameCount() const = 0;
    virtual bool seekFrame(std::int64_t frame) = 0;
    // Reads up to `frames` frames as stereo; returns how many were read, or -1 on a read error.
    virtual std::int64_t read(float* left, float* right, std::size_t frames) = 0;
};

// The source is read ahead on a thread of its own, so a slow read (a CD drive spinning up, a
// scratch retried) neither stalls the audio thread nor the user interface asking for the position.
class PcmPlayer {
public:
    PcmPlayer(std::unique_ptr<PcmSource> source, const MediaSettings& settings, PlayEndHandler onEnd);
    ~PcmPlayer();
    PcmPlayer(const PcmPlayer&) = delete;
    PcmPlayer& operator=(const PcmPlayer&) = delete;

    std::int64_t lengthMs() const;
    std::int64_t positionMs() const;
    bool isPlaying() const;
    std::uint64_t play(std::int64_t fromMs, std::int64_t toMs);
    void stop();
    void seek(std::int64_t ms);
    bool waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline);
    bool renderOffline(float* left, float* right, std::size_t frames);
    std::string takeOutputNotice();

    std::int64_t msToFrame(std::int64_t ms) const;
    std::int64_t frameToMs(std::int64_t frame) const;

private:
    void render(float* left, float* right, std::size_t frames);
    void readAhead();
    // Drops what was read ahead and starts reading again at `frame`. Called with the lock held.
    void moveReaderTo(std::int64_t frame);
    bool needsReading() const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;      // a play ended or stopped
    std::condition_variable readerWake_;   // room in the buffer, a new position, or quit
    std::condition_variable dataArrived_;  // for offline rendering, which waits for the reader
    std::unique_ptr<PcmSource> source_;    // touched by the reader thread only
    const int sampleRate_;
    const std::int64_t frameCount_;
    const bool offline_;
    std::int64_t positionFrame_ = 0;  // the last frame heard
    std::int64_t endFrame_ = 0;
    bool playing_ = false;
    std::uint64_t token_ = 0;
    // Read ahead: frames from positionFrame_ on, in a ring.
    std::vector<float> aheadLeft_;
    std::vector<float> aheadRight_;
    std::size_t aheadStart_ = 0;
    std::size_t aheadCount_ = 0;
    std::int64_t readFrame_ = 0;   // the next frame to read
    std::uint64_t readEpoch_ = 0;  // changes with every move, so a read in flight is thrown away
    bool readFailed_ = false;
    bool quit_ = false;
    PlayEndHandler onEnd_;
    std::thread reader_;
    std::unique_ptr<audio::AudioOutput> output_;
    audio::OfflineSink* offlineSink_ = nullptr;
    std::string notice_;
};

// A media device made of a PCM player: wave audio as it is, CD audio adds its tracks and door.
class PcmDevice : public MediaBackend {
public:
    PcmDevice(std::unique_ptr<PcmSource> source, const MediaSettings& settings, PlayEndHandler onEnd)
        : player_(std::move(source), settings, std::move(onEnd)) {}

    std::int64_t lengthMs() const override { return player_.lengthMs(); }
    std::int64_t positionMs() const override { return player_.positionMs(); }
    bool isPlaying() const override { return player_.isPlaying(); }
    std::uint64_t play(std::int64_t fromMs, std::int64_t toMs) override { return player_.play(fromMs, toMs); }
    void stop() override { player_.stop(); }
    void seek(std::int64_t ms) override { player_.seek(ms); }
    bool waitForEnd(std::uint64_t token, std::chrono::steady_clock::time_point deadline) override {
        return player_.waitForEnd(token, deadline);
    }
    bool renderOffline(float* left, float* right, std::size_t frames) override {
        return player_.renderOffline(left, right, frames);
    }
    std::string takeOutputNotice() override { return player_.takeOutputNotice(); }

protected:
    PcmPlayer player_;
};

}  // namespace vorlo::media
