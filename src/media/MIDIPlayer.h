#pragma once
// The player's one media device. Every sound and picture goes through it: open a medium, play it
// (from and to a position, waiting or not), stop, seek, eject, and ask for mode, position, length
// and tracks. Completion reports arrive as OnNotify on the thread that owns this object (the
// user-interface thread), queued, each report at most once per command that asked for one.
//
// Usable without widgets. Video plays only where the program installed a video back end (media/VideoBackend.h),
// and needs a QApplication for its window (without one a video plays with no picture). A program without a user
// interface of its own plays a file through:
//   QEventLoop loop;
//   QObject::connect(&player, &MIDIPlayer::OnNotify, &loop, [&](NotifyValue value) { ...; loop.quit(); });
//   player.setDeviceType(MIDIPlayer::deviceTypeForPath(path));
//   player.setFileName(path);
//   player.open();                                    // throws EMCIDeviceError with the reason
//   player.setTimeFormat(TimeFormat::Milliseconds);   // a CD opens in TMSF
//   player.setStartPos(fromMs); player.setEndPos(toMs);  // when wanted
//   player.play();
//   loop.exec();
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

#include "media/MediaBackend.h"
#include "media/MediaSettings.h"
#include "media/MediaTypes.h"
#include "media/SynthHost.h"

namespace vorlo::media {

class MIDIPlayer : public QObject {
    Q_OBJECT

public:
    explicit MIDIPlayer(MediaSettings settings = {}, QObject* parent = nullptr);
    ~MIDIPlayer() override;

    // The device type the player sets for a path: CD audio for ".cda", the sequencer for ".kar",
    // automatic selection for everything else (compared in lower case).
    static DeviceType deviceTypeForPath(const QString& path);
    // True for a file that automatic selection opens with the video back end (".avi", in any case).
    static bool isVideoFile(const QString& path);

    // The settings the player was made with (the CD drive, the audio output).
    const MediaSettings& settings() const { return settings_; }

    // What the next Open opens.
    void setDeviceType(DeviceType type) { deviceType_ = type; }
    DeviceType deviceType() const { return deviceType_; }
    void setFileName(const QString& fileName) { fileName_ = fileName; }
    QString fileName() const { return fileName_; }

    // One-shot settings: they apply to the next command (open, close, play, stop, seek, rewind,
    // eject, close door, set time format) and are then forgotten; queries leave them alone.
    // Unset, a play runs asynchronously and reports its completion; every other command waits
    // and reports nothing.
    void setStartPos(std::int64_t position);
    void setEndPos(std::int64_t position);
    void setWait(bool wait);
    void setNotify(bool notify);

    // Closes first when a device is open. Throws EMCIDeviceError with the reason when the medium
    // cannot be opened (the device is closed then).
    void open();
    void close();
    bool isOpen() const { return backend_ != nullptr; }
    // The commands below throw EMCIDeviceError "No MCI device open" when no device is open.
    void play();
    void stop();
    void seek(std::int64_t position);
    void rewind();
    // Opens the CD drive's door; does nothing on a device that cannot eject.
    void eject();
    bool canEject() const;
    // Does not throw: a closed device only leaves an error code.
    void closeDoor();
    void setTimeFormat(TimeFormat format);

    // Do not throw: a closed device gives NotReady and 0.
    Mode mode() const;
    std::int64_t position() const;
    std::int64_t trackPosition(int track) const;
    // Throw "No MCI device open" when no device is open.
    TimeFormat timeFormat() const;
    std::int64_t length() const;
    int trackCount() const;
    std::int64_t trackLength(int track) const;

    // The error left by the last command that failed without throwing.
    DeviceErrorCode lastError() const { return lastError_; }
    QString lastErrorMessage() const;

    // Offline audio only (AudioMode::Offline): renders the next `frames` frames of the open medium
    // into `left` and `right`; false when nothing rendered (no device open, not offline).
    bool renderOffline(float* left, float* right, std::size_t frames);
    // The audio output's notice (no sound device, playing silently): handed out once a run, whichever medium (MIDI,
    // wave, CD) met the missing output first; empty ever after, however many media find the output missing again.
    QString takeOutputNotice();
    // Why the last play reported as failed did (an external synthesizer that went away), once; empty when the device
    // could not tell or nothing failed since.
    QString takeFailureMessage();
    // The synthesizer the sequencer plays on, for the MIDI output.
    SynthHost& synthHost() { return synthHost_; }
    // Starts loading the synthesizer and its soundfont in the background, so that the first MIDI file opens
    // without waiting for it (a program calls this at its start). Opening a MIDI file before it is done waits
    // for it and fails, as ever, with the reason when the soundfont cannot be loaded.
    void preloadSynth() { synthHost_.preload(); }
    // Takes the synthesizer's part of `wanted` (soundfont, gain, reverb, chorus, audio driver and device; the rest
    // stays as the device was made) while the player runs. Gain and effects change in place; another soundfont or
    // output makes the synthesizer anew, and a MIDI song that is open is opened again on it at the same position,
    // playing on when it played, to the same end, its report still to come as that play's. Throws EMCIDeviceError
    // when the new synthesizer cannot start: the settings before are back in force then, the song goes on.
    void applySynthSettings(const MediaSettings& wanted);

signals:
    void OnNotify(vorlo::media::NotifyValue value);

private:
    struct OneShot {
        bool hasStart = false;
        bool hasEnd = false;
        std::int64_t start = 0;
        std::int64_t end = 0;
        bool wait = false;
        bool hasWait = false;
        bool notify = false;
        bool hasNotify = false;
    };
    // The command that may still report: a play (or any command that asked for a report).
    struct PendingPlay {
        std::uint64_t generation = 0;
        std::uint64_t token = 0;
        bool notify = false;
        std::int64_t toMs = 0;  // where the play ends
    };

    std::unique_ptr<MediaBackend> openBackend(DeviceType type, const std::string& path);
    PlayEndHandler endHandler();
    void onPlayEnded(std::uint64_t generation, std::uint64_t token, bool failed);
    void requireOpen() const;
    // Ends the pending play, if any, with `value` (aborted or superseded).
    void cutPending(NotifyValue value);
    // Clears the one-shot settings and, when the command asked for a report, posts it.
    void finishCommand(const OneShot& settings, NotifyValue value = NotifyValue::Successful);
    OneShot takeOneShot();
    void postReport(NotifyValue value);
    void setError(DeviceErrorCode code) const { lastError_ = code; }
    std::int64_t toMs(std::int64_t position) const;
    std::int64_t fromMs(std::int64_t ms, bool isLength) const;

    SynthHost synthHost_;
    MediaSettings settings_;
    DeviceType deviceType_ = DeviceType::AutoSelect;
    DeviceType openType_ = DeviceType::AutoSelect;
    QString fileName_;
    std::string openPath_;  // what the back end opened
    OneShot oneShot_;
    std::unique_ptr<MediaBackend> backend_;
    std::uint64_t generation_ = 0;  // changes with every open and close
    bool outputNoticeGiven_ = false;
    std::string failureMessage_;
    PendingPlay pending_;
    bool hasPending_ = false;
    TimeFormat timeFormat_ = TimeFormat::Milliseconds;
    mutable DeviceErrorCode lastError_ = DeviceErrorCode::None;
};

}  // namespace vorlo::media
