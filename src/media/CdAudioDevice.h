#pragma once
// Audio CDs through libcdio: a drive, or a CUE/BIN image standing in for one. Positions are on
// the whole disc; the drive's door opens and closes where the drive can do it.
#include <string>
#include <vector>

#include "media/PcmPlayer.h"

typedef struct _CdIo CdIo_t;

namespace vorlo::media {

struct CdTrack {
    std::int64_t firstSector = 0;
    std::int64_t sectorCount = 0;
    bool audio = true;
};

class CdAudioDevice final : public PcmDevice {
public:
    // `device`: a drive's device file, a CUE sheet, or empty for the system's default drive.
    // Throws EMCIDeviceError when there is no drive, no disc or no audio on it.
    CdAudioDevice(const std::string& device, const MediaSettings& settings, PlayEndHandler onEnd);
    ~CdAudioDevice() override;

    // The lengths of the disc's tracks in milliseconds, as trackLengthMs gives them, read from the table of
    // contents alone (no audio output is opened). Throws EMCIDeviceError as the constructor does. Any thread.
    static std::vector<std::int64_t> readTrackLengthsMs(const std::string& device);

    int trackCount() const override { return static_cast<int>(tracks_.size()); }
    std::int64_t trackPositionMs(int track) const override;
    std::int64_t trackLengthMs(int track) const override;

    bool canEject() const override { return canEject_; }
    bool isDoorOpen() const override { return doorOpen_; }
    bool eject() override;
    bool closeDoor() override;

private:
    struct Disc;
    CdAudioDevice(Disc disc, const MediaSettings& settings, PlayEndHandler onEnd);
    static Disc openDisc(const std::string& device);

    std::string devicePath_;
    std::vector<CdTrack> tracks_;
    std::shared_ptr<DriveDoor> door_;
    bool canEject_ = false;
    bool doorOpen_ = false;
};

}  // namespace vorlo::media
