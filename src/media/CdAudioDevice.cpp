#include "media/CdAudioDevice.h"
#include "media/Sentence.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <utility>

#include "media/EMCIDeviceError.h"

namespace vorlo::media {
namespace {

constexpr int kFramesPerSector = CDIO_CD_FRAMESIZE_RAW / 4;  // 588 stereo frames of 16 bits
constexpr int kCdSampleRate = 44100;
// A damaged sector is tried this often before the play fails, so a scratch cannot stall it long.
constexpr int kReadRetries = 3;

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

bool endsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.rbegin(), suffix.rend(), text.rbegin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// Reads a disc's audio sectors, through cdparanoia's checked reads where the drive allows them
// and plain reads otherwise. Disc images need no checking.
class CdSource final : public PcmSource {
public:
    CdSource(CdioHandle cdio, std::int64_t sectorCount, std::vector<CdTrack> tracks, bool isImage)
        : cdio_(std::move(cdio)), sectorCount_(sectorCount), tracks_(std::move(tracks)) {
        if (isImage) return;
        drive_ = cdio_cddap_identify_cdio(cdio_.get(), CDDA_MESSAGE_FORGETIT, nullptr);
        if (drive_ != nullptr && cdio_cddap_open(drive_) == 0) {
            paranoia_ = cdio_paranoia_init(drive_);
            // Overlap checks without giving up on skips: steady play matters more than a perfect copy.
            if (paranoia_ != nullptr) cdio_paranoia_modeset(paranoia_, PARANOIA_MODE_OVERLAP);
        }
    }
    ~CdSource() override {
        if (paranoia_ != nullptr) cdio_paranoia_free(paranoia_);
        if (drive_ != nullptr) cdio_cddap_close_no_free_cdio(drive_);
    }
    CdSource(const CdSource&) = delete;
    CdSource& operator=(const CdSource&) = delete;

    int sampleRate() const override { return kCdSampleRate; }
    std::int64_t frameCount() const override { return sectorCount_ * kFramesPerSector; }

    bool seekFrame(std::int64_t frame) override {
        sector_ = frame / kFramesPerSector;
        offset_ = static_cast<int>(frame % kFramesPerSector);
        loaded_ = false;
        if (paranoia_ != nullptr) cdio_paranoia_seek(paranoia_, static_cast<std::int32_t>(sector_), SEEK_SET);
        return true;
    }

    std::int64_t read(float* left, float* right, std::size_t frames) override {
        std::size_t done = 0;
        while (done < frames && sector_ < sectorCount_) {
            if (!loaded_ && !loadSector()) return -1;
            const std::size_t now = std::min(frames - done, static_cast<std::size_t>(kFramesPerSector - offset_));
            for (std::size_t i = 0; i < now; ++i) {
                const std::size_t at = static_cast<std::size_t>(offset_) + i;
                left[done + i] = samples_[2 * at] / 32768.0f;
                right[done + i] = samples_[2 * at + 1] / 32768.0f;
            }
            done += now;
            offset_ += static_cast<int>(now);
            if (offset_ == kFramesPerSector) {
                offset_ = 0;
                ++sector_;
                loaded_ = false;
            }
        }
        return static_cast<std::int64_t>(done);
    }

private:
    bool isDataSector(std::int64_t sector) const {
        return std::any_of(tracks_.begin(), tracks_.end(), [&](const CdTrack& track) {
            return !track.audio && sector >= track.firstSector && sector < track.firstSector + track.sectorCount;
        });
    }

