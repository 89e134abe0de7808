#pragma once
// What the media device needs to know from the player's settings. The caller fills it; empty
// fields fall back to the environment (VORLO_SOUNDFONT, VORLO_CD_DEVICE) and then to the system.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vorlo::audio {
class MidiPort;
}

namespace vorlo::media {

// Opens the MIDI port at "CLIENT:PORT"; nothing, with `error` set, when it cannot.
using MidiPortOpener = std::function<std::unique_ptr<audio::MidiPort>(const std::string& address, std::string& error)>;

enum class AudioMode {
    Device,       // the first audio driver that opens, else a silent real-time clock
    SilentClock,  // never open a driver: real-time pace, nothing heard
    Offline,      // no clock at all: audio is pulled with MIDIPlayer::renderOffline (tests, rendering)
};

// Opens and closes a CD drive's door. The drive's own, through libcdio, unless another stands in
// (the tests, which have no drive).
class DriveDoor {
public:
    virtual ~DriveDoor() = default;
    virtual bool open(const std::string& device) = 0;
    virtual bool close(const std::string& device) = 0;
};

struct MediaSettings {
    std::string soundFontPath;  // empty: $VORLO_SOUNDFONT, then the system's General MIDI soundfont
    // The synthesizer's gain (0 to 10); empty: the level that suits the soundfont. A limiter after it keeps any gain
    // from clipping.
    std::optional<double> synthGain;
    bool reverb = true;
    bool chorus = true;
    // A CD drive's device file or a CUE sheet of a disc image; empty: $VORLO_CD_DEVICE, then the
    // system's default drive.
    std::string cdDevice;
    // Empty: the audio output's own order.
    std::vector<std::string> audioDriverOrder;
    // The device the audio driver opens; empty: the driver's default.
    std::string audioDevice;
    // An external synthesizer: the ALSA sequencer port ("CLIENT:PORT") MIDI songs play on instead of the built-in
    // synthesizer; empty: the built-in one.
    std::string midiPort;
    // Empty: the ALSA sequencer's ports (tests open a recording port instead).
    MidiPortOpener midiPortOpener;
    AudioMode audioMode = AudioMode::Device;
    // Empty: the drive's own door, where the drive has one.
    std::shared_ptr<DriveDoor> driveDoor;
};

// Whether the synthesizer's part of two settings (soundfont, gain, reverb, chorus, audio output, MIDI port) is the
// same.
bool sameSynth(const MediaSettings& a, const MediaSettings& b);

// The CD device to use: the setting, else $VORLO_CD_DEVICE, else empty (the system's default).
std::string resolvedCdDevice(const MediaSettings& settings);

}  // namespace vorlo::media
