#include "media/WaveAudioDevice.h"
#include "media/Sentence.h"

#include <sndfile.h>

#include <vector>

#include "media/EMCIDeviceError.h"
#include "media/PcmPlayer.h"
#include "midi/FileBytes.h"

namespace vorlo::media {
namespace {

// Rates outside this range are damaged headers, not sound anyone recorded.
constexpr int kLowestSampleRate = 1000;
constexpr int kHighestSampleRate = 768000;

class SoundFileSource final : public PcmSource {
public:
    SoundFileSource(SNDFILE* file, const SF_INFO& info) : file_(file), info_(info) {}
    ~SoundFileSource() override { sf_close(file_); }
    SoundFileSource(const SoundFileSource&) = delete;
    SoundFileSource& operator=(const SoundFileSource&) = delete;

    int sampleRate() const override { return info_.samplerate; }
    std::int64_t frameCount() const override { return info_.frames; }
    bool seekFrame(std::int64_t frame) override { return sf_seek(file_, frame, SEEK_SET) == frame; }

    std::int64_t read(float* left, float* right, std::size_t frames) override {
        const auto channels = static_cast<std::size_t>(info_.channels);
        // Grows to the output's period once, then stays.
        if (interleaved_.size() < frames * channels) interleaved_.resize(frames * channels);
        const sf_count_t got = sf_readf_float(file_, interleaved_.data(), static_cast<sf_count_t>(frames));
        if (got < 0 || (got == 0 && sf_error(file_) != SF_ERR_NO_ERROR)) return -1;
        for (sf_count_t i = 0; i < got; ++i) {
            const float* frame = interleaved_.data() + static_cast<std::size_t>(i) * channels;
            // Mono goes to both sides; beyond two channels only the front pair is heard.
            left[i] = frame[0];
            right[i] = channels > 1 ? frame[1] : frame[0];
        }
        return got;
    }

private:
    SNDFILE* file_;
    SF_INFO info_;
    std::vector<float> interleaved_;
};

}  // namespace

namespace {

// Opens `path` with libsndfile and checks that its header describes sound that can be played; the caller
// closes the handle. Throws EMCIDeviceError with the reason otherwise.
SNDFILE* openCheckedSoundFile(const std::string& path, SF_INFO& info) {
    info = SF_INFO{};
    // Only a regular file is opened, without ever waiting on a FIFO; libsndfile closes the descriptor.
    std::uint64_t size = 0;
    std::string refused;
    const int fd = midi::openRegularFile(path, size, refused);
    if (fd < 0) throw EMCIDeviceError(withFullStop("Cannot open \"" + path + "\" as wave audio: " + refused));
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (file == nullptr) {
        throw EMCIDeviceError(withFullStop("Cannot open \"" + path + "\" as wave audio: " + sf_strerror(nullptr)));
    }
    std::string problem;
    if (info.channels < 1)
        problem = "it has no sound channels";
    else if (info.samplerate < kLowestSampleRate || info.samplerate > kHighestSampleRate)
        problem = "its sample rate of " + std::to_string(info.samplerate) + " Hz cannot be played";
    else if (info.frames < 0)
        problem = "its length is damaged";
    if (!problem.empty()) {
        sf_close(file);
        throw EMCIDeviceError(withFullStop("Cannot open \"" + path + "\" as wave audio: " + problem));
    }
    return file;
}

}  // namespace

std::unique_ptr<MediaBackend> openWaveAudio(const std::string& path, const MediaSettings& settings,
                                            PlayEndHandler onEnd) {
    SF_INFO info{};
    SNDFILE* file = openCheckedSoundFile(path, info);
    // Reads of integer data come back scaled to -1..1; float data is used as stored.
    return std::make_unique<PcmDevice>(std::make_unique<SoundFileSource>(file, info), settings, std::move(onEnd));
}

std::int64_t waveLengthMs(const std::string& path) {
    SF_INFO info{};
    sf_close(openCheckedSoundFile(path, info));
    // The same arithmetic as the device's length (PcmPlayer::frameToMs), so both give the same number.
    return info.frames * 1000 / info.samplerate;
}

}  // namespace vorlo::media