    bool loadSector() {
        if (isDataSector(sector_)) {
            // A data track of a mixed disc is not sound: it plays as silence instead of noise.
            std::fill(std::begin(samples_), std::end(samples_), std::int16_t{0});
            if (paranoia_ != nullptr) cdio_paranoia_seek(paranoia_, static_cast<std::int32_t>(sector_ + 1), SEEK_SET);
        } else if (paranoia_ != nullptr) {
            const std::int16_t* data = cdio_paranoia_read_limited(paranoia_, nullptr, kReadRetries);
            if (data == nullptr) return false;
            std::memcpy(samples_, data, sizeof samples_);
        } else {
            std::uint8_t raw[CDIO_CD_FRAMESIZE_RAW];
            if (cdio_read_audio_sectors(cdio_.get(), raw, static_cast<lsn_t>(sector_), 1) != DRIVER_OP_SUCCESS)
                return false;
            // Raw CD audio is little-endian whatever the machine.
            for (int i = 0; i < kFramesPerSector * 2; ++i)
                samples_[i] = static_cast<std::int16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
        }
        loaded_ = true;
        return true;
    }

    CdioHandle cdio_;
    std::int64_t sectorCount_;
    std::vector<CdTrack> tracks_;
    cdrom_drive_t* drive_ = nullptr;
    cdrom_paranoia_t* paranoia_ = nullptr;
    std::int64_t sector_ = 0;
    int offset_ = 0;
    bool loaded_ = false;
    std::int16_t samples_[kFramesPerSector * 2] = {};
};

std::int64_t sectorsToMs(std::int64_t sectors) { return sectors * 1000 / CDIO_CD_FRAMES_PER_SEC; }

// libcdio's own log handler ends the process on an error (a CUE sheet it cannot parse, for
// one). Ours keeps the last error for the message the user sees instead, on the thread that met it: the
// summary reads a disc's table on its own thread while the player may be opening a CD.
thread_local std::string lastCdioError;

// libcdio's handler, its table of drivers (set up on first use) and its image parsers are shared by the whole
// process and were not written for two threads: a disc is opened and its table read by one thread at a time.
// Reading audio sectors through a handle already open needs no lock.
std::mutex& cdioOpenLock() {
    static std::mutex lock;
    return lock;
}

void keepCdioError(cdio_log_level_t level, const char* message) {
    if (level >= CDIO_LOG_ERROR && message != nullptr) lastCdioError = message;
}

std::string withCdioReason(const std::string& text) {
    std::string reason = std::exchange(lastCdioError, {});
    return withFullStop(reason.empty() ? text : text + ": " + reason);
}

}  // namespace

struct CdAudioDevice::Disc {
    CdioHandle cdio;
    std::string devicePath;
    std::vector<CdTrack> tracks;
    std::int64_t sectorCount = 0;
    bool isImage = false;
    bool canEject = false;
};

CdAudioDevice::Disc CdAudioDevice::openDisc(const std::string& device) {
    static std::once_flag handlerSet;
    std::call_once(handlerSet, [] { cdio_log_set_handler(keepCdioError); });
    const std::lock_guard<std::mutex> lock(cdioOpenLock());
    lastCdioError.clear();
    Disc disc;
    disc.devicePath = device;
    if (endsWith(device, ".cue")) {
        disc.isImage = true;
        disc.cdio.reset(cdio_open_cue(device.c_str()));
        if (!disc.cdio) throw EMCIDeviceError(withCdioReason("The CD image \"" + device + "\" cannot be read"));
    } else {
        if (disc.devicePath.empty()) {
            char* found = cdio_get_default_device(nullptr);
            if (found == nullptr) throw EMCIDeviceError("No CD drive was found.");
            disc.devicePath = found;
            cdio_free(found);
        }
        disc.cdio.reset(cdio_open(disc.devicePath.c_str(), DRIVER_DEVICE));
        if (!disc.cdio) throw EMCIDeviceError(withCdioReason("No CD drive at \"" + disc.devicePath + "\""));
        cdio_drive_read_cap_t read = 0;
        cdio_drive_write_cap_t write = 0;
        cdio_drive_misc_cap_t misc = 0;
        cdio_get_drive_cap(disc.cdio.get(), &read, &write, &misc);
        disc.canEject = misc != CDIO_DRIVE_CAP_ERROR && (misc & CDIO_DRIVE_CAP_MISC_EJECT) != 0;
    }

    const track_t first = cdio_get_first_track_num(disc.cdio.get());
    const track_t count = cdio_get_num_tracks(disc.cdio.get());
    const lsn_t leadOut = cdio_get_track_lsn(disc.cdio.get(), CDIO_CDROM_LEADOUT_TRACK);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 || leadOut == CDIO_INVALID_LSN)
        throw EMCIDeviceError("There is no audio CD in the drive \"" + disc.devicePath + "\".");
    disc.sectorCount = leadOut;
    bool anyAudio = false;
    for (track_t number = first; number < first + count; ++number) {
        const lsn_t start = cdio_get_track_lsn(disc.cdio.get(), number);
        const lsn_t next = number + 1 < first + count
                               ? cdio_get_track_lsn(disc.cdio.get(), static_cast<track_t>(number + 1))
                               : leadOut;
        if (start == CDIO_INVALID_LSN || next == CDIO_INVALID_LSN || start < 0 || next < start || next > leadOut)
            throw EMCIDeviceError("The table of contents of the CD in \"" + disc.devicePath + "\" is damaged.");
        CdTrack track;
        track.firstSector = start;
        track.sectorCount = next - start;
        track.audio = cdio_get_track_format(disc.cdio.get(), number) == TRACK_FORMAT_AUDIO;
        anyAudio = anyAudio || track.audio;
        disc.tracks.push_back(track);
    }
    if (!anyAudio) throw EMCIDeviceError("The CD in \"" + disc.devicePath + "\" has no audio tracks.");
    return disc;
}

