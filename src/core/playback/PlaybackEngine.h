#pragma once

#include "core/playback/PlayModes.h"
#include "core/playback/PlaySequence.h"
#include "core/playback/PositionDisplay.h"
#include "core/playback/PositionMath.h"
#include "core/playback/RandomGenerator.h"
#include "core/playback/TransportState.h"

#include "media/MIDIPlayer.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

namespace vorlo {

class Playlist;
class ZipSession;
struct ListFileNames;
struct Options;

// How "play entry N" was asked for.
enum class PlayRequest {
    // The user chose a line (double click, Enter, a One Touch click): ignored while the CD drive's door is open;
    // the entry plays when Auto is on and waits, ready, otherwise.
    UserChoice,
    // A file handed over by a second start, to be played now (the second-instance option): whatever plays is
    // stopped and the entry plays, Auto or not.
    HandOver,
};

// The player's transport: it turns the playlist's current entry into an open media device and plays it by the
// play modes. It opens entries (the MIDI reset before MIDI songs, dropping entries that cannot be played),
// receives the device's completion reports, runs Play, Pause, Stop, Next, Previous, Replay, the wait between
// songs, Eject and "Reset MIDI &Now!", and applies the playlist's changes to what is open (entries arrived,
// current entry removed, list cleared, sorted or closed). Its whole state is one TransportState, published by
// stateChanged; the position display (counter, track bar, seeking) is its part.
//
// User-interface thread only. Device errors of the commands (play on a device that failed) are thrown to the
// caller, whose error boundary hands them to the ErrorHandler; a report or timer of its own never throws.
class PlaybackEngine : public QObject {
    Q_OBJECT
public:
    PlaybackEngine(media::MIDIPlayer& device, Playlist& playlist, Options& options, PlayModes& modes,
                   const ListFileNames& listFiles, ZipSession& zip, QObject* parent = nullptr);
    ~PlaybackEngine() override;

    const TransportState& state() const { return state_; }
    PositionDisplay& position() { return position_; }
    media::MIDIPlayer& device() { return device_; }
    RandomGenerator& random() { return random_; }
    PlaySequence& sequence() { return sequence_; }
    const PlayModes& modes() const { return modes_; }

    // Start-up flags of the command line; both end with the first report of the device.
    void setStartFlags(bool playOnStart, bool closeAfterPlay);
    bool playOnStart() const { return playOnStart_; }
    bool closeAfterPlay() const { return closeAfterPlay_; }
    void clearCloseAfterPlay() { closeAfterPlay_ = false; }

    // Opening (never starts play). Returns true when a device is open afterwards. In zip mode each entry tried
    // is extracted first; members that cannot be extracted are dropped like entries that cannot be opened, and
    // the user is told why in one box. When nothing in the list can be played the list is closed
    // (closeListRequested) and the user is told.
    bool OpenCurrentEntry();
    // Plays a file through, waiting, without a report (the MIDI reset file).
    void PlayResetFile(const QString& path);

    // The device's completion report.
    void MIDIPlayerNotify(media::NotifyValue value);

    // The transport commands.
    void SpdBtnPlayClick();
    void SpdBtnPauseClick();
    void SpdBtnStopClick();
    void SpdBtnNextClick();
    void SpdBtnPrevClick();
    void PopReplayClick();
    void SpdEjectClick();
    void MIDIResetNowClick();

    // Plays the device and records that play is wanted.
    void StartPlay();
    void ShowStoppedButtons();
    void ShowPlayingButtons();
    // A play ended with Auto on (after any wait); with CurrentIndex -1 it starts the first entry it reaches.
    void EntryFinished();

    // "Play entry N", the one way an entry is chosen to be played.
    void playEntry(int index, PlayRequest how);

    // What the playlist's changes do to the transport.
    // Entries were added: with nothing open the first one is opened, and played with Auto on.
    void entriesArrived();
    // The current entry was removed (CurrentIndex already stands one before it): the next one is opened.
    void currentEntryRemoved(bool afterDeviceError);
    // The list was emptied by Clear List.
    void listCleared();
    // The list was sorted and entry 0 made current.
    void listSorted();
    // The list is being closed: nothing stays open and the counter and track bar rest.
    void listClosed();
    // The playlist becomes the one file named on the command line, opened and played as the modes say.
    void startWithFile(const QString& file);
    // Stops the device if it plays and closes it if it is open.
    void closeDevice();

