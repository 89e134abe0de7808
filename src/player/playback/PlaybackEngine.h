#pragma once

#include "core/playback/PlayModes.h"
#include "core/playback/PlaySequence.h"
#include "core/playback/PositionMath.h"
#include "core/playback/RandomGenerator.h"

#include "media/MIDIPlayer.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

namespace vorlo {

class PlaylistPanel;
class PositionDisplay;
struct Options;
struct PlayerControls;
class TDigitBox;

// What the engine needs from the main window.
struct PlaybackHooks {
    std::function<void(const QString&)> setCaption;  // the window caption
    std::function<void(const QString&)> setTitle;    // the application title and the tray icon's hint
    std::function<QString()> listFileName;           // the playlist's own file, "*.mpl" when it has none
    std::function<void()> closeList;                 // closes the list (nothing in it could be played)
    std::function<void()> terminate;                 // ends the program at once, asking nothing
    std::function<void(bool playing)> trayPlaying;   // the tray icon's image
    std::function<bool()> windowVisible;
};

// Turns the current playlist entry into an open media device and runs the transport: opening with the MIDI
// reset before MIDI songs, dropping entries that cannot be played, the device's completion reports, Play, Pause,
// Stop, Next, Previous, the wait between songs, the play modes, "Reset MIDI &Now!" and Eject.
class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    PlaybackEngine(media::MIDIPlayer& device, PlaylistPanel& panel, Options& options, PlayModes& modes,
                   PlayerControls& controls, PlaybackHooks hooks, QObject* parent = nullptr);
    ~PlaybackEngine() override;

    void setPositionDisplay(PositionDisplay* display) { position_ = display; }
    RandomGenerator& random() { return random_; }
    media::MIDIPlayer& device() { return device_; }
    PlaySequence& sequence() { return sequence_; }

    // Start-up flags of the command line; both end with the first report of the device.
    void setStartFlags(bool playOnStart, bool closeAfterPlay);
    bool playOnStart() const { return playOnStart_; }
    bool closeAfterPlay() const { return closeAfterPlay_; }
    void clearCloseAfterPlay() { closeAfterPlay_ = false; }

    // Opening (never starts play). Returns true when a device is open afterwards.
    bool OpenCurrentEntry();
    void PlayResetFile(const QString& path);

    // The device's completion report.
    void MIDIPlayerNotify(media::NotifyValue value);

    // Transport.
    void SpdBtnPlayClick();
    void SpdBtnPauseClick();
    void SpdBtnStopClick();
    void SpdBtnNextClick();
    void SpdBtnPrevClick();
    void PopReplayClick();
    void GotoCurrent1Click();
    void StartPlay();
    void ShowStoppedButtons();
    void ShowPlayingButtons();
    // A play ended with Auto on (after any wait); with CurrentIndex -1 it starts the first entry.
    void EntryFinished();
    // Plays entry `index` from its start now, whatever plays (a double click, a handed-over file).
    void playEntry(int index);

    // The wait between songs.
    void StartWait();
    bool waitCounting() const;
    enum class WaitEnd { ByTimer, ByStop, ByStep };
    void DgSecInTargetReach(WaitEnd how);

    // Mode commands: `byUser` toggles the mark first; otherwise only its state is shown.
    void AutoPlayClick(bool byUser);
    void LoopPlayClick(bool byUser);
    void RepeatPlayClick(bool byUser);
    void RandomPlayClick(bool byUser);
    void ShufflePlayClick(bool byUser);
    // Shows every mode's label colour and the Next/Previous hints.
    void showModes();

    void MIDIResetNowClick();
    void SpdEjectClick();

    // Where the open entry lies on the device (the CD track, or the whole file).
    EntrySpan span() const;
    bool isCdAudio() const { return cdAudio_; }
    int cdTrack() const { return cdTrack_; }
    std::int64_t savedEndPosition() const { return savedEndMs_; }
    void setSavedEndPosition(std::int64_t ms) { savedEndMs_ = ms; }
    // The end position of the play that runs now (0 when none was set).
    std::int64_t playEndPosition() const { return playEndMs_; }
    // Stops the device the way a pause or a seek does, remembering where play would end.
    void stopKeepingEnd();
    bool playWanted() const;  // Play is disabled: the player wants the device playing
    int playlistCount() const;

signals:
    // The list of modes or the mode marks changed (menus follow).
    void modesChanged();
    void resetMenuCaption(const QString& caption);

private:
    void rewindEntry();
    void stepToEntry(bool forward);
    void showOutputNotice();
    void applyEnd(std::int64_t endMs);
    void setTrackBarForEntry();
    // Drops the current entry after it failed to open and chooses the next; false when the program ends.
    bool removeUnplayable();
    // False when the advance ends the program (the close-at-end option).
    bool handleAdvance(PlaySequence::Advance advance);
    void setHints();

    media::MIDIPlayer& device_;
    PlaylistPanel& panel_;
    Options& options_;
    PlayModes& modes_;
    PlayerControls& ui_;
    PlaybackHooks hooks_;
    RandomGenerator random_;
    PlaySequence sequence_;
    PositionDisplay* position_ = nullptr;
    bool playOnStart_ = false;
    bool closeAfterPlay_ = false;
    bool cdAudio_ = false;
    int cdTrack_ = 1;
    std::int64_t savedEndMs_ = 0;
    std::int64_t playEndMs_ = 0;
    std::int64_t entryLengthMs_ = 0;
    bool waitConnected_ = false;
};

}  // namespace vorlo