CdAudioDevice::CdAudioDevice(const std::string& device, const MediaSettings& settings, PlayEndHandler onEnd)
    : CdAudioDevice(openDisc(device), settings, std::move(onEnd)) {}

CdAudioDevice::CdAudioDevice(Disc disc, const MediaSettings& settings, PlayEndHandler onEnd)
    : PcmDevice(std::make_unique<CdSource>(std::move(disc.cdio), disc.sectorCount, disc.tracks, disc.isImage), settings,
                std::move(onEnd)),
      devicePath_(std::move(disc.devicePath)),
      tracks_(std::move(disc.tracks)),
      door_(settings.driveDoor),
      canEject_(disc.canEject || settings.driveDoor != nullptr) {}

CdAudioDevice::~CdAudioDevice() = default;

std::vector<std::int64_t> CdAudioDevice::readTrackLengthsMs(const std::string& device) {
    const Disc disc = openDisc(device);
    std::vector<std::int64_t> lengths;
    lengths.reserve(disc.tracks.size());
    for (const CdTrack& track : disc.tracks) lengths.push_back(sectorsToMs(track.sectorCount));
    return lengths;
}

std::int64_t CdAudioDevice::trackPositionMs(int track) const {
    return sectorsToMs(tracks_.at(static_cast<std::size_t>(track - 1)).firstSector);
}

std::int64_t CdAudioDevice::trackLengthMs(int track) const {
    return sectorsToMs(tracks_.at(static_cast<std::size_t>(track - 1)).sectorCount);
}

bool CdAudioDevice::eject() {
    if (!canEject_) return false;
    player_.stop();
    if (door_ ? !door_->open(devicePath_) : cdio_eject_media_drive(devicePath_.c_str()) != DRIVER_OP_SUCCESS)
        return false;
    doorOpen_ = true;
    return true;
}

bool CdAudioDevice::closeDoor() {
    if (!canEject_) return false;
    driver_id_t driver = DRIVER_DEVICE;
    if (door_ ? !door_->close(devicePath_) : cdio_close_tray(devicePath_.c_str(), &driver) != DRIVER_OP_SUCCESS)
        return false;
    // The disc may be another one now: the player opens the device again to read it.
    doorOpen_ = false;
    return true;
}

}  // namespace vorlo::media