    // Files renamed, moved or deleted under the player.
    // True when the media device has this file open.
    bool holdsFile(const QString& path) const;
    // Runs `operation` on the file at `path`, with the media device let go of it when it has that file open: the
    // position is remembered, play stopped and the device closed; afterwards the device opens the file where the
    // operation left it (the path it returns, or `path` again when it returns none: it failed), goes back to the
    // position and plays on if it was playing. Returns what `operation` returned. Throws the device's error when
    // the file cannot be opened again.
    std::optional<QString> releasingFile(const QString& path, const std::function<std::optional<QString>()>& operation);
    // The current entry's name changed: the caption and the application title show the new one.
    void currentEntryRenamed();
    // The current entry's file was deleted and its entry removed; the entry that followed it now stands at
    // `index`. That one is opened in its place, or the first entry when the deleted one was the last: the first
    // plays again with Loop on, any other with Auto on unless it is checked; otherwise it waits, ready.
    void replaceDeletedCurrent(int index, bool wasLast);

    // The wait between songs.
    void StartWait();
    enum class WaitEnd { ByTimer, ByStop, ByStep };
    void DgSecInTargetReach(WaitEnd how);
    bool waitCounting() const { return state_.wait == WaitPhase::Counting; }
    bool waiting() const { return state_.wait != WaitPhase::None; }
    // One second of the wait; the wait's timer calls it.
    void waitTick();
    bool waitTimerActive() const { return waitTimer_.isActive(); }

    // Mode commands: `byUser` toggles the mark first; otherwise only its state is shown.
    void AutoPlayClick(bool byUser);
    void LoopPlayClick(bool byUser);
    void RepeatPlayClick(bool byUser);
    void RandomPlayClick(bool byUser);
    void ShufflePlayClick(bool byUser);
    // Start-up: the modes as stored or given on the command line.
    void setModes(const PlayModes& modes);

    // Sets the window caption and the application title at once.
    void announce(const QString& caption);

    // Where the open entry lies on the device (the CD track, or the whole file).
    EntrySpan span() const;
    // The end position of the play that runs now (0 when none was set).
    std::int64_t playEndPosition() const { return playEndMs_; }
    // Stops the device the way a pause or a seek does, remembering where play would end.
    void stopKeepingEnd();
    int playlistCount() const;

signals:
    void stateChanged(const vorlo::TransportState& state);
    // The play modes changed.
    void modesChanged();
    // The window caption; the application title (also the tray icon's hint).
    void captionChanged(const QString& caption);
    void titleChanged(const QString& title);
    // The program is to end at once, asking nothing (the close-at-end option, a "/close" start).
    void closeRequested();
    // Nothing in the list can be played: the list is to be closed.
    void closeListRequested();

private:
    friend class PositionDisplay;

    // Brings the parts of the state that follow the device up to date and tells the listeners of any change.
    void publish();
    void rewindEntry();
    void stepToEntry(bool forward);
    void showOutputNotice();
    void applyEnd(std::int64_t endMs);
    void setTrackBarForEntry();
    void resetTrackBar();
    // The current entry left the list: the counter and the track bar are reset and the device closed. False
    // (after telling the listeners) when the list is empty now.
    bool letGoOfRemovedCurrent();
    // Drops the current entry after it failed to open and chooses the next; false when the program ends.
    bool removeUnplayable();
    // False when the advance ends the program (the close-at-end option).
    bool handleAdvance(PlaySequence::Advance advance);
    QString songCaptionOfCurrent() const;
    // In zip mode: extracts the current entry's member; false (with the reason added to `failures`) when it
    // cannot be.
    bool extractCurrentMember(QStringList& failures);
    // Ends a wait without the advance it would bring (something else was opened or the list went).
    void abandonWait();

    media::MIDIPlayer& device_;
    Playlist& playlist_;
    Options& options_;
    PlayModes& modes_;
    const ListFileNames& listFiles_;
    ZipSession& zip_;
    RandomGenerator random_;
    PlaySequence sequence_;
    TransportState state_;
    TransportState lastPublished_;
    PositionDisplay position_;
    QTimer waitTimer_;
    bool playOnStart_ = false;
    bool closeAfterPlay_ = false;
    std::int64_t playEndMs_ = 0;
    std::int64_t entryLengthMs_ = 0;
};

}  // namespace vorlo
