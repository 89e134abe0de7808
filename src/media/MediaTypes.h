#pragma once
// The values the media device speaks in: device types, modes, completion reports, time formats.
// Their numbers are the ones the player stores and compares, so they are fixed.

namespace vorlo::media {

enum class DeviceType {
    AutoSelect,  // chosen by the file's extension
    Sequencer,   // MIDI files (.mid, .rmi, .kar)
    WaveAudio,   // .wav
    AVIVideo,    // .avi
    CDAudio,     // an audio CD; the file name is empty (or names the drive or a CUE image)
};

enum class Mode {
    NotReady = 0,
    Stopped = 1,
    Playing = 2,
    Recording = 3,
    Seeking = 4,
    Paused = 5,
    Open = 6,  // the CD drive's door is open
};

// The value of a completion report.
enum class NotifyValue {
    Successful = 0,  // the command ran to its end
    Superseded = 1,  // a newer command that reports took its place
    Aborted = 2,     // stopped, sought or closed before its end
    Failure = 3,     // the device failed while carrying it out
};

enum class TimeFormat {
    Milliseconds = 0,
    // Track, minute, second, frame packed into one number (track in the lowest byte); what a CD
    // audio device starts in.
    TMSF = 10,
};

// Error codes left by commands that fail without raising an exception.
enum class DeviceErrorCode {
    None = 0,
    NotOpen = 1,
    OutOfRange = 2,
    UnsupportedFormat = 3,
    CannotEject = 4,
    HardwareError = 5,
};

}  // namespace vorlo::media
